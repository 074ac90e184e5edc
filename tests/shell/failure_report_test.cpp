// The failure box speaks first to a player who reads no Korean and has no terminal to look at: the
// English line (the file and what to do), then the game's own Korean text, unchanged.
#include "shell/failure_report.h"

#include "shell/entry.h"

#include <gtest/gtest.h>

namespace kavorind {
namespace {

TEST(FailureBox, TheEnglishLineComesFirstThenTheKoreanText) {
    std::vector<std::string> searched = {"/home/p/games", "/usr/share/kavorind"};
    std::string english = noContentFolderLine(searched);
    std::string box = failureBoxText(startUpFailureText, english);
    EXPECT_EQ(box, english + "\n\n" + startUpFailureText);
    EXPECT_NE(box.find("/usr/share/kavorind"), std::string::npos);
    EXPECT_NE(box.find("kavorind-content DIR"), std::string::npos) << "what to do is said";

    EXPECT_EQ(failureBoxText(windowFailureText, noDisplayLine),
              std::string(noDisplayLine) + "\n\n" + windowFailureText);
    // Without an English line the box holds the Korean text alone, as it always did.
    EXPECT_EQ(failureBoxText(windowFailureText, ""), windowFailureText);
}

} // namespace
} // namespace kavorind
