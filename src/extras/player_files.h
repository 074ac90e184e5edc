#pragma once
#include <string>

namespace kavorind {

// The folder of the player's own files (scores, replays): $XDG_DATA_HOME/kavorind when that is an
// absolute path, else $HOME/.local/share/kavorind; empty when neither variable leads anywhere.
std::string playerDataFolder(const char* dataHome, const char* home);
std::string scoresFilePath(const std::string& folder);
std::string replaysFolderPath(const std::string& folder);

// Makes the folder and its replays folder, parents too, each one it makes readable by the player
// alone. 0 with the reason in *why, naming the path, when one cannot be made or something that is
// not a folder stands in the way.
int makePlayerFolders(const std::string& folder, std::string* why);

// The longest name the table keeps, in characters (UTF-8 code points).
constexpr int playerNameLength = 16;
// The player's name as the table keeps it: the setting, else the login name, else "PLAYER";
// control characters and bytes that are not UTF-8 dropped, spaces at the ends trimmed, cut to
// playerNameLength characters, and "PLAYER" when nothing is left.
std::string playerNameFrom(const std::string& setting, const char* loginName);
// 1 when a name is one that playerNameFrom could have made: what the table reads back.
int isCleanPlayerName(const std::string& name);

} // namespace kavorind
