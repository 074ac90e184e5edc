// The session's hooks as the window procedure calls them around each tick, without a window: where
// a tick's keys come from, what the recording then holds, and a script refused. The trace is
// checked against the runner's in the real window (tests/e2e/record_replay.sh, replay_stage.sh).
#include "input/key_script.h"
#include "input/key_state.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/session.h"
#include "shell/timedemo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// The keyboard as the tests hold it: Up and X down throughout; Z down on every other read, as
// no real key is, to show that a tick reads its keys once.
struct FakeKeyboard {
    int reads = 0;
};
FakeKeyboard fakeKeyboard;

int fakeKeyDown(int virtualKey) {
    if (virtualKey == VK_Z)
        return ++fakeKeyboard.reads % 2;
    return virtualKey == VK_UP || virtualKey == VK_X;
}

std::string readText(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A tick as the window procedure brackets it; the game keys it saw, read twice over.
std::string runTick() {
    beginSessionTick();
    sampleKeys();
    std::string seen;
    for (int index = 0; index < gameKeyCount; ++index) {
        const int key = gameKeyCode(index);
        EXPECT_EQ(platformKeyDown(key), keyHeld(key) ? 1 : 0) << gameKeyName(index);
        if (keyHeld(key))
            seen += seen.empty() ? gameKeyName(index) : std::string(",") + gameKeyName(index);
    }
    endSessionTick();
    return seen;
}

struct SessionTest : ::testing::Test {
    fs::path root;
    fs::path before;

    void SetUp() override {
        before = fs::current_path();
        root = fs::temp_directory_path() /
               ("kavorind-session-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "elsewhere");
        fs::current_path(root);
        clearKeys();
        fakeKeyboard = FakeKeyboard{};
        platformSetKeySource(fakeKeyDown);
    }
    void TearDown() override {
        closeSession();
        sceneLoop.currentScene = 0;
        platformSetKeySource(nullptr);
        fs::current_path(before);
        fs::remove_all(root);
    }
    void writeScript(const std::string& text) { std::ofstream(root / "play.keys") << text; }
    // The names in the test's folder, so that a file left behind shows.
    std::vector<std::string> namesHere() {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(root))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

// The script stands in for the keyboard through its last tick (4), then the keyboard answers
// again; between ticks the keyboard is always the source in force. The recording, written where
// the name was given although the working directory changed, holds what the ticks saw.
TEST_F(SessionTest, ReplayPlaysUpToItsLastTickAndTheRecordingHoldsWhatEveryTickSaw) {
    writeScript("1-2 Z\n4 Left,Down\n");
    GameOptions options;
    options.replayFile = "play.keys";
    options.recordFile = "session.keys";
    std::string error;
    ASSERT_EQ(openSession(options, &error), 1) << error;
    sessionStarted();
    fs::current_path(root / "elsewhere");

    const char* expected[] = {"Z", "Z", "", "Left,Down", "Up,Z,X", "Up,X", "Up,Z,X"};
    for (const char* keys : expected) {
        EXPECT_EQ(runTick(), keys);
        EXPECT_EQ(platformKeySource(), fakeKeyDown);
    }
    closeSession();

    EXPECT_FALSE(fs::exists(root / "elsewhere/session.keys"));
    std::string text = readText(root / "session.keys");
    EXPECT_NE(text.find("# ticks: 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n1-2 Z\n4 Left,Down\n5 Z\n5-7 Up,X\n7 Z\n"), std::string::npos) << text;
}

// A script that cannot be used stops the game before it starts, with exit code 2 and a message
// that names the line; so does a file that cannot be written.
TEST_F(SessionTest, AScriptNotUnderstoodOrAFileNotWritableEndsWithExitCodeTwo) {
    writeScript("1-5 Z\n7 Jump\n");
    struct Case {
        std::vector<const char*> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"kavorind", "--replay", "play.keys"}, "play.keys: line 2: expected FROM-TO KEY"},
        {{"kavorind", "--timedemo", "play.keys"}, "play.keys: line 2: expected FROM-TO KEY"},
        {{"kavorind", "--trace", "no/such/folder/t.jsonl"}, "cannot write"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        int code = kavorindMain(static_cast<int>(c.arguments.size()), c.arguments.data());
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, exitUsage) << c.arguments[2];
        EXPECT_NE(said.find(c.message), std::string::npos) << said;
    }
}

// The recording is on the disk as the session goes, under its name once start-up has succeeded:
// the older file of that name until then, the header at start-up, each second's ticks after the
// 30th, and a change of scene's at once. Right, held across the flush at tick 30, is written as
// two stretches that play as one; a session killed after the flush at tick 41, with no key down
// there, still says how long it is; a session that ends normally ends with its count of ticks.
TEST_F(SessionTest, TheRecordingIsWrittenAtEveryFlushAndTakesItsNameOnlyOnceStartedUp) {
    const std::string older = "1-9 Z\n# an older recording\n";
    std::ofstream(root / "session.keys") << older;
    writeScript("25-40 Right\n35 Z\n80 Escape\n");
    GameOptions options;
    options.replayFile = "play.keys";
    options.recordFile = "session.keys";
    std::string error;
    ASSERT_EQ(openSession(options, &error), 1) << error;
    EXPECT_EQ(readText(root / "session.keys"), older);
    sessionStarted();
    const std::string header = readText(root / "session.keys");
    EXPECT_EQ(header, keyRecordingHeader());

    for (int tick = 1; tick < 30; ++tick)
        runTick();
    EXPECT_EQ(readText(root / "session.keys"), header);
    runTick();
    EXPECT_EQ(readText(root / "session.keys"), header + "25-30 Right\n");
    for (int tick = 31; tick <= 40; ++tick)
        runTick();
    sceneLoop.currentScene = SceneMenu;
    runTick(); // 41
    const std::string kept = readText(root / "session.keys");
    EXPECT_EQ(kept, header + "25-30 Right\n31-40 Right\n35 Z\n# recorded to tick 41\n");

    KeyScript script;
    ASSERT_EQ(parseKeyScript(kept, &script, &error), 1) << error;
    KeyScriptPlayer player = startKeyScript(script);
    for (int tick = 1; tick <= 41; ++tick) {
        advanceKeyScript(&player, tick);
        EXPECT_EQ(playerKeyDown(player, VK_RIGHT), tick >= 25 && tick <= 40) << tick;
        EXPECT_EQ(playerKeyDown(player, VK_Z), tick == 35) << tick;
    }
    EXPECT_EQ(timedemoLength(kept, 40), 41);

    for (int tick = 42; tick <= 45; ++tick)
        runTick();
    EXPECT_EQ(readText(root / "session.keys"), kept);
    EXPECT_EQ(closeSession(), 1);
    EXPECT_EQ(readText(root / "session.keys"), kept + "# ticks: 45\n");
}

// A start that fails (no content, no window) closes the session without start-up: the older
// recording and trace of those names stay byte for byte, and nothing is left beside them.
TEST_F(SessionTest, AFailedStartKeepsTheOlderFilesAndLeavesNothingBehind) {
    std::ofstream(root / "old.keys") << "1-90 Right\n# ticks: 90\n";
    std::ofstream(root / "old.jsonl") << "{\"tick\":1}\n";
    const std::vector<std::string> before = namesHere();
    GameOptions options;
    options.recordFile = "old.keys";
    options.traceFile = "old.jsonl";
    std::string error;
    ASSERT_EQ(openSession(options, &error), 1) << error;
    EXPECT_EQ(closeSession(), 1);
    EXPECT_EQ(readText(root / "old.keys"), "1-90 Right\n# ticks: 90\n");
    EXPECT_EQ(readText(root / "old.jsonl"), "{\"tick\":1}\n");
    EXPECT_EQ(namesHere(), before);
}

// The trace and the recording in one file would be written into each other, and either over the
// script played would replace it: refused with exit code 2 before anything is written, however
// the one file is named.
TEST_F(SessionTest, TwoOfTheSessionsFilesThatAreOneAreRefusedBeforeAnythingIsWritten) {
    writeScript("1-5 Z\n");
    std::ofstream(root / "same.out") << "older\n";
    fs::create_symlink(root / "same.out", root / "link.out");
    const std::vector<std::vector<const char*>> cases = {
        {"kavorind", "--trace", "same.out", "--record", "same.out"},
        {"kavorind", "--trace", "same.out", "--record", "elsewhere/../same.out"},
        {"kavorind", "--record", "link.out", "--trace", "same.out"},
        {"kavorind", "--replay", "play.keys", "--record", "./play.keys"},
        {"kavorind", "--timedemo", "play.keys", "--trace", "play.keys"},
    };
    const std::vector<std::string> before = namesHere();
    for (const std::vector<const char*>& arguments : cases) {
        ::testing::internal::CaptureStderr();
        int code = kavorindMain(static_cast<int>(arguments.size()), arguments.data());
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, exitUsage) << arguments[2] << " " << arguments[4];
        EXPECT_NE(said.find("name the same file"), std::string::npos) << said;
        EXPECT_EQ(namesHere(), before) << arguments[2] << " " << arguments[4];
        EXPECT_EQ(readText(root / "play.keys"), "1-5 Z\n");
        EXPECT_EQ(readText(root / "same.out"), "older\n");
    }
}

} // namespace kavorind
