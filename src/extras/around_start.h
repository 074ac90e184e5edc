#pragma once
#include "extras/around_game.h"
#include "shell/config_file.h"
#include "shell/options.h"
#include "shell/run_start.h"

#include <string>

namespace kavorind {
// How the command line and the settings start what goes around the classic game.

// What --help adds after the options: the keys as shipped and where the settings that change
// them are kept.
std::string keysHelpText(const std::string& settingsFile);

// The name for the score table from the `name` setting, the login name when it is empty.
std::string playerNameFor(const std::string& setting);
// The player's folder for scores and replays, from the environment ("" when there is none).
std::string playerFolderFromEnvironment();

// --scores: the table of the content with this fingerprint on standard output, the problems with
// the file on standard error; the exit code (1 when there is no folder for the scores).
int printScores(const std::string& fingerprint);

// A replay to watch: the file it is in, where it starts, and what is odd about it.
struct WatchPlan {
    std::string file;
    int startsInGame = 0; // the replay names its start: the game begins there, not at the logo
    RunStart start;
    std::string note; // shown beside the replay's mark: "OTHER CONTENT", "VERSION 0.1.0"
};
// Finds --watch's replay (a place in the table, "last" or a file) and reads its header. A replay
// of other content or another version is said on stderr and played anyway. 0 with the reason in
// *error when there is no such replay or it cannot be read.
int planWatch(const std::string& which, const std::string& fingerprint, WatchPlan* plan,
              std::string* error);

// The additions' setup for this game, from the settings and the command line.
AroundGameSetup aroundGameSetupFor(const GameSettings& settings, const GameOptions& options,
                                   const std::string& fingerprint, const WatchPlan& watch);
// Whether the additions run at all: not with classic = yes, and not in a timedemo, which measures
// the classic game alone.
int aroundGameWanted(const GameSettings& settings, const GameOptions& options);

} // namespace kavorind
