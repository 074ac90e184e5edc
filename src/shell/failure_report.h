#pragma once
#include <string>
#include <vector>

namespace kavorind {

struct ContentFailure;

// What the player can do about missing or damaged content, ending every such line.
constexpr const char* contentAdvice =
    "Run \"kavorind-content DIR\" to write the default content to DIR, or pass --data DIR.";

// The one English line that follows the Korean message: the file, the folder and what to do.
std::string contentFailureLine(const ContentFailure& failure, const std::string& folder);
// The line for a search that found no content folder, naming every folder it looked in.
std::string noContentFolderLine(const std::vector<std::string>& searched);

// Without a display SDL falls back by itself to a driver that shows nothing; the game would then
// play unseen until killed, so it stops with this line instead.
constexpr const char* noDisplayLine =
    "Kavorind: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY leads to one). "
    "Start the game from a desktop session; to run it unseen on purpose, set "
    "SDL_VIDEODRIVER=dummy.";

// The text of the failure box: the English line first (what went wrong and what to do, for a player
// who reads no Korean and started the game without a terminal), then the game's Korean text.
std::string failureBoxText(const char* text, const std::string& englishLine);
// Shows a failure in a message box (failureBoxText) and on stderr: the Korean text, then the
// English line (if any).
void reportFailure(const char* text, const std::string& englishLine);
// The start-up failure: the Korean text, then the content file that stopped it, named with the
// working directory it was looked for in (or a plain line when no file was at fault).
void reportContentFailure();
// A failure once the game runs (a scene that cannot start, a frame that cannot be drawn): the
// content file to blame as at start-up, or a plain line when none was noted.
void reportGoingOnFailure();

} // namespace kavorind
