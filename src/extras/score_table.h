#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// One run kept in the table. Stages are counted as the player counts them (1 to 3).
struct ScoreEntry {
    std::string content; // the content fingerprint: 16 lower-case hex digits
    int32_t score = 0;
    int stage = 1;
    int cleared = 0;  // 1 when the last stage was cleared
    std::string date; // UTC, YYYY-MM-DDTHH:MM:SSZ
    std::string name;
    int64_t ticks = 0;
    std::string replay; // a file in the replays folder, or "-" for none
};

// The whole file: the entries of every content set, and how reading it went.
struct ScoreTable {
    int version = 1;
    std::vector<ScoreEntry> entries;
    std::vector<std::string> problems; // "scores.txt:LINE: why", or why the file was not read
    int damaged = 0;      // something in the file could not be taken: keep the file before saving
    int newerVersion = 0; // written by a newer game: read nothing, never write over it
    int missing = 0;      // there was no file yet
};

// How many entries each content set keeps.
constexpr int scoreTableLength = 10;
// The largest scores file read: hundreds of times what ten entries for many content sets take.
constexpr uint64_t scoreFileLimit = uint64_t{1} << 20;

// Reads the text of scores.txt leniently: a line it cannot take is named in problems and skipped,
// the good lines are kept. A file of a newer version gives no entries.
ScoreTable parseScoreTable(const std::string& text);
// The text of scores.txt for the table.
std::string scoreTableText(const ScoreTable& table);
// The entries of one content set, best first; of equal scores the earlier date first.
std::vector<ScoreEntry> tableFor(const ScoreTable& table, const std::string& content);
// The rank (1 to scoreTableLength) the entry would take among its content's entries, an older
// entry of the same score staying ahead; 0 when it would not make the table.
int rankInTable(const ScoreTable& table, const ScoreEntry& entry);
// Adds the entry when it makes its content's table and removes the entries it pushes out,
// returning them in *dropped. Its rank, or 0 when it does not make the table (nothing changes).
// Other content sets' entries are never touched.
int placeInTable(ScoreTable* table, const ScoreEntry& entry, std::vector<ScoreEntry>* dropped);

// Reads scores.txt; never fails: a missing file is an empty table, a file that cannot be read is a
// damaged empty one with the reason in problems.
ScoreTable loadScoreTable(const std::string& path);
// Writes the table over scores.txt, whole or not at all. Refused when the file belongs to a newer
// game, or was read damaged and cannot first be kept beside itself as scores.txt.bad (.bad.1,
// ...). 0 with the reason in *why.
int saveScoreTable(const std::string& path, const ScoreTable& table, std::string* why);
// What `kavorind --scores` prints: the content's table, one aligned line an entry, then how many
// entries other content sets hold, then the problems met reading the file.
std::string scoreTableReport(const ScoreTable& table, const std::string& content);

} // namespace kavorind
