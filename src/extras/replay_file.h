#pragma once
#include "extras/score_table.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// What a replay says about its run, in the comments at its top. The key lines below them are an
// ordinary key script, so the headless runner and the game play a replay as they play any script.
struct ReplayHeader {
    std::string version; // of the game that recorded it
    std::string content; // the content fingerprint
    std::string date;    // UTC, YYYY-MM-DDTHH:MM:SSZ
    int32_t score = -1;  // -1 when not said
    std::string options; // where the run started: runStartOptions' text
};

// The whole replay: "# Kavorind replay", the header's lines (those it has), then the key lines.
std::string replayFileText(const ReplayHeader& header, const std::string& keyLines);
// Reads the header from the comments a replay starts with; what is missing stays empty (-1 for the
// score). 1 when the text is a replay.
int readReplayHeader(const std::string& text, ReplayHeader* out);
// A name for a kept replay from its run's date and score: "20261209-142554-12345.keys".
std::string replayFileName(const std::string& date, int32_t score);
// 1 for a name the table may give a replay: a plain file name in the replays folder (no '/' or
// '\\', not "." or ".."), ending in .keys.
int isPlainReplayName(const std::string& name);

// The replay kept whatever the run made: the last run's, written over each time.
constexpr const char* lastReplayName = "last.keys";

// A run that has ended, as the game hands it over to be kept.
struct RunOutcome {
    ScoreEntry entry;       // its replay name is chosen when it is kept
    std::string replayText; // replayFileText's text
    int practice = 0;       // a practice run is replayable but never enters the table
};

struct KeptRun {
    int rank = 0;           // its place in the table, 0 when it did not make it
    std::string replayPath; // where its replay was kept
    std::vector<std::string> problems;
};

// Keeps a run that has ended: makes the player's folders, writes its replay as last.keys and,
// unless it was practice, places it in the table; when it ranks, its replay is kept under a name
// of its own, the table is saved, and the replays of the entries it pushed out are removed (only
// plain names in the replays folder, never last.keys). Never fails outright: what went wrong is
// told in out->problems. 1 when everything it meant to write was written.
int keepRun(const std::string& folder, const RunOutcome& outcome, KeptRun* out);

// The replay file that `--watch which` plays: "last" the last run's, "1" to "10" that entry of the
// content's table, anything else a path as given. Empty with the reason in *why when the table has
// no such entry or the entry has no replay.
std::string replayPathForWatch(const std::string& folder, const std::string& which,
                               const ScoreTable& table, const std::string& content,
                               std::string* why);

} // namespace kavorind
