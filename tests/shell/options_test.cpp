#include "shell/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace kavorind {
namespace {

struct Parsed {
    int ok = 0;
    GameOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "kavorind");
    Parsed parsed;
    parsed.ok = parseOptions(static_cast<int>(arguments.size()), arguments.data(), &parsed.options,
                             &parsed.error);
    return parsed;
}

TEST(Options, NothingGivenLeavesEverySettingToTheConfiguration) {
    Parsed parsed = parse({});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.options.windowed, -1);
    EXPECT_EQ(parsed.options.scale, ScaleUnset);
    EXPECT_EQ(parsed.options.volume, -1);
    EXPECT_EQ(parsed.options.mute, -1);
    EXPECT_TRUE(parsed.options.dataDir.empty());
}

TEST(Options, ValuesComeAsTheNextArgumentOrAfterAnEqualsSign) {
    Parsed parsed = parse({"--windowed", "--scale", "integer", "--volume=35", "--data", "d",
                           "--record=r.keys", "--replay", "p.keys", "--trace", "t.jsonl",
                           "--config", "c.cfg", "--mute", "--where"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const GameOptions& o = parsed.options;
    EXPECT_EQ(o.windowed, 1);
    EXPECT_EQ(o.scale, ScaleInteger);
    EXPECT_EQ(o.volume, 35);
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.recordFile, "r.keys");
    EXPECT_EQ(o.replayFile, "p.keys");
    EXPECT_EQ(o.traceFile, "t.jsonl");
    EXPECT_EQ(o.configFile, "c.cfg");
    EXPECT_EQ(o.mute, 1);
    EXPECT_EQ(o.where, 1);
    // The later of two choices wins.
    EXPECT_EQ(parse({"--windowed", "--fullscreen"}).options.windowed, 0);
    EXPECT_EQ(parse({"--timedemo", "course.keys"}).options.timedemoFile, "course.keys");
}

TEST(Options, RefusesWhatItDoesNotKnowNamingIt) {
    struct Case {
        std::vector<const char*> arguments;
        const char* named;
    };
    for (const Case& c : {Case{{"--frobnicate"}, "--frobnicate"}, Case{{"game.keys"}, "game.keys"},
                          Case{{"--scale", "huge"}, "huge"}, Case{{"--volume", "101"}, "101"},
                          Case{{"--volume", "-1"}, "-1"}, Case{{"--volume", "5x"}, "5x"},
                          Case{{"--data"}, "--data"}, Case{{"--help=yes"}, "--help=yes"},
                          Case{{"--record="}, "--record"},
                          Case{{"--replay", "a.keys", "--timedemo", "b.keys"}, "--timedemo"}}) {
        Parsed parsed = parse(c.arguments);
        EXPECT_FALSE(parsed.ok) << c.named;
        EXPECT_NE(parsed.error.find(c.named), std::string::npos) << parsed.error;
    }
}

TEST(Options, ScaleNamesGoBothWays) {
    for (int choice : {ScaleSharp, ScaleInteger, ScaleStretch})
        EXPECT_EQ(scaleChoiceNamed(scaleChoiceName(choice)), choice);
    EXPECT_EQ(scaleChoiceNamed("Sharp"), ScaleUnset);
}

} // namespace
} // namespace kavorind
