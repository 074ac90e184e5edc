// Where F12 puts its pictures and how it names them, and the picture itself: the kept frame's
// indices and colours exactly, never over a file already there.
#include "common/png_image.h"
#include "extras/screenshot.h"
#include "extras/screenshot_place.h"

#include "extras_test_support.h"

namespace kavorind {
namespace {

ScreenshotEnvironment environmentOf(const char* pictures, const char* data, const char* home,
                                    const std::string& userDirs = "") {
    ScreenshotEnvironment environment;
    environment.picturesDir = pictures;
    environment.dataHome = data;
    environment.home = home;
    environment.userDirsText = userDirs;
    return environment;
}

TEST(ScreenshotPlace, PicturesFolderFromTheEnvironmentThenUserDirsThenTheDataFolder) {
    const std::string userDirs = "# written by xdg-user-dirs-update\n"
                                 "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                 "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(screenshotFolder(environmentOf("/shots", "/d", "/home/mika", userDirs)),
              "/shots/kavorind");
    EXPECT_EQ(screenshotFolder(environmentOf(nullptr, "/d", "/home/mika", userDirs)),
              "/home/mika/Bilder/kavorind");
    // A relative value in the environment means nothing: the list is asked next.
    EXPECT_EQ(screenshotFolder(environmentOf("Pictures", "/d", "/home/mika", userDirs)),
              "/home/mika/Bilder/kavorind");
    EXPECT_EQ(screenshotFolder(environmentOf(nullptr, "/d", "/home/mika")),
              "/d/kavorind/screenshots");
    EXPECT_EQ(screenshotFolder(environmentOf(nullptr, nullptr, "/home/mika")),
              "/home/mika/.local/share/kavorind/screenshots");
    EXPECT_EQ(screenshotFolder(environmentOf(nullptr, nullptr, nullptr, userDirs)), "");
    EXPECT_EQ(userDirsPath("/cfg", "/home/mika"), "/cfg/user-dirs.dirs");
    EXPECT_EQ(userDirsPath("cfg", "/home/mika"), "/home/mika/.config/user-dirs.dirs");
    EXPECT_EQ(userDirsPath(nullptr, nullptr), "");
}

TEST(ScreenshotPlace, UserDirsLinesAreReadAsTheShellWouldTakeThem) {
    const char* home = "/home/mika";
    EXPECT_EQ(picturesFolderFromUserDirs("XDG_PICTURES_DIR=\"/srv/pics/\"\n", home), "/srv/pics");
    // The last line wins; quotes, escapes, spaces and CRLF endings as the shell reads them.
    EXPECT_EQ(picturesFolderFromUserDirs("XDG_PICTURES_DIR=\"$HOME/A\"\r\n"
                                         "  export XDG_PICTURES_DIR=\"$HOME/My\\ Pics\"\r\n",
                                         home),
              "/home/mika/My Pics");
    // $HOME itself is how the list says "no such folder"; other variables, relative paths and
    // look-alike keys mean nothing.
    for (const char* text : {"XDG_PICTURES_DIR=\"$HOME/\"\n", "XDG_PICTURES_DIR=\"$HOME\"\n",
                             "XDG_PICTURES_DIR=\"$HOMEWORK/x\"\n", "XDG_PICTURES_DIR=\"Pics\"\n",
                             "XDG_PICTURES_DIR=\"${XDG_DATA}/x\"\n", "#XDG_PICTURES_DIR=\"/x\"\n",
                             "MY_XDG_PICTURES_DIR=\"/x\"\n", "XDG_PICTURES_DIR=\"/\"\n", ""})
        EXPECT_EQ(picturesFolderFromUserDirs(text, home), "") << text;
    EXPECT_EQ(picturesFolderFromUserDirs("XDG_PICTURES_DIR=\"$HOME/P\"\n", nullptr), "");
}

TEST(ScreenshotPlace, NamesCarryTheLocalTimeAndTheTick) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 4;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    EXPECT_EQ(screenshotFileName(when, 1234, 1), "kavorind-20260304-090507-t1234.png");
    EXPECT_EQ(screenshotFileName(when, 0, 3), "kavorind-20260304-090507-t0-3.png");
}

ShownFrame testFrame(int tick) {
    ShownFrame frame;
    frame.tick = tick;
    frame.width = 7;
    frame.height = 3;
    for (int i = 0; i < frame.width * frame.height; ++i)
        frame.pixels.push_back(static_cast<uint8_t>(i * 11));
    for (size_t i = 0; i < frame.colours.size(); ++i)
        frame.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                            static_cast<uint8_t>(i * 7), 0};
    return frame;
}

TEST(Screenshot, SavedPictureHoldsTheFrameAndPaletteAndNeverReplacesAFile) {
    ScratchFolder scratch;
    const std::string folder = scratch / "Pictures/kavorind";
    std::tm when{};
    when.tm_year = 126;
    when.tm_mday = 1;
    const ShownFrame frame = testFrame(42);
    std::string first;
    std::string second;
    std::string why;
    ASSERT_EQ(saveShownFrame(frame, folder, when, &first, &why), 1) << why;
    EXPECT_EQ(first, folder + "/kavorind-20260101-000000-t42.png");
    // The same second and tick: the next free name, the first picture left as it was, and
    // neither a file nor a link (even one to nothing) under a name is written over or through.
    putFile(folder + "/kavorind-20260101-000000-t42-2.png", "someone's file");
#ifdef _WIN32
    // Windows lets only some accounts make links: a plain file takes the name there.
    putFile(folder + "/kavorind-20260101-000000-t42-3.png", "another file");
#else
    std::filesystem::create_symlink(scratch / "elsewhere.png",
                                    folder + "/kavorind-20260101-000000-t42-3.png");
#endif
    const std::string firstBytes = fileText(first);
    ASSERT_EQ(saveShownFrame(frame, folder, when, &second, &why), 1) << why;
    EXPECT_EQ(second, folder + "/kavorind-20260101-000000-t42-4.png");
    EXPECT_FALSE(std::filesystem::exists(scratch / "elsewhere.png"));
    EXPECT_EQ(fileText(first), firstBytes);
    EXPECT_EQ(fileText(folder + "/kavorind-20260101-000000-t42-2.png"), "someone's file");

    const std::string bytes = fileText(second);
    PngPicture picture;
    ASSERT_EQ(
        decodePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, &picture, &why),
        1)
        << why;
    EXPECT_TRUE(picture.indexed);
    EXPECT_EQ(picture.paletteSize, 256);
    EXPECT_EQ(picture.width, 7);
    EXPECT_EQ(picture.pixels, frame.pixels);
    EXPECT_EQ(picture.palette, frame.colours);
}

TEST(Screenshot, NothingIsWrittenWithoutAFrameOrAFolder) {
    ScratchFolder scratch;
    std::tm when{};
    std::string savedAs;
    std::string why;
    EXPECT_EQ(saveShownFrame(ShownFrame{}, scratch / "shots", when, &savedAs, &why), 0);
    EXPECT_FALSE(std::filesystem::exists(scratch / "shots"));
    putFile(scratch / "blocked", "a file where the folder goes");
    EXPECT_EQ(saveShownFrame(testFrame(1), scratch / "blocked", when, &savedAs, &why), 0);
    EXPECT_NE(why.find("cannot make the folder"), std::string::npos) << why;
    EXPECT_EQ(fileText(scratch / "blocked"), "a file where the folder goes");
}

} // namespace
} // namespace kavorind
