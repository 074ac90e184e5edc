#include "shell/settings_bindings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kavorind {
namespace {

GameSettings read(const std::string& text, std::vector<std::string>* problems) {
    GameSettings settings;
    parseConfigText(text, "k.cfg", &settings, problems);
    return settings;
}

TEST(SettingsBindings, ANewFileReadBackGivesTheBindingsAsShipped) {
    std::vector<std::string> problems;
    GameSettings settings = read(configFileText(settingsFileDefaults()), &problems);
    EXPECT_EQ(bindingsFromSettings(settings, "k.cfg", &problems), defaultBindings());
    EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(SettingsBindings, BindLinesChangeTheirKeyAndABadOneIsNamedWithItsLine) {
    std::vector<std::string> problems;
    GameSettings settings = read("volume = 80\nbind.fire = Q\nbind.up = Nope\n", &problems);
    Bindings bindings = bindingsFromSettings(settings, "k.cfg", &problems);
    Bindings expected = defaultBindings();
    expected.inputs[GAME_FIRE] = {PhysicalInput{INPUT_KEY, 'Q'}};
    EXPECT_EQ(bindings, expected);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("k.cfg:3:"), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("Nope"), std::string::npos) << problems[0];
}

TEST(SettingsBindings, AMisspeltGameKeyIsNamedAndAQuotedInputMadeSafe) {
    std::vector<std::string> problems;
    GameSettings settings = read("bind.jumpp = Space\nBIND.FIRE = Q\nbind.up = \x1b[31m" +
                                     std::string(5000, 'W') + "\nfuture = 1\n",
                                 &problems);
    Bindings bindings = bindingsFromSettings(settings, "k.cfg", &problems);
    Bindings expected = defaultBindings();
    expected.inputs[GAME_FIRE] = {PhysicalInput{INPUT_KEY, 'Q'}};
    EXPECT_EQ(bindings, expected);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].rfind("k.cfg:1: \"bind.jumpp\" names no game key (they are bind.", 0), 0u)
        << problems[0];
    EXPECT_EQ(problems[1].rfind("k.cfg:3: ", 0), 0u) << problems[1];
    EXPECT_NE(problems[1].find("\\x1b[31mWWW"), std::string::npos) << problems[1];
    EXPECT_EQ(problems[1].find('\x1b'), std::string::npos);
    EXPECT_LT(problems[1].size(), 300u);
}

} // namespace
} // namespace kavorind
