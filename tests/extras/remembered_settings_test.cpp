// The window mode switched while playing goes into the settings file the game read, only once the
// additions have started remembering; a file it cannot write is said once, however often the mode
// is switched.
#include "extras/remembered_settings.h"

#include "extras_test_support.h"

#include <algorithm>
#include <sys/stat.h>

namespace kavorind {
namespace {

TEST(RememberedSettings, TheSwitchedModeIsWrittenOnlyOnceStarted) {
    ScratchFolder scratch;
    const std::string path = scratch / "kavorind.cfg";
    putFile(path, "# mine\nfullscreen = yes\n");
    stopRememberingSettings();
    rememberWindowMode(0);
    EXPECT_EQ(fileText(path), "# mine\nfullscreen = yes\n") << "classic: nothing is written";
    startRememberingSettings(path);
    rememberWindowMode(0);
    EXPECT_EQ(fileText(path), "# mine\nfullscreen = no\n");
    rememberWindowMode(1);
    EXPECT_EQ(fileText(path), "# mine\nfullscreen = yes\n");
    stopRememberingSettings();
}

#ifndef _WIN32
// A named pipe stands for a file that cannot be written; Windows has none in its folders.
TEST(RememberedSettings, AFileThatCannotBeWrittenIsSaidOnce) {
    ScratchFolder scratch;
    const std::string fifo = scratch / "kavorind.cfg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    startRememberingSettings(fifo);
    ::testing::internal::CaptureStderr();
    rememberWindowMode(1);
    rememberWindowMode(0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    stopRememberingSettings();
    EXPECT_NE(said.find("the window mode is not remembered in " + fifo + ": is a FIFO"),
              std::string::npos)
        << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}
#endif

} // namespace
} // namespace kavorind
