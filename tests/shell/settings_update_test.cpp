// The game's own changes to the settings file: the value of the key's line changes and nothing
// else does, a missing key is added under its comment, a missing file is made from the defaults,
// and a file the game cannot take whole is left alone. Each result is read back by the game's
// own reader.
#include "shell/settings_bindings.h"
#include "shell/settings_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kavorind {
namespace {

namespace fs = std::filesystem;

struct SettingsUpdateTest : ::testing::Test {
    fs::path root;
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kavorind-settings-update-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    static std::string textOf(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    static void write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
};

GameSettings readBack(const std::string& text, std::vector<std::string>* problems) {
    GameSettings settings;
    parseConfigText(text, "k.cfg", &settings, problems);
    return settings;
}

// Every line but the key's is kept byte for byte: comments, a line the game cannot read, a later
// version's key, blank lines, odd spacing and a CRLF line; the key's own spacing stays too.
TEST(SettingsText, ChangesOnlyTheValueOfTheKeysLine) {
    const std::string before = "# my settings\r\n"
                               "\n"
                               "  fullscreen\t=   yes   \r\n"
                               "volume = 250\n"
                               "this line has no equals sign\n"
                               "future_key = something new\n"
                               "bind.fire = X\n"
                               "   # indented comment fullscreen = yes\n"
                               "mute=no";
    std::string text = before;
    std::string why;
    ASSERT_EQ(changeSettingsText(&text, {{"fullscreen", "no"}, {"mute", "yes"}}, &why), 1) << why;
    std::string expected = before;
    expected.replace(expected.find("yes   \r\n"), 3, "no");
    expected.replace(expected.rfind("no"), 2, "yes");
    EXPECT_EQ(text, expected);
    std::vector<std::string> problems;
    GameSettings settings = readBack(text, &problems);
    EXPECT_EQ(settings.fullScreen, 0);
    EXPECT_EQ(settings.mute, 1);
    // The bad lines are still there and still said to be bad.
    EXPECT_EQ(problems.size(), 2u);
}

// The game reads the last line of a key; that is the one that changes. A line whose value the
// game refused ("maybe") is still the key's line. "bind." keys are matched in any case.
TEST(SettingsText, ChangesTheLineTheGameReads) {
    std::string text = "fullscreen = yes\nfullscreen = maybe\nBIND.Fire = X\nfullscreen=\n";
    std::string why;
    ASSERT_EQ(changeSettingsText(&text, {{"fullscreen", "no"}, {"bind.fire", "C"}}, &why), 1);
    EXPECT_EQ(text, "fullscreen = yes\nfullscreen = maybe\nBIND.Fire = C\nfullscreen= no\n");
    std::vector<std::string> problems;
    EXPECT_EQ(readBack(text, &problems).fullScreen, 0);
}

// A key on no line is added at the end under its comment from the defaults, after a last line
// that had no line ending, in the file's own line ending; a key nobody knows comes bare.
TEST(SettingsText, AddsMissingKeysUnderTheirComments) {
    std::string text = "volume = 40\r\nmute = no";
    std::string why;
    ASSERT_EQ(changeSettingsText(&text, {{"fullscreen", "no"}, {"extra", "1"}}, &why), 1) << why;
    std::string comment;
    for (const ConfigDefault& entry : settingsFileDefaults())
        if (entry.key == "fullscreen")
            comment = entry.comment;
    ASSERT_FALSE(comment.empty());
    EXPECT_EQ(text, "volume = 40\r\nmute = no\r\n\r\n# " + comment +
                        "\r\nfullscreen = no\r\n\r\nextra = 1\r\n");
    std::vector<std::string> problems;
    GameSettings settings = readBack(text, &problems);
    EXPECT_EQ(settings.fullScreen, 0);
    EXPECT_EQ(settings.volume, 40);
    EXPECT_TRUE(problems.empty());
}

// A value or key that would make another line, or lose its spaces when read, is refused whole.
TEST(SettingsText, RefusesWhatOneLineCannotHold) {
    const std::string before = "mute = no\n";
    for (const SettingChange& change : std::vector<SettingChange>{{"mute", "no\nfullscreen = no"},
                                                                  {"mute", " yes"},
                                                                  {"a=b", "1"},
                                                                  {"#mute", "1"},
                                                                  {"", "1"}}) {
        std::string text = before;
        std::string why;
        EXPECT_EQ(changeSettingsText(&text, {{"volume", "5"}, change}, &why), 0) << change.first;
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(text, before);
    }
}

TEST_F(SettingsUpdateTest, MissingFileIsMadeFromTheDefaultsWithTheChange) {
    const fs::path path = root / "new" / "kavorind" / "kavorind.cfg";
    std::string why;
    ASSERT_EQ(updateSettingsFile(path.string(), "fullscreen", "no", &why), 1) << why;
    const std::string text = textOf(path);
    std::vector<ConfigDefault> defaults = settingsFileDefaults();
    defaults.front().value = "no";
    ASSERT_EQ(defaults.front().key, "fullscreen");
    EXPECT_EQ(text, configFileText(defaults));
    std::vector<std::string> problems;
    EXPECT_EQ(readBack(text, &problems).fullScreen, 0);
    EXPECT_TRUE(problems.empty());
}

TEST_F(SettingsUpdateTest, ExistingFileIsRewrittenKeepingItsOtherBytes) {
    const fs::path path = root / "kavorind.cfg";
    write(path, "# mine\nfullscreen = no\nnonsense\n");
    std::string why;
    ASSERT_EQ(updateSettingsFile(path.string(), "fullscreen", "yes", &why), 1) << why;
    EXPECT_EQ(textOf(path), "# mine\nfullscreen = yes\nnonsense\n");
    // Through a link, the file it points to changes and the link stays.
    const fs::path link = root / "link.cfg";
    fs::create_symlink(path, link);
    ASSERT_EQ(updateSettingsFile(link.string(), "fullscreen", "no", &why), 1) << why;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(textOf(path), "# mine\nfullscreen = no\nnonsense\n");
}

// A file that cannot be read whole, or is not text, stays exactly as it is.
TEST_F(SettingsUpdateTest, FileTheGameCannotTakeIsLeftAlone) {
    std::string why;
    const fs::path fifo = root / "fifo.cfg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(updateSettingsFile(fifo.string(), "fullscreen", "no", &why), 0);
    EXPECT_NE(why.find("FIFO"), std::string::npos) << why;
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

    const fs::path large = root / "large.cfg";
    const std::string big = "# " + std::string(configFileLimit, 'x') + "\nfullscreen = yes\n";
    write(large, big);
    EXPECT_EQ(updateSettingsFile(large.string(), "fullscreen", "no", &why), 0);
    EXPECT_NE(why.find("larger than"), std::string::npos) << why;
    EXPECT_EQ(textOf(large), big);

    const fs::path binary = root / "binary.cfg";
    const std::string bytes("fullscreen = yes\n\0\x01", 19);
    write(binary, bytes);
    EXPECT_EQ(updateSettingsFile(binary.string(), "fullscreen", "no", &why), 0);
    EXPECT_EQ(textOf(binary), bytes);

    fs::create_directories(root / "folder");
    EXPECT_EQ(updateSettingsFile((root / "folder").string(), "fullscreen", "no", &why), 0);
    EXPECT_TRUE(fs::is_directory(root / "folder"));
}

// Made unreadable for an unprivileged player (the permission bits do not stop the superuser).
TEST_F(SettingsUpdateTest, UnreadableFileIsLeftAlone) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads any file";
    const fs::path path = root / "locked.cfg";
    write(path, "fullscreen = yes\n");
    fs::permissions(path, fs::perms::none);
    std::string why;
    EXPECT_EQ(updateSettingsFile(path.string(), "fullscreen", "no", &why), 0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(textOf(path), "fullscreen = yes\n");
}

} // namespace
} // namespace kavorind
