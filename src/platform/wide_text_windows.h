#pragma once
// UTF-8, the game's own encoding for text and paths, to and from the UTF-16 of Windows' wide
// calls, so that a path with letters outside ASCII (a user's own name) reaches the disk as it is.
#include <string>

namespace kavorind {

std::wstring wideFromUtf8(const std::string& text);
// A path as the program holds it (narrow, in the form the command line and std::filesystem give)
// in the wide form that std::filesystem makes of it too, so that the files opened here are the ones
// the rest of the program looks at. The folders the system names for the program (its own, the
// player's) reach it in their short, ASCII form where their names have other letters.
std::wstring widePath(const std::string& path);
std::string utf8FromWide(const wchar_t* text);
// The system's own words for an error code (GetLastError), in UTF-8, without the line break.
std::string windowsErrorText(unsigned long error);

} // namespace kavorind
