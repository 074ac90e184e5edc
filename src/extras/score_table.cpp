#include "extras/score_table.h"

#include "extras/player_files.h"
#include "extras/replay_file.h"
#include "platform/file_io.h"
#include "shell/config_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

const char* const versionWord = "kavorind-scores";
constexpr int tableVersion = 1;
// A damaged file of a megabyte could name thousands of lines; the first few tell the story.
constexpr size_t namedProblemLimit = 20;

int isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number without sign from 0 to limit, in at most 19 digits so that it cannot overflow.
int parseWhole(std::string_view text, int64_t limit, int64_t* out) {
    if (!isDigits(text) || text.size() > 19)
        return 0;
    int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > limit)
            return 0;
    }
    *out = value;
    return 1;
}

int isFingerprint(std::string_view text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The number in digits [at, at + count) of the date, or -1.
int dateField(std::string_view date, size_t at, size_t count) {
    int64_t value = -1;
    return parseWhole(date.substr(at, count), 9999, &value) ? static_cast<int>(value) : -1;
}

int isDate(std::string_view date) {
    if (date.size() != 20 || date[4] != '-' || date[7] != '-' || date[10] != 'T' ||
        date[13] != ':' || date[16] != ':' || date[19] != 'Z')
        return 0;
    int year = dateField(date, 0, 4);
    int month = dateField(date, 5, 2);
    int day = dateField(date, 8, 2);
    int hour = dateField(date, 11, 2);
    int minute = dateField(date, 14, 2);
    int second = dateField(date, 17, 2);
    return year >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 &&
           hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

std::vector<std::string_view> tabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// Reads one entry line; 0 with what is wrong in *wrong.
int parseEntry(std::string_view line, ScoreEntry* out, std::string* wrong) {
    std::vector<std::string_view> fields = tabFields(line);
    int64_t score = 0;
    int64_t stage = 0;
    int64_t ticks = 0;
    if (fields.size() != 8)
        *wrong = "an entry has 8 fields separated by tabs, not " + std::to_string(fields.size());
    else if (!isFingerprint(fields[0]))
        *wrong = "the content is 16 lower-case hex digits";
    else if (!parseWhole(fields[1], INT32_MAX, &score))
        *wrong = "the score is a whole number from 0 to 2147483647";
    else if (!parseWhole(fields[2], 3, &stage) || stage < 1)
        *wrong = "the stage is 1, 2 or 3";
    else if (fields[3] != "yes" && fields[3] != "no")
        *wrong = "cleared is yes or no";
    else if (!isDate(fields[4]))
        *wrong = "the date is written YYYY-MM-DDTHH:MM:SSZ";
    else if (!isCleanPlayerName(std::string(fields[5])))
        *wrong = "the name is 1 to 16 characters of UTF-8 text without control characters";
    else if (!parseWhole(fields[6], INT64_MAX, &ticks))
        *wrong = "the ticks are a whole number";
    else if (fields[7] != "-" && !isPlainReplayName(std::string(fields[7])))
        *wrong = "the replay is \"-\" or a file name ending in .keys, without a folder";
    else {
        *out = ScoreEntry{std::string(fields[0]),
                          static_cast<int32_t>(score),
                          static_cast<int>(stage),
                          fields[3] == "yes",
                          std::string(fields[4]),
                          std::string(fields[5]),
                          ticks,
                          std::string(fields[7])};
        return 1;
    }
    return 0;
}

void noteBadLine(ScoreTable* table, int number, std::string_view line, const std::string& wrong,
                 size_t* badLines) {
    table->damaged = 1;
    if (++*badLines <= namedProblemLimit)
        table->problems.push_back("scores.txt:" + std::to_string(number) + ": \"" +
                                  shownText(line) + "\": " + wrong + "; the line is skipped");
}

// Reads the version line; 1 when it is one. A newer version marks the table.
int takeVersionLine(std::string_view line, ScoreTable* table) {
    std::string_view word(versionWord);
    if (line.substr(0, word.size()) != word || line.size() < word.size() + 2 ||
        line[word.size()] != ' ')
        return 0;
    int64_t version = 0;
    if (!parseWhole(line.substr(word.size() + 1), INT32_MAX, &version) || version < 1)
        return 0;
    table->version = static_cast<int>(version);
    table->newerVersion = version > tableVersion;
    return 1;
}

// Keeps the damaged file on disk beside itself before it is written over. 1 when there is nothing
// the player could lose: the file is gone, reads as a whole table now, or was kept.
int keepDamagedFile(const std::string& path, std::string* why) {
    std::error_code problem;
    if (fs::symlink_status(path, problem).type() == fs::file_type::not_found)
        return 1;
    FileBytes bytes;
    std::string reason;
    if (!readRegularFile(path, scoreFileLimit, &bytes, &reason)) {
        *why = "it cannot be read to keep a copy (" + reason + "), so it is not written over";
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    if (!parseScoreTable(text).damaged)
        return 1;
    std::string keptAs;
    if (!keepCopyBeside(path + ".bad", bytes.view(), &keptAs, &reason)) {
        *why = "its damaged lines cannot be kept beside it (" + reason +
               "), so it is not written over";
        return 0;
    }
    return 1;
}

// The number of characters of a clean name, for lining up the report's columns.
size_t characterCount(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string padded(const std::string& text, size_t width) {
    size_t count = characterCount(text);
    return text + std::string(count < width ? width - count : 0, ' ');
}

std::string reportLine(int rank, const ScoreEntry& entry) {
    char start[64];
    std::snprintf(start, sizeof start, "%3d. %10d  stage %d  %-7s  ", rank, entry.score,
                  entry.stage, entry.cleared ? "cleared" : "");
    std::string date = entry.date.substr(0, 10) + " " + entry.date.substr(11, 8);
    return start + date + "  " + padded(entry.name, playerNameLength) + "  " +
           (entry.replay == "-" ? "(no replay)" : entry.replay) + "\n";
}

int comesBefore(const ScoreEntry& first, const ScoreEntry& second) {
    if (first.score != second.score)
        return first.score > second.score;
    return first.date < second.date;
}

} // namespace

ScoreTable parseScoreTable(const std::string& text) {
    ScoreTable table;
    size_t badLines = 0;
    int number = 0;
    for (size_t start = 0; start < text.size() || number == 0;) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        start = end + 1;
        ++number;
        if (number == 1 && takeVersionLine(line, &table)) {
            if (table.newerVersion) {
                table.problems.push_back("scores.txt was written by a newer version of Kavorind "
                                         "(scores " +
                                         std::to_string(table.version) + "); it is left as it is");
                return table;
            }
            continue;
        }
        if (number == 1) {
            table.damaged = 1;
            table.problems.push_back("scores.txt:1: the file does not start with \"" +
                                     std::string(versionWord) + " 1\"");
        }
        if (line.empty() || line[0] == '#')
            continue;
        ScoreEntry entry;
        std::string wrong;
        if (parseEntry(line, &entry, &wrong))
            table.entries.push_back(entry);
        else
            noteBadLine(&table, number, line, wrong, &badLines);
    }
    if (badLines > namedProblemLimit)
        table.problems.push_back("scores.txt: " + std::to_string(badLines - namedProblemLimit) +
                                 " more lines are skipped");
    return table;
}

std::string scoreTableText(const ScoreTable& table) {
    std::string text = std::string(versionWord) + " " + std::to_string(tableVersion) + "\n" +
                       "# content\tscore\tstage\tcleared\tdate\tname\tticks\treplay\n";
    for (const ScoreEntry& entry : table.entries)
        text += entry.content + "\t" + std::to_string(entry.score) + "\t" +
                std::to_string(entry.stage) + "\t" + (entry.cleared ? "yes" : "no") + "\t" +
                entry.date + "\t" + entry.name + "\t" + std::to_string(entry.ticks) + "\t" +
                entry.replay + "\n";
    return text;
}

std::vector<ScoreEntry> tableFor(const ScoreTable& table, const std::string& content) {
    std::vector<ScoreEntry> entries;
    for (const ScoreEntry& entry : table.entries)
        if (entry.content == content)
            entries.push_back(entry);
    std::stable_sort(entries.begin(), entries.end(), comesBefore);
    return entries;
}

int rankInTable(const ScoreTable& table, const ScoreEntry& entry) {
    if (table.newerVersion)
        return 0;
    // An entry already kept stays ahead of a new one of the same score and date.
    long ahead =
        std::count_if(table.entries.begin(), table.entries.end(), [&](const ScoreEntry& e) {
            return e.content == entry.content && !comesBefore(entry, e);
        });
    return ahead < scoreTableLength ? static_cast<int>(ahead) + 1 : 0;
}

int placeInTable(ScoreTable* table, const ScoreEntry& entry, std::vector<ScoreEntry>* dropped) {
    int rank = rankInTable(*table, entry);
    if (rank == 0)
        return 0;
    // The new entry goes after every entry of its content, so that of equal scores and dates the
    // older one, found first, stays ahead.
    table->entries.push_back(entry);
    std::vector<ScoreEntry> ranked = tableFor(*table, entry.content);
    for (size_t place = scoreTableLength; place < ranked.size(); ++place) {
        const ScoreEntry& out = ranked[place];
        auto found =
            std::find_if(table->entries.begin(), table->entries.end(), [&](const ScoreEntry& e) {
                return e.content == out.content && e.score == out.score && e.date == out.date &&
                       e.name == out.name && e.ticks == out.ticks && e.replay == out.replay;
            });
        if (dropped)
            dropped->push_back(*found);
        table->entries.erase(found);
    }
    return rank;
}

ScoreTable loadScoreTable(const std::string& path) {
    FileBytes bytes;
    std::string why;
    if (readRegularFile(path, scoreFileLimit, &bytes, &why))
        return parseScoreTable(
            std::string(reinterpret_cast<const char*>(bytes.data.get()), bytes.size));
    ScoreTable table;
    std::error_code problem;
    if (fs::symlink_status(path, problem).type() == fs::file_type::not_found) {
        table.missing = 1;
        return table;
    }
    table.damaged = 1;
    table.problems.push_back("cannot read " + path + ": " + why);
    return table;
}

int saveScoreTable(const std::string& path, const ScoreTable& table, std::string* why) {
    if (table.newerVersion) {
        *why = path + " belongs to a newer version of Kavorind and is not written over";
        return 0;
    }
    std::string reason;
    if (table.damaged && !keepDamagedFile(path, &reason)) {
        *why = path + ": " + reason;
        return 0;
    }
    if (!writeFileSafely(path, scoreTableText(table), FileDurable, &reason)) {
        *why = "cannot write " + path + ": " + reason;
        return 0;
    }
    return 1;
}

std::string scoreTableReport(const ScoreTable& table, const std::string& content) {
    std::string report = "Kavorind high scores for content " + content + "\n";
    std::vector<ScoreEntry> entries = tableFor(table, content);
    if (entries.empty())
        report += "no scores yet for this content\n";
    for (size_t place = 0; place < entries.size(); ++place)
        report += reportLine(static_cast<int>(place) + 1, entries[place]);
    size_t others = table.entries.size() - entries.size();
    if (others)
        report += std::to_string(others) + (others == 1 ? " entry is" : " entries are") +
                  " kept for other content sets\n";
    for (const std::string& problem : table.problems)
        report += problem + "\n";
    return report;
}

} // namespace kavorind
