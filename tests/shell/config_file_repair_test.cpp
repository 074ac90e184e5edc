// A settings file the game cannot use: FIFOs, devices and huge files refused at once with the
// defaults; an empty, binary or wholly wrong file replaced by the defaults with the old one kept
// beside it (never over an earlier copy); a file with some good lines left alone; and every line
// quoted in a message made safe for a terminal.
#include "shell/config_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kavorind {
namespace {

namespace fs = std::filesystem;

struct ConfigRepairTest : ::testing::Test {
    fs::path root;
    fs::path path;
    std::vector<std::string> problems;
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kavorind-repair-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        path = root / "kavorind.cfg";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root);
    }
    static std::string textOf(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void write(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    GameSettings load() { return loadConfigFile(path.string(), defaultConfigEntries(), &problems); }
    std::string allProblems() const {
        std::string all;
        for (const std::string& problem : problems)
            all += problem + "\n";
        return all;
    }
    bool said(const std::string& words) const {
        return allProblems().find(words) != std::string::npos;
    }
};

TEST_F(ConfigRepairTest, FifoDeviceAndHugeFileAreRefusedAtOnceWithTheDefaults) {
    // Read as before, a FIFO waits forever for a writer and /dev/zero never ends.
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    GameSettings settings = load();
    EXPECT_TRUE(said("is a FIFO")) << allProblems();
    EXPECT_EQ(settings.volume, 100);

    problems.clear();
    settings = loadConfigFile("/dev/zero", defaultConfigEntries(), &problems);
    EXPECT_TRUE(said("/dev/zero (is a device")) << allProblems();
    EXPECT_EQ(settings.fullScreen, 1);

    problems.clear();
    fs::path huge = root / "huge.cfg";
    write(huge, "volume = 5\n" + std::string(configFileLimit, '#'));
    settings = loadConfigFile(huge.string(), defaultConfigEntries(), &problems);
    EXPECT_TRUE(said("larger than 1 MiB")) << allProblems();
    EXPECT_EQ(settings.volume, 100);
    EXPECT_EQ(fs::file_size(huge), configFileLimit + 11) << "a file too large is left alone";
    EXPECT_FALSE(fs::exists(huge.string() + ".bad"));
}

TEST_F(ConfigRepairTest, EmptyBinaryAndWhollyWrongFilesAreReplacedAndKeptAsBad) {
    const std::string defaults = configFileText(defaultConfigEntries());
    struct Case {
        const char* name;
        std::string text;
        const char* said;
    };
    const Case cases[] = {
        {"empty", "", "is empty"},
        {"blank", " \n\n\t\r\n", "is empty"},
        {"nul", std::string("volume = 40\n\0\0\0", 15), "NUL bytes"},
        {"latin1", "volume = 40\n# r\xe9glages\n", "is not UTF-8"},
        {"overlong", "volume = 40\n\xc0\xaf\n", "is not UTF-8"},
        {"wrong", "fullscreen = maybe\nhello there\n# a comment\n", "no line the game can use"},
    };
    for (const Case& c : cases) {
        problems.clear();
        fs::remove_all(root);
        fs::create_directories(root);
        write(path, c.text);
        GameSettings settings = load();
        EXPECT_TRUE(said(c.said)) << c.name << ": " << allProblems();
        EXPECT_TRUE(said("kept as " + path.string() + ".bad and")) << c.name;
        EXPECT_EQ(settings.volume, 100) << c.name;
        EXPECT_EQ(textOf(path), defaults) << c.name;
        EXPECT_EQ(textOf(path.string() + ".bad"), c.text) << c.name;
    }
}

TEST_F(ConfigRepairTest, AnEarlierBadCopyIsNeverOverwritten) {
    write(path.string() + ".bad", "the first copy");
    write(path.string() + ".bad.1", "the second copy");
    write(path, "nonsense\n");
    load();
    EXPECT_TRUE(said("kept as " + path.string() + ".bad.2 and")) << allProblems();
    EXPECT_EQ(textOf(path.string() + ".bad"), "the first copy");
    EXPECT_EQ(textOf(path.string() + ".bad.1"), "the second copy");
    EXPECT_EQ(textOf(path.string() + ".bad.2"), "nonsense\n");
    EXPECT_EQ(textOf(path), configFileText(defaultConfigEntries()));
}

TEST_F(ConfigRepairTest, FilesWithAGoodOrAnUnjudgedLineAreLeftAsTheyAre) {
    const std::string texts[] = {
        "volume = 30\nhello there\nscale = blurry\n", // one good line among bad ones
        "# only comments\n# volume = 10\n",           // nothing wrong in it
        "bind.fire = Nope\nhello\n",                  // bindings are the controls' to judge
        "future = 3\nhello\n",                        // a later version's key
    };
    for (const std::string& text : texts) {
        problems.clear();
        write(path, text);
        GameSettings settings = load();
        EXPECT_EQ(settings.volume, text == texts[0] ? 30 : 100);
        EXPECT_EQ(textOf(path), text);
        EXPECT_FALSE(fs::exists(path.string() + ".bad")) << text;
        EXPECT_FALSE(said("kept as")) << allProblems();
    }
}

TEST_F(ConfigRepairTest, AFileThatCannotBeReplacedIsLeftAloneAndSaidSo) {
    // Read-only counts even for the superuser: the writer respects the permission bits.
    write(path, "");
    fs::permissions(path, fs::perms::owner_read);
    load();
    EXPECT_TRUE(said("is read-only")) << allProblems();
    EXPECT_TRUE(said("left as it is")) << allProblems();
    EXPECT_FALSE(fs::exists(path.string() + ".bad"));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(ShownText, ControlCharactersAreEscapedAndLongLinesCut) {
    std::vector<std::string> problems;
    GameSettings settings;
    std::string longLine(10 << 20, 'x');
    parseConfigText("volume = \x1b[2J\x1b]0;owned\x07\n" + longLine +
                        "\nmute = \xc2\x9b"
                        "1m\n",
                    "k.cfg", &settings, &problems);
    ASSERT_EQ(problems.size(), 3u);
    for (const std::string& problem : problems)
        for (unsigned char c : problem)
            EXPECT_TRUE(c >= 0x20 && c != 0x7f) << "a raw control character in: " << problem;
    EXPECT_NE(problems[0].find("\"volume = \\x1b[2J\\x1b]0;owned\\x07\""), std::string::npos)
        << problems[0];
    EXPECT_LT(problems[1].size(), 300u);
    EXPECT_NE(problems[1].find("x... (10485760 bytes in all)"), std::string::npos);
    EXPECT_NE(problems[2].find("mute = \\u009b1m"), std::string::npos) << problems[2];
    // The cut falls between characters, never inside one.
    std::string shown =
        shownText(std::string(shownTextLength - 1, 'a') + "\xed\x95\x9c\xea\xb8\x80");
    EXPECT_EQ(shown, std::string(shownTextLength - 1, 'a') + "\xed\x95\x9c... (125 bytes in all)");
}

} // namespace
} // namespace kavorind
