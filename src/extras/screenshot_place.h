#pragma once
#include <ctime>
#include <string>
#include <string_view>

namespace kavorind {
// Where F12 puts its pictures and what it names them.

// What the folder is found from: the environment as it is (null for a variable that is not set)
// and the text of user-dirs.dirs ("" when there is none).
struct ScreenshotEnvironment {
    const char* picturesDir = nullptr; // XDG_PICTURES_DIR
    const char* configHome = nullptr;  // XDG_CONFIG_HOME
    const char* dataHome = nullptr;    // XDG_DATA_HOME
    const char* home = nullptr;        // HOME
    std::string userDirsText;
    std::string userFolder; // the system's folder for the player's files (Windows), else empty
};

// The file of the player's folder names: $XDG_CONFIG_HOME/user-dirs.dirs (an absolute path only),
// else ~/.config/user-dirs.dirs; "" when neither leads anywhere.
std::string userDirsPath(const char* configHome, const char* home);
// The pictures folder that a user-dirs.dirs text names (its last XDG_PICTURES_DIR line, as the
// shell that sources it would take), with $HOME put in: only "$HOME/..." and absolute paths
// mean a folder; "" for anything else, and for $HOME itself, which the file uses for "none".
std::string picturesFolderFromUserDirs(std::string_view text, const char* home);
// The system's folder for the player's files with screenshots/ under it, where there is one
// (Windows); else XDG_PICTURES_DIR from the environment (when it means a folder), else from
// user-dirs.dirs, with kavorind/ under it; else
// $XDG_DATA_HOME/kavorind/screenshots (the player's data folder); "" when nothing leads anywhere.
std::string screenshotFolder(const ScreenshotEnvironment& environment);
// The environment of this program, user-dirs.dirs read from the disk.
ScreenshotEnvironment screenshotEnvironmentNow();

// "kavorind-20260314-093005-t1234.png" for the first try, then "...-t1234-2.png", "-3" ...
std::string screenshotFileName(const std::tm& localTime, int tick, int attempt);

} // namespace kavorind
