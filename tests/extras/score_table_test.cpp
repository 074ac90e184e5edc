// The high-score table: ten best per content set in order, read leniently, never written over a
// newer game's file, a damaged file kept beside before it is replaced, a full disk harmless.
#include "extras/score_table.h"

#include "extras_test_support.h"

#include <sys/stat.h>

namespace kavorind {
namespace {

const std::string contentA = "0123456789abcdef";
const std::string contentB = "fedcba9876543210";

ScoreEntry entryOf(const std::string& content, int32_t score, int second,
                   const std::string& replay = "-") {
    char date[32];
    std::snprintf(date, sizeof date, "2026-12-09T14:%02d:%02dZ", second / 60, second % 60);
    return ScoreEntry{content, score, 2, 0, date, "mika", 1000, replay};
}

std::vector<int32_t> scoresOf(const std::vector<ScoreEntry>& entries) {
    std::vector<int32_t> scores;
    for (const ScoreEntry& entry : entries)
        scores.push_back(entry.score);
    return scores;
}

TEST(ScoreTable, KeepsTheTenBestOfEachContentInOrder) {
    ScoreTable table;
    table.entries.push_back(entryOf(contentB, 5, 0));
    std::vector<ScoreEntry> dropped;
    for (int i = 0; i < 10; ++i)
        EXPECT_GE(
            placeInTable(&table,
                         entryOf(contentA, (i + 1) * 100, i, "r" + std::to_string(i) + ".keys"),
                         &dropped),
            1);
    EXPECT_TRUE(dropped.empty());
    // Too low for a full table: nothing changes.
    EXPECT_EQ(placeInTable(&table, entryOf(contentA, 50, 20), &dropped), 0);
    EXPECT_EQ(table.entries.size(), 11u);

    // A score equal to a kept one goes behind it, and pushes the lowest out.
    EXPECT_EQ(placeInTable(&table, entryOf(contentA, 800, 30), &dropped), 4);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].score, 100);
    EXPECT_EQ(dropped[0].replay, "r0.keys");
    std::vector<ScoreEntry> ranked = tableFor(table, contentA);
    EXPECT_EQ(scoresOf(ranked),
              (std::vector<int32_t>{1000, 900, 800, 800, 700, 600, 500, 400, 300, 200}));
    EXPECT_EQ(ranked[2].date, "2026-12-09T14:00:07Z");
    // Equal scores in the file come out by date, whatever their order there.
    EXPECT_EQ(placeInTable(&table, entryOf(contentA, 900, 1), &dropped), 2);
    EXPECT_EQ(tableFor(table, contentA)[1].date, "2026-12-09T14:00:01Z");
    // The other content set is never touched.
    EXPECT_EQ(scoresOf(tableFor(table, contentB)), std::vector<int32_t>{5});
    EXPECT_EQ(placeInTable(&table, entryOf(contentB, 1, 40), &dropped), 2);
}

TEST(ScoreTable, TextReadsBackAsWritten) {
    ScoreTable table;
    table.entries = {entryOf(contentA, 12345, 3, "20261209-142554-12345.keys"),
                     ScoreEntry{contentB, INT32_MAX, 3, 1, "2026-01-02T03:04:05Z", "Ünïcødé 名前",
                                INT64_MAX, "-"}};
    std::string text = scoreTableText(table);
    EXPECT_EQ(text.substr(0, 18), "kavorind-scores 1\n");
    ScoreTable read = parseScoreTable(text);
    EXPECT_EQ(read.damaged, 0);
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(scoreTableText(read), text);
    EXPECT_EQ(read.entries[1].cleared, 1);
    EXPECT_EQ(read.entries[1].name, "Ünïcødé 名前");
}

TEST(ScoreTable, DamagedLinesAreSkippedAndNamedWhileGoodOnesAreKept) {
    const std::string good = contentA + "\t700\t1\tno\t2026-12-09T14:25:54Z\tmika\t10\t-";
    std::string text = "kavorind-scores 1\n" + good + "\r\n" + contentA +
                       "\t2147483648\t1\tno\t2026-12-09T14:25:54Z\tmika\t10\t-\n" + contentA +
                       "\t5\t4\tno\t2026-12-09T14:25:54Z\tmika\t10\t-\n" + contentA +
                       "\t5\t1\tno\t2026-12-09T14:25:54Z\tmi\x1bka\t10\t-\n" + contentA +
                       "\t5\t1\tno\t2026-12-09T14:25:54Z\tmika\t10\t../x.keys\n" +
                       std::string("\x00\xff\x13junk\n", 8) + good.substr(0, 30);
    ScoreTable table = parseScoreTable(text);
    EXPECT_EQ(table.damaged, 1);
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].score, 700);
    ASSERT_EQ(table.problems.size(), 6u);
    for (int line = 3; line <= 8; ++line)
        EXPECT_EQ(table.problems[static_cast<size_t>(line - 3)].rfind(
                      "scores.txt:" + std::to_string(line) + ": ", 0),
                  0u);
    EXPECT_NE(table.problems[3].find("without a folder"), std::string::npos);
    // Quoted lines never carry control characters to the terminal.
    for (const std::string& problem : table.problems)
        EXPECT_EQ(problem.find('\x1b'), std::string::npos);

    // Without its version line the file is damaged, and its entries are still read.
    ScoreTable headless = parseScoreTable(good + "\n");
    EXPECT_EQ(headless.damaged, 1);
    EXPECT_EQ(headless.entries.size(), 1u);
}

TEST(ScoreTable, ANewerGamesFileIsNeverWrittenOver) {
    ScratchFolder folder;
    const std::string path = folder / "scores.txt";
    const std::string newer = "kavorind-scores 2\n" + contentA + "\tnew fields\n";
    putFile(path, newer);
    ScoreTable table = loadScoreTable(path);
    EXPECT_EQ(table.newerVersion, 1);
    EXPECT_TRUE(table.entries.empty());
    std::vector<ScoreEntry> dropped;
    EXPECT_EQ(placeInTable(&table, entryOf(contentA, 100, 0), &dropped), 0);
    table.entries.push_back(entryOf(contentA, 100, 0));
    std::string why;
    EXPECT_EQ(saveScoreTable(path, table, &why), 0);
    EXPECT_NE(why.find("newer version"), std::string::npos);
    EXPECT_EQ(fileText(path), newer);
}

TEST(ScoreTable, ADamagedFileIsKeptBesideOnceBeforeItIsReplaced) {
    ScratchFolder folder;
    const std::string path = folder / "scores.txt";
    const std::string damaged = "kavorind-scores 1\n" + contentA +
                                "\t300\t1\tno\t2026-12-09T14:25:54Z\tmika\t10\t-\nhalf a li";
    putFile(path, damaged);
    ScoreTable table = loadScoreTable(path);
    EXPECT_EQ(table.damaged, 1);
    std::vector<ScoreEntry> dropped;
    EXPECT_EQ(placeInTable(&table, entryOf(contentA, 500, 0), &dropped), 1);
    std::string why;
    ASSERT_EQ(saveScoreTable(path, table, &why), 1) << why;
    EXPECT_EQ(fileText(path + ".bad"), damaged);
    ScoreTable saved = loadScoreTable(path);
    EXPECT_EQ(saved.damaged, 0);
    EXPECT_EQ(scoresOf(tableFor(saved, contentA)), (std::vector<int32_t>{500, 300}));
    // The same damaged table saved again does not keep the now whole file a second time.
    ASSERT_EQ(saveScoreTable(path, table, &why), 1) << why;
    EXPECT_FALSE(std::filesystem::exists(path + ".bad.1"));
}

TEST(ScoreTable, WhatCannotBeReadIsNeverLostOrWaitedOn) {
    ScratchFolder folder;
    ScoreTable missing = loadScoreTable(folder / "scores.txt");
    EXPECT_EQ(missing.missing, 1);
    EXPECT_EQ(missing.damaged, 0);
    EXPECT_TRUE(missing.problems.empty());

#ifndef _WIN32
    // Windows has neither named pipes in its folders nor a limit on a file's size to test with.
    const std::string fifo = folder / "fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ScoreTable table = loadScoreTable(fifo);
    EXPECT_EQ(table.damaged, 1);
    ASSERT_EQ(table.problems.size(), 1u);
    EXPECT_NE(table.problems[0].find("FIFO"), std::string::npos);
    std::string why;
    EXPECT_EQ(saveScoreTable(fifo, table, &why), 0);

    // A full disk leaves the old table whole.
    const std::string path = folder / "scores.txt";
    ScoreTable old;
    old.entries.push_back(entryOf(contentA, 1, 0));
    ASSERT_EQ(saveScoreTable(path, old, &why), 1);
    const std::string before = fileText(path);
    ScoreTable big;
    for (int i = 0; i < 200; ++i)
        big.entries.push_back(entryOf(contentA, i, i));
    {
        FileSizeLimit limit(1024);
        EXPECT_EQ(saveScoreTable(path, big, &why), 0);
    }
    EXPECT_NE(why.find("File too large"), std::string::npos);
    EXPECT_EQ(fileText(path), before);
#endif
}

TEST(ScoreTable, ReportListsTheContentsEntriesAndCountsTheOthers) {
    ScoreTable table;
    EXPECT_NE(scoreTableReport(table, contentA).find("no scores yet for this content"),
              std::string::npos);
    table.entries = {entryOf(contentA, 12345, 1, "a.keys"), entryOf(contentB, 7, 2),
                     entryOf(contentA, 99, 2)};
    table.entries[2].name = "名前";
    table.entries[0].cleared = 1;
    table.problems.push_back("scores.txt:9: something");
    std::string report = scoreTableReport(table, contentA);
    size_t first = report.find("12345");
    size_t second = report.find("  99");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(report.find("cleared"), std::string::npos);
    EXPECT_NE(report.find("1 entry is kept for other content sets"), std::string::npos);
    EXPECT_NE(report.find("scores.txt:9: something"), std::string::npos);
    // Names of wide characters still line the replay column up.
    size_t lineOne = report.find(" 1. ");
    size_t lineTwo = report.find(" 2. ");
    std::string one = report.substr(lineOne, report.find('\n', lineOne) - lineOne);
    std::string two = report.substr(lineTwo, report.find('\n', lineTwo) - lineTwo);
    EXPECT_EQ(one.find("a.keys") - one.find("mika"),
              two.find("(no replay)") - two.find("名前") - 4);
}

} // namespace
} // namespace kavorind
