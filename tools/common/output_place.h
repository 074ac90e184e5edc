#pragma once
// Checks that the tools make before they run, so that an output that could never be written is
// refused at once rather than after a long run.
#include <string>

namespace kavorind {

// 1 when the name ends in the extension of a file the game reads (.bmp, .pal, .spr, .map, .wav,
// in any case).
int isContentFileName(const std::string& name);
// 1 when a file could be written at path now: the place takes a new file (the folder exists and
// may be written) and anything already there may be replaced. Nothing is left behind; 0 with the
// reason in *why.
int outputTakesFile(const std::string& path, std::string* why);
// Makes folder and its parents when missing and checks that it takes new files; 0 with the
// reason in *why ("is not a folder", the system's reason).
int makeOutputFolder(const std::string& folder, std::string* why);
// 1 when path is a file in the content folder that the game reads (a picture, palette, sprite
// set, map or sound): an output written there would replace the content.
int isContentFile(const std::string& contentFolder, const std::string& path);
// The path made absolute, so that it names the same place after the tool changes folder; as given
// when the current folder cannot be told (it was removed).
std::string absoluteOutput(const std::string& path);
// The folder that holds path ("." for a bare name).
std::string folderHolding(const std::string& path);

} // namespace kavorind
