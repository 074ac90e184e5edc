// Replays: the header read back, names that stay inside the replays folder, a finished run kept
// (last.keys, its place in the table, the replays of entries pushed out removed) and the replay
// that --watch finds.
#include "extras/replay_file.h"

#include "extras/player_files.h"
#include "input/key_script.h"

#include "extras_test_support.h"

namespace kavorind {
namespace {

namespace fs = std::filesystem;

const std::string content = "0123456789abcdef";

TEST(ReplayFile, TheHeaderReadsBackAndCannotAddKeys) {
    ReplayHeader header{"0.1.0", content, "2026-12-09T14:25:54Z", 12345,
                        "--scene 3 --stage 0\n1-9999 Z"};
    std::string text = replayFileText(header, "1-30 Right\n# ticks: 30\n");
    ReplayHeader read;
    ASSERT_EQ(readReplayHeader(text, &read), 1);
    EXPECT_EQ(read.version, "0.1.0");
    EXPECT_EQ(read.content, content);
    EXPECT_EQ(read.date, "2026-12-09T14:25:54Z");
    EXPECT_EQ(read.score, 12345);
    // A line break smuggled into a header value stays inside the comment.
    EXPECT_EQ(read.options, "--scene 3 --stage 01-9999 Z");
    KeyScript script;
    std::string error;
    ASSERT_EQ(parseKeyScript(text, &script, &error), 1) << error;
    ASSERT_EQ(script.keys.size(), 1u);
    EXPECT_EQ(script.keys[0].to, 30);

    EXPECT_EQ(readReplayHeader("1-30 Right\n# Kavorind replay\n", &read), 0);
    EXPECT_EQ(readReplayHeader("# Kavorind replay\n# score: 99999999999\n", &read), 1);
    EXPECT_EQ(read.score, -1);
}

TEST(ReplayFile, NamesStayInsideTheReplaysFolder) {
    EXPECT_EQ(replayFileName("2026-12-09T14:25:54Z", 12345), "20261209-142554-12345.keys");
    EXPECT_EQ(isPlainReplayName(replayFileName("2026-12-09T14:25:54Z", 2)), 1);
    for (const char* bad :
         {"../x.keys", "a/b.keys", "a\\b.keys", ".keys", "x.key", "..", ".", "a\tb.keys", ""})
        EXPECT_EQ(isPlainReplayName(bad), 0) << bad;
}

struct KeepRunTest : ::testing::Test {
    ScratchFolder scratch;
    std::string folder = scratch / "kavorind";
    std::string replays = replaysFolderPath(folder);

    RunOutcome outcomeOf(int32_t score, int second) {
        char date[32];
        std::snprintf(date, sizeof date, "2026-12-09T15:00:%02dZ", second);
        RunOutcome outcome;
        outcome.entry = ScoreEntry{content, score, 1, 0, date, "mika", 300, "-"};
        outcome.replayText = "# Kavorind replay\n# score: " + std::to_string(score) + "\n1 Z\n";
        return outcome;
    }
};

TEST_F(KeepRunTest, ARankedRunKeepsItsReplayAndPushesTheLowestOut) {
    KeptRun kept;
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(keepRun(folder, outcomeOf((i + 1) * 10, i), &kept), 1);
    ScoreTable table = loadScoreTable(scoresFilePath(folder));
    std::vector<ScoreEntry> ranked = tableFor(table, content);
    ASSERT_EQ(ranked.size(), 10u);
    const std::string lowest = replays + "/" + ranked[9].replay;
    EXPECT_EQ(fileText(lowest), outcomeOf(10, 0).replayText);

    RunOutcome best = outcomeOf(500, 30);
    ASSERT_EQ(keepRun(folder, best, &kept), 1);
    EXPECT_EQ(kept.rank, 1);
    EXPECT_TRUE(kept.problems.empty());
    EXPECT_EQ(fileText(kept.replayPath), best.replayText);
    EXPECT_EQ(fileText(replays + "/last.keys"), best.replayText);
    EXPECT_FALSE(fs::exists(lowest));
    EXPECT_EQ(fs::path(kept.replayPath).parent_path(), fs::path(replays));

    // Too low for the table, or practice: only last.keys changes.
    const std::string tableBefore = fileText(scoresFilePath(folder));
    ASSERT_EQ(keepRun(folder, outcomeOf(1, 40), &kept), 1);
    EXPECT_EQ(kept.rank, 0);
    RunOutcome practice = outcomeOf(9999, 41);
    practice.practice = 1;
    ASSERT_EQ(keepRun(folder, practice, &kept), 1);
    EXPECT_EQ(kept.rank, 0);
    EXPECT_EQ(fileText(scoresFilePath(folder)), tableBefore);
    EXPECT_EQ(fileText(replays + "/last.keys"), practice.replayText);
    EXPECT_EQ(std::distance(fs::directory_iterator(replays), fs::directory_iterator()), 11);
}

TEST_F(KeepRunTest, AHostileTableNeverRemovesAFileOutsideTheReplaysFolder) {
    std::string why;
    ASSERT_EQ(makePlayerFolders(folder, &why), 1);
    putFile(folder + "/x.keys", "the player's own file");
    putFile(replays + "/shared.keys", "named by two entries");
    std::string text = "kavorind-scores 1\n";
    for (int i = 0; i < 10; ++i)
        text += content + "\t" + std::to_string(i + 1) + "\t1\tno\t2026-12-09T14:00:0" +
                std::to_string(i) + "Z\tmika\t5\t" +
                (i == 0  ? "../x.keys"
                 : i < 3 ? "shared.keys"
                         : "-") +
                "\n";
    putFile(scoresFilePath(folder), text);

    // The line naming ../x.keys is refused, so nine entries are read: the first run fills the
    // table, the second pushes out one of the two entries naming shared.keys, the third the other.
    KeptRun kept;
    for (int run = 0; run < 2; ++run)
        ASSERT_EQ(keepRun(folder, outcomeOf(100 + run, run), &kept), 1);
    EXPECT_EQ(fileText(replays + "/shared.keys"), "named by two entries");
    ASSERT_EQ(keepRun(folder, outcomeOf(102, 2), &kept), 1);
    EXPECT_FALSE(fs::exists(replays + "/shared.keys"));
    EXPECT_EQ(fileText(folder + "/x.keys"), "the player's own file");
    EXPECT_EQ(fileText(scoresFilePath(folder) + ".bad"), text);
}

TEST_F(KeepRunTest, WatchFindsTheLastRunOrAnEntrysReplay) {
    KeptRun kept;
    ASSERT_EQ(keepRun(folder, outcomeOf(70, 1), &kept), 1);
    ScoreTable table = loadScoreTable(scoresFilePath(folder));
    table.entries.push_back(ScoreEntry{content, 5, 1, 0, "2026-12-09T15:00:09Z", "x", 1, "-"});
    std::string why;
    EXPECT_EQ(replayPathForWatch(folder, "last", table, content, &why), replays + "/last.keys");
    EXPECT_EQ(replayPathForWatch(folder, "1", table, content, &why), kept.replayPath);
    EXPECT_EQ(replayPathForWatch(folder, "2", table, content, &why), "");
    EXPECT_EQ(why, "entry 2 of the table has no replay");
    EXPECT_EQ(replayPathForWatch(folder, "4", table, content, &why), "");
    EXPECT_EQ(why, "there is no entry 4 in the table for this content");
    EXPECT_EQ(replayPathForWatch(folder, "1", table, "fedcba9876543210", &why), "");
    EXPECT_EQ(replayPathForWatch(folder, "runs/a.keys", table, content, &why), "runs/a.keys");
}

TEST_F(KeepRunTest, AFolderThatCannotBeMadeIsToldNotFatal) {
    putFile(scratch / "kavorind", "a file where the folder goes");
    KeptRun kept;
    EXPECT_EQ(keepRun(folder, outcomeOf(70, 1), &kept), 0);
    ASSERT_EQ(kept.problems.size(), 1u);
    EXPECT_NE(kept.problems[0].find("is in the way"), std::string::npos);
}

} // namespace
} // namespace kavorind
