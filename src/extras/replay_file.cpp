#include "extras/replay_file.h"

#include "extras/player_files.h"
#include "platform/file_io.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

const char* const replayMark = "# Kavorind replay";
// Enough tries for every run of one second to find a free name.
constexpr int replayNameTries = 100;

// A header value on one line: a line break in it would start a key line of its own.
std::string oneLine(const std::string& value) {
    std::string line;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            line += c;
    return line;
}

int parseScore(std::string_view text, int32_t* out) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    int64_t value = std::stoll(std::string(text));
    if (value > INT32_MAX)
        return 0;
    *out = static_cast<int32_t>(value);
    return 1;
}

// Takes one "# key: value" line of the header; the first of each key counts.
void takeHeaderLine(std::string_view line, ReplayHeader* out, int* seen) {
    static const char* const keys[] = {"version", "content", "date", "score", "options"};
    for (int index = 0; index < 5; ++index) {
        std::string prefix = std::string("# ") + keys[index] + ":";
        if (line.substr(0, prefix.size()) != prefix || seen[index])
            continue;
        std::string_view value = line.substr(prefix.size());
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        seen[index] = 1;
        std::string text(value);
        if (index == 0)
            out->version = text;
        else if (index == 1)
            out->content = text;
        else if (index == 2)
            out->date = text;
        else if (index == 3 && !parseScore(value, &out->score))
            out->score = -1;
        else if (index == 4)
            out->options = text;
    }
}

int namedByTable(const ScoreTable& table, const std::string& name) {
    return std::any_of(table.entries.begin(), table.entries.end(),
                       [&](const ScoreEntry& entry) { return entry.replay == name; });
}

int nothingAt(const std::string& path) {
    std::error_code problem;
    return fs::symlink_status(path, problem).type() == fs::file_type::not_found;
}

// A name for the run's replay that no file and no entry has yet.
std::string freeReplayName(const std::string& replays, const ScoreEntry& entry,
                           const ScoreTable& table) {
    std::string base = replayFileName(entry.date, entry.score);
    std::string stem = base.substr(0, base.size() - 5);
    for (int number = 1; number <= replayNameTries; ++number) {
        std::string name = number == 1 ? base : stem + "-" + std::to_string(number) + ".keys";
        if (!namedByTable(table, name) && nothingAt(replays + "/" + name))
            return name;
    }
    return "";
}

// Removes the replays of entries pushed out of the table, unless another entry still names one.
// Only files (or links) directly in the replays folder, never the last run's.
void removeDroppedReplays(const std::string& replays, const std::vector<ScoreEntry>& dropped,
                          const ScoreTable& table, std::vector<std::string>* problems) {
    for (const ScoreEntry& entry : dropped) {
        const std::string& name = entry.replay;
        if (!isPlainReplayName(name) || name == lastReplayName || namedByTable(table, name))
            continue;
        std::string path = replays + "/" + name;
        std::error_code problem;
        fs::file_type kind = fs::symlink_status(path, problem).type();
        if (kind != fs::file_type::regular && kind != fs::file_type::symlink)
            continue;
        if (!fs::remove(path, problem) && problem)
            problems->push_back("cannot remove " + path +
                                ", whose entry left the table: " + problem.message());
    }
}

// Writes the ranked run's replay under a name of its own and saves the table with it; the entry
// keeps no replay when that file cannot be written. 1 when both were written.
int keepRankedRun(const std::string& folder, const RunOutcome& outcome, ScoreTable* table,
                  KeptRun* out) {
    const std::string replays = replaysFolderPath(folder);
    ScoreEntry entry = outcome.entry;
    entry.replay = freeReplayName(replays, entry, *table);
    std::string why;
    int replayKept =
        !entry.replay.empty() &&
        writeFileSafely(replays + "/" + entry.replay, outcome.replayText, FileDurable, &why);
    if (!replayKept) {
        out->problems.push_back("cannot keep the replay of the run in " + replays + ": " +
                                (why.empty() ? "every name for it is taken" : why));
        entry.replay = "-";
    }
    std::vector<ScoreEntry> dropped;
    out->rank = placeInTable(table, entry, &dropped);
    if (!saveScoreTable(scoresFilePath(folder), *table, &why)) {
        out->problems.push_back("the score is not kept: " + why);
        out->rank = 0;
        std::error_code ignored;
        if (replayKept)
            fs::remove(replays + "/" + entry.replay, ignored);
        return 0;
    }
    if (replayKept)
        out->replayPath = replays + "/" + entry.replay;
    removeDroppedReplays(replays, dropped, *table, &out->problems);
    return replayKept;
}

} // namespace

std::string replayFileText(const ReplayHeader& header, const std::string& keyLines) {
    std::string text = std::string(replayMark) + "\n";
    auto line = [&](const char* key, const std::string& value) {
        if (!value.empty())
            text += std::string("# ") + key + ": " + oneLine(value) + "\n";
    };
    line("version", header.version);
    line("content", header.content);
    line("date", header.date);
    line("score", header.score >= 0 ? std::to_string(header.score) : "");
    line("options", header.options);
    return text + keyLines;
}

int readReplayHeader(const std::string& text, ReplayHeader* out) {
    *out = ReplayHeader{};
    int isReplay = 0;
    int seen[5] = {};
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line[0] != '#')
            break; // the key lines begin: the header is over
        if (line == replayMark)
            isReplay = 1;
        else
            takeHeaderLine(line, out, seen);
    }
    return isReplay;
}

std::string replayFileName(const std::string& date, int32_t score) {
    std::string digits;
    for (char c : date)
        if (c >= '0' && c <= '9')
            digits += c;
    std::string stamp = digits.size() == 14 ? digits.substr(0, 8) + "-" + digits.substr(8) : "run";
    return stamp + "-" + std::to_string(std::max(score, int32_t{0})) + ".keys";
}

int isPlainReplayName(const std::string& name) {
    const std::string ending = ".keys";
    if (name.size() <= ending.size() || name.size() > 255 ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0)
        return 0;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

int keepRun(const std::string& folder, const RunOutcome& outcome, KeptRun* out) {
    *out = KeptRun{};
    std::string why;
    if (!makePlayerFolders(folder, &why)) {
        out->problems.push_back("the run is not kept: " + why);
        return 0;
    }
    const std::string last = replaysFolderPath(folder) + "/" + lastReplayName;
    int written = writeFileSafely(last, outcome.replayText, FileDurable, &why);
    if (written)
        out->replayPath = last;
    else
        out->problems.push_back("cannot write " + last + ": " + why);
    if (outcome.practice)
        return written;
    ScoreTable table = loadScoreTable(scoresFilePath(folder));
    out->problems.insert(out->problems.end(), table.problems.begin(), table.problems.end());
    if (table.newerVersion)
        return 0;
    if (rankInTable(table, outcome.entry) == 0)
        return written;
    return keepRankedRun(folder, outcome, &table, out) && written;
}

std::string replayPathForWatch(const std::string& folder, const std::string& which,
                               const ScoreTable& table, const std::string& content,
                               std::string* why) {
    int isNumber =
        !which.empty() && which.size() <= 4 &&
        std::all_of(which.begin(), which.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (which != "last" && !isNumber)
        return which;
    if (folder.empty()) {
        *why = "there is no folder for the player's files: neither XDG_DATA_HOME nor HOME is set";
        return "";
    }
    if (which == "last")
        return replaysFolderPath(folder) + "/" + lastReplayName;
    if (table.newerVersion) {
        *why = "the score table belongs to a newer version of Kavorind";
        return "";
    }
    std::vector<ScoreEntry> entries = tableFor(table, content);
    size_t number = static_cast<size_t>(std::stoi(which));
    if (number < 1 || number > entries.size() || number > scoreTableLength) {
        *why = "there is no entry " + which + " in the table for this content";
        return "";
    }
    const ScoreEntry& entry = entries[number - 1];
    if (entry.replay == "-") {
        *why = "entry " + which + " of the table has no replay";
        return "";
    }
    return replaysFolderPath(folder) + "/" + entry.replay;
}

} // namespace kavorind
