// The configuration file: written with its defaults on first run and read back the same, bad lines
// named by file and line and ignored, keys it does not know kept for others, and the command line
// laid over it.
#include "shell/config_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kavorind {
namespace {

namespace fs = std::filesystem;

struct ConfigFileTest : ::testing::Test {
    fs::path root;
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kavorind-config-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
    }
    void TearDown() override { fs::remove_all(root); }
    static std::string textOf(const fs::path& path) {
        std::ifstream file(path);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

GameSettings parsed(const std::string& text, std::vector<std::string>* problems) {
    GameSettings settings;
    parseConfigText(text, "k.cfg", &settings, problems);
    return settings;
}

TEST(ConfigPath, OptionThenConfigHomeThenHome) {
    EXPECT_EQ(configFilePath("mine.cfg", "/x", "/h"), "mine.cfg");
    EXPECT_EQ(configFilePath("", "/x", "/h"), "/x/kavorind/kavorind.cfg");
    EXPECT_EQ(configFilePath("", "", "/h"), "/h/.config/kavorind/kavorind.cfg");
    EXPECT_EQ(configFilePath("", nullptr, "/h"), "/h/.config/kavorind/kavorind.cfg");
    EXPECT_EQ(configFilePath("", nullptr, nullptr), "");
    // A relative XDG_CONFIG_HOME would follow the working directory around: it is passed over.
    EXPECT_EQ(configFilePath("", "rel/config", "/h"), "/h/.config/kavorind/kavorind.cfg");
    EXPECT_EQ(configFilePath("", "./x", nullptr), "");
}

TEST_F(ConfigFileTest, FirstRunWritesCommentedDefaultsInNewFoldersAndReadsThemBack) {
    fs::path path = root / "deep" / "kavorind" / "kavorind.cfg";
    std::vector<ConfigDefault> entries = defaultConfigEntries();
    entries.push_back({"bind.fire", "Z", "The key that fires."});
    std::vector<std::string> problems;
    GameSettings first = loadConfigFile(path.string(), entries, &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    ASSERT_TRUE(fs::is_regular_file(path));

    // Every entry stands under its own comment line.
    std::istringstream lines(textOf(path));
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    for (const ConfigDefault& entry : entries) {
        auto at = std::find(all.begin(), all.end(), entry.key + " = " + entry.value);
        ASSERT_NE(at, all.end()) << entry.key;
        ASSERT_NE(at, all.begin());
        EXPECT_EQ(*(at - 1), "# " + entry.comment);
    }

    // Read back on the next run: the defaults, and the binding kept with its line number.
    GameSettings again = loadConfigFile(path.string(), entries, &problems);
    EXPECT_TRUE(problems.empty());
    for (const GameSettings* settings : {&first, &again}) {
        EXPECT_EQ(settings->fullScreen, 1);
        EXPECT_EQ(settings->scale, ScaleSharp);
        EXPECT_EQ(settings->volume, 100);
        EXPECT_EQ(settings->mute, 0);
        ASSERT_EQ(settings->otherEntries.size(), 1u);
        EXPECT_EQ(settings->otherEntries[0].key, "bind.fire");
        EXPECT_EQ(settings->otherEntries[0].value, "Z");
    }
    auto bound = std::find(all.begin(), all.end(), "bind.fire = Z");
    EXPECT_EQ(again.otherEntries[0].line, bound - all.begin() + 1);
}

TEST(ConfigText, SettingsTakenWithSpacesCommentsAndBlankLines) {
    std::vector<std::string> problems;
    GameSettings settings = parsed("# mine\n\n  fullscreen=no\r\nscale = Stretch\nvolume =  0 \n"
                                   "mute = YES\n",
                                   &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(settings.fullScreen, 0);
    EXPECT_EQ(settings.scale, ScaleStretch);
    EXPECT_EQ(settings.volume, 0);
    EXPECT_EQ(settings.mute, 1);
}

TEST(ConfigText, BadLinesAreNamedWithTheirLineNumberAndLeaveTheDefault) {
    std::vector<std::string> problems;
    GameSettings settings = parsed("fullscreen = maybe\n# fine\nno equals sign\nvolume = 101\n"
                                   "volume = -1\nscale = blurry\nmute =\n = yes\nvolume = 40\n",
                                   &problems);
    ASSERT_EQ(problems.size(), 7u);
    const char* starts[] = {
        "k.cfg:1: ", "k.cfg:3: ", "k.cfg:4: ", "k.cfg:5: ", "k.cfg:6: ", "k.cfg:7: ", "k.cfg:8: "};
    for (size_t i = 0; i < problems.size(); ++i)
        EXPECT_EQ(problems[i].rfind(starts[i], 0), 0u) << problems[i];
    EXPECT_NE(problems[0].find("\"fullscreen = maybe\""), std::string::npos);
    EXPECT_EQ(settings.fullScreen, 1);
    EXPECT_EQ(settings.scale, ScaleSharp);
    EXPECT_EQ(settings.mute, 0);
    // A good line after bad ones still counts.
    EXPECT_EQ(settings.volume, 40);
    EXPECT_TRUE(settings.otherEntries.empty());
}

TEST(ConfigText, UnknownKeysAreKeptInOrderWithTheirLines) {
    std::vector<std::string> problems;
    GameSettings settings =
        parsed("bind.up = W\nvolume = 20\nfuture = 3\nbind.fire = Space, Enter\n", &problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(settings.otherEntries.size(), 3u);
    EXPECT_EQ(settings.otherEntries[0].key, "bind.up");
    EXPECT_EQ(settings.otherEntries[0].line, 1);
    EXPECT_EQ(settings.otherEntries[1].key, "future");
    EXPECT_EQ(settings.otherEntries[1].line, 3);
    EXPECT_EQ(settings.otherEntries[2].value, "Space, Enter");
    EXPECT_EQ(settings.otherEntries[2].line, 4);
}

TEST_F(ConfigFileTest, UnreadableOrUnwritableFilesAreSaidOnceAndTheDefaultsUsed) {
    std::vector<std::string> problems;
    fs::create_directories(root / "a-folder.cfg");
    GameSettings settings = loadConfigFile((root / "a-folder.cfg").string(), {}, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("cannot read"), std::string::npos) << problems[0];
    EXPECT_EQ(settings.volume, 100);

    // A folder that cannot be made: its parent is a file.
    problems.clear();
    std::ofstream(root / "plain") << "x";
    settings = loadConfigFile((root / "plain" / "kavorind.cfg").string(), defaultConfigEntries(),
                              &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("cannot write"), std::string::npos) << problems[0];
    EXPECT_EQ(settings.fullScreen, 1);
}

TEST(EffectiveSettings, OptionsGivenWinOverTheConfiguration) {
    GameSettings config;
    config.fullScreen = 0;
    config.scale = ScaleInteger;
    config.volume = 30;
    config.mute = 1;
    config.otherEntries.push_back({"bind.up", "W", 2});

    GameSettings untouched = effectiveSettings(config, GameOptions{});
    EXPECT_EQ(untouched.fullScreen, 0);
    EXPECT_EQ(untouched.scale, ScaleInteger);
    EXPECT_EQ(untouched.volume, 30);
    EXPECT_EQ(untouched.mute, 1);
    ASSERT_EQ(untouched.otherEntries.size(), 1u);

    GameOptions options;
    options.windowed = 0;
    options.scale = ScaleStretch;
    options.volume = 0;
    options.mute = 0;
    GameSettings over = effectiveSettings(config, options);
    EXPECT_EQ(over.fullScreen, 1);
    EXPECT_EQ(over.scale, ScaleStretch);
    EXPECT_EQ(over.volume, 0);
    EXPECT_EQ(over.mute, 0);
}

} // namespace
} // namespace kavorind
