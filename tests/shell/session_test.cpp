// The session's hooks as the window procedure calls them around each tick, without a window: where
// a tick's keys come from, what the recording then holds, and a script refused. The trace is
// checked against the runner's in the real window (tests/e2e/record_replay.sh, replay_stage.sh).
#include "input/key_script.h"
#include "input/key_state.h"
#include "shell/entry.h"
#include "shell/session.h"

#include <gtest/gtest.h>

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
        platformSetKeySource(nullptr);
        fs::current_path(before);
        fs::remove_all(root);
    }
    void writeScript(const std::string& text) { std::ofstream(root / "play.keys") << text; }
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

} // namespace kavorind
