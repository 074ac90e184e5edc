// The stage-clear tally's counting, phase by phase, with and without skip keys.
#include "game/tally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kavorind {

namespace {

struct TallyRun {
    std::vector<int> phaseTicks = std::vector<int>(6, 0); // ticks that ran in each phase
    int soundTicks = 0;
    int ticks = 0;
};

// Runs a tally to its end; skips says on which ticks (from 1) a skip key is freshly pressed.
TallyRun runTally(const GameState& state, std::vector<int> skips = {}, TallyScene* out = nullptr) {
    TallyScene tally;
    resetTally(&tally);
    TallyRun run;
    for (int tick = 1; tick < 1000; ++tick) {
        const int skip = std::find(skips.begin(), skips.end(), tick) != skips.end();
        const int phase = tally.tallyPhase;
        int sound = 0;
        const int goOn = stepTally(&tally, state, skip, &sound);
        run.soundTicks += sound;
        run.ticks = tick;
        if (!goOn)
            break;
        run.phaseTicks[static_cast<size_t>(skip ? tally.tallyPhase : phase)] += 1;
    }
    if (out)
        *out = tally;
    return run;
}

GameState cleared(int score, int hp, int specials) {
    GameState state;
    state.score = score;
    state.hp = hp;
    state.specialCount = specials;
    return state;
}

TEST(Tally, PhasesLastTheirTicksWithoutKeys) {
    for (GameState state : {cleared(12345, 3, 2), cleared(500, 5, 0), cleared(0, 1, 9)}) {
        TallyRun run = runTally(state);
        EXPECT_EQ(run.phaseTicks[0], 61);
        EXPECT_EQ(run.phaseTicks[1], state.hp * 10 + 11);
        EXPECT_EQ(run.phaseTicks[2], state.specialCount * 8 + 11);
        EXPECT_EQ(run.phaseTicks[3], 31);
        EXPECT_EQ(run.phaseTicks[4], 20);
        // Counting sounds: 50 score steps, hp x 10 bar steps, one per special shot.
        EXPECT_EQ(run.soundTicks, 50 + state.hp * 10 + state.specialCount);
        EXPECT_EQ(run.ticks, 61 + state.hp * 10 + 11 + state.specialCount * 8 + 11 + 31 + 20 + 1);
    }
}

TEST(Tally, ScoreClimbsInStepsOfItsHundredsAndABelowHundredScoreShowsLate) {
    TallyScene tally;
    resetTally(&tally);
    const GameState small = cleared(99, 3, 0);
    for (int tick = 1; tick <= 50; ++tick) {
        stepTally(&tally, small, 0, nullptr);
        ASSERT_EQ(tally.shownScore, 0) << tick;
    }
    stepTally(&tally, small, 0, nullptr);
    EXPECT_EQ(tally.shownScore, 99);

    resetTally(&tally);
    tally.tallyCounter = 0;
    const GameState big = cleared(1234, 3, 0);
    stepTally(&tally, big, 0, nullptr);
    stepTally(&tally, big, 0, nullptr);
    EXPECT_EQ(tally.shownScore, 24); // 12 x 1 x 2
}

TEST(Tally, NoSpecialsShowsZeroSilentlyForElevenTicks) {
    TallyScene tally;
    TallyRun run = runTally(cleared(0, 0, 0), {}, &tally);
    EXPECT_EQ(run.phaseTicks[2], 11);
    EXPECT_EQ(run.soundTicks, 50); // only the score's steps; no bar, no specials
}

TEST(Tally, ASkipFinishesOnlyTheRunningPhase) {
    const GameState state = cleared(5000, 4, 2);
    TallyScene tally;
    resetTally(&tally);
    // A fresh press on tick 3 finishes the score and the bar starts growing in the same tick.
    stepTally(&tally, state, 0, nullptr);
    stepTally(&tally, state, 0, nullptr);
    stepTally(&tally, state, 1, nullptr);
    EXPECT_EQ(tally.shownScore, 5000);
    EXPECT_EQ(tally.tallyPhase, 1);
    EXPECT_EQ(tally.tallyCounter, 1);
    // A key held on (no fresh press) does not skip again.
    for (int tick = 0; tick < 5; ++tick)
        stepTally(&tally, state, 0, nullptr);
    EXPECT_EQ(tally.tallyPhase, 1);
    EXPECT_EQ(tally.shownHpWidth, 15);
    // Five fresh presses in a row: the fifth skips the fade, unfinished, and the tally ends in that
    // same tick.
    TallyScene skipped;
    TallyRun run = runTally(state, {1, 2, 3, 4, 5}, &skipped);
    EXPECT_EQ(run.ticks, 5);
    EXPECT_EQ(skipped.fadePercent, 5); // one step of the fade, on the fourth tick
}

TEST(Tally, ASkipOnTheTickTheLastPhaseIsCurrentStillEndsIt) {
    const GameState state = cleared(100, 2, 1);
    const int ticks = runTally(state).ticks;
    EXPECT_EQ(runTally(state, {ticks}).ticks, ticks);
}

} // namespace

} // namespace kavorind
