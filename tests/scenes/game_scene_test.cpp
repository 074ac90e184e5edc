// The game scene on the test content through the headless runner, and the head-up display.
#include "assets/content_catalogue.h"
#include "scene_test_support.h"
#include "scenes/game_hud.h"
#include "scenes/scene_protocol.h"

#include <fstream>
#include <sstream>

namespace kavorind {

namespace {

std::string goldenKeys(const std::string& name) {
    std::ifstream file(std::string(KAVORIND_SOURCE_DIR) + "/tests/golden/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool allRed(const TraceLine& line) {
    if (line.palette.size() != 256)
        return false;
    for (const std::vector<int>& colour : line.palette)
        if (colour != std::vector<int>{255, 0, 0})
            return false;
    return true;
}

// A hit shows an all-red frame, and the next frame without a hit the stage's own colours again:
// the screen is red exactly on the ticks that cost the craft a hit point.
TEST_F(FrontEndTest, EveryHitFlashesRedForOneFrame) {
    SimRun game = run(goldenKeys("game-first-stage.keys"), 470, "--palette --scene 3 --stage 0");
    ASSERT_EQ(game.lines.size(), 470u) << game.stderrText;
    int flashes = 0;
    for (int tick = 2; tick <= 470; ++tick) {
        if (game.at(tick)["scene"] != SceneGame)
            continue;
        const bool hit = game.at(tick)["hp"] < game.at(tick - 1)["hp"];
        EXPECT_EQ(allRed(game.at(tick)), hit) << "tick " << tick;
        flashes += hit;
    }
    EXPECT_EQ(flashes, 3);
    EXPECT_EQ(game.at(470)["scene"], SceneMenu) << "the third hit ended the game";
}

// After stages 0 and 1 the tally starts the next stage with the game as it stands; after the last
// it goes to the ending and the next game starts at stage 0.
TEST_F(FrontEndTest, TallyLeadsToTheNextStageOrAfterTheLastToTheEnding) {
    for (int stage : {0, 1, 2}) {
        SimRun tally = run("", 200, "--scene 4 --stage " + std::to_string(stage));
        ASSERT_EQ(tally.lines.size(), 200u) << tally.stderrText;
        int left = 0;
        while (left < 200 && tally.lines[static_cast<size_t>(left)]["scene"] == SceneStageClear)
            ++left;
        ASSERT_LT(left, 200) << "stage " << stage;
        // hp 3 and 3 specials: 61 + 41 + 35 + 31 + 20 ticks; the tick after them finds the end
        // and its line already shows the successor.
        EXPECT_EQ(left, 188) << "stage " << stage;
        const TraceLine& next = tally.lines[static_cast<size_t>(left)];
        EXPECT_EQ(next["scene"], stage == 2 ? SceneEnding : SceneGame);
        EXPECT_EQ(next["stageIndex"], stage == 2 ? 0 : stage + 1);
        if (stage < 2) {
            const TraceLine& firstTick = tally.lines[static_cast<size_t>(left + 1)];
            EXPECT_EQ(firstTick["hp"], 3) << "the game state carries over";
            EXPECT_EQ(firstTick["specialCount"], 3);
            EXPECT_EQ(firstTick["playerX"], 100);
        }
    }
}

// Frames of the status icon show 11, 12, 13 and of the gauge 20 to 25 at their hot spots.
TEST(GameHud, StatusIconAndGaugeFollowTheHitPoints) {
    auto numbered = [](SpriteSet& set, int frames, uint8_t first) {
        SpriteSetImage image;
        for (int f = 0; f < frames; ++f)
            image.frames.push_back(
                makeSpriteFrameImage(4, 4, 2, 2, static_cast<uint8_t>(first + f)));
        set.release();
        ASSERT_EQ(set.loadFromMemory(encodeSpriteSet(image)), 1);
    };
    numbered(catalogue.infobarFrame, 3, 11);
    numbered(catalogue.infobarEnergy, 6, 20);
    struct Expected {
        int hp;
        int icon;  // at (30, 30), 0 for none
        int gauge; // at (70, 30)
    };
    for (Expected e : {Expected{-1, 0, 25},
                       {0, 13, 25},
                       {1, 12, 24},
                       {2, 11, 23},
                       {3, 11, 22},
                       {4, 11, 21},
                       {5, 11, 20}}) {
        Surface surface = makeSurface(640, 480);
        GameState state;
        state.hp = e.hp;
        drawHud(&surface, state);
        EXPECT_EQ(surface.pixels[30 * 640 + 30], e.icon) << "hp " << e.hp;
        EXPECT_EQ(surface.pixels[30 * 640 + 70], e.gauge) << "hp " << e.hp;
    }
    catalogue.infobarFrame.release();
    catalogue.infobarEnergy.release();
}

} // namespace

} // namespace kavorind
