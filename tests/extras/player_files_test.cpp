// Where the player's files live, the names the table keeps, and the fingerprint that keeps the
// scores of different content sets apart.
#include "extras/content_fingerprint.h"
#include "extras/player_files.h"

#include "extras_test_support.h"

#include <sys/stat.h>

namespace kavorind {
namespace {

TEST(PlayerFiles, TheFolderFollowsTheXdgRules) {
    EXPECT_EQ(playerDataFolder("/data", "/home/mika"), "/data/kavorind");
    EXPECT_EQ(playerDataFolder("relative", "/home/mika"), "/home/mika/.local/share/kavorind");
    EXPECT_EQ(playerDataFolder(nullptr, "/home/mika"), "/home/mika/.local/share/kavorind");
    EXPECT_EQ(playerDataFolder("", ""), "");
    EXPECT_EQ(playerDataFolder(nullptr, nullptr), "");
}

TEST(PlayerFiles, FoldersAreMadeForThePlayerAloneAndNothingInTheWayIsTaken) {
    ScratchFolder scratch;
    const std::string folder = scratch / "share/kavorind";
    std::string why;
    ASSERT_EQ(makePlayerFolders(folder, &why), 1) << why;
#ifndef _WIN32
    // Windows gives a folder under the profile its owner's rights alone already.
    struct stat status {};
    ASSERT_EQ(::stat(replaysFolderPath(folder).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
#endif
    EXPECT_EQ(makePlayerFolders(folder, &why), 1) << "folders already there are fine";

    const std::string blocked = scratch / "blocked";
    putFile(blocked, "a file");
    EXPECT_EQ(makePlayerFolders(blocked, &why), 0);
    EXPECT_NE(why.find("is in the way"), std::string::npos);
    EXPECT_EQ(fileText(blocked), "a file");
    EXPECT_EQ(makePlayerFolders("", &why), 0);
}

TEST(PlayerFiles, NamesAreCleanedForTheTable) {
    EXPECT_EQ(playerNameFrom("", "mika"), "mika");
    EXPECT_EQ(playerNameFrom("", nullptr), "PLAYER");
    EXPECT_EQ(playerNameFrom("  Ace\tPilot\x1b[31m \x7f ", "mika"), "AcePilot[31m");
    EXPECT_EQ(playerNameFrom("\x01\x02 \t", "mika"), "PLAYER");
    // Sixteen characters, counted as characters and never cut inside one.
    EXPECT_EQ(playerNameFrom("ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ", ""), "ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ");
    EXPECT_EQ(playerNameFrom("abcdefghijklmno  名", ""), "abcdefghijklmno");
    // Stray bytes and terminal controls of the C1 range are dropped.
    EXPECT_EQ(playerNameFrom("a\xff"
                             "b\xc3"
                             "c\xc2\x9b"
                             "d",
                             ""),
              "abcd");
    EXPECT_EQ(isCleanPlayerName("mika"), 1);
    EXPECT_EQ(isCleanPlayerName(" mika"), 0);
    EXPECT_EQ(isCleanPlayerName(""), 0);
    EXPECT_EQ(isCleanPlayerName("abcdefghijklmnopq"), 0);
}

TEST(ContentFingerprint, IsTheFnvHashOfNamesSizesAndBytesInNameOrder) {
    // Worked out apart from the game: FNV-1a 64 over "a.wav" 0 (1 as 8 bytes) "x", then
    // "pal.pal" 0 (2 as 8 bytes) "ab"; the page computes the same for the same files.
    ScratchFolder folder;
    putFile(folder / "Pal.Pal", "ab");
    putFile(folder / "A.WAV", "x");
    EXPECT_EQ(contentFingerprint(folder.path.string()), "034aa533daab0a50");
}

TEST(ContentFingerprint, ChangesWithTheContentAndNothingElse) {
    ScratchFolder folder;
    putFile(folder / "Pal.Pal", std::string(1024, 'p'));
    putFile(folder / "Stage-M1.map", "map");
    putFile(folder / "open-c.spr", "sprites");
    const std::string first = contentFingerprint(folder.path.string());
    EXPECT_EQ(first.size(), 16u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);

    putFile(folder / "readme.txt", "not content");
    std::filesystem::create_directory(folder / "more.wav");
    EXPECT_EQ(contentFingerprint(folder.path.string()), first);
    std::filesystem::rename(folder / "Pal.Pal", folder / "PAL.PAL");
    EXPECT_EQ(contentFingerprint(folder.path.string()), first);

    putFile(folder / "PAL.PAL", std::string(1023, 'p') + "q");
    EXPECT_NE(contentFingerprint(folder.path.string()), first);
}

} // namespace
} // namespace kavorind
