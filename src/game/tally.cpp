#include "game/tally.h"

namespace kavorind {

TallyScene tallyScene;

namespace {

void goToPhase(TallyScene* tally, int32_t phase) {
    tally->tallyPhase = phase;
    tally->tallyCounter = 0;
}

// Finishes the running phase at once; in the last phase there is nothing left to skip.
void skipPhase(TallyScene* tally, const GameState& state) {
    if (tally->tallyPhase == 0)
        tally->shownScore = state.score;
    else if (tally->tallyPhase == 1)
        tally->shownHpWidth = state.hp * 30;
    else if (tally->tallyPhase == 2)
        tally->shownSpecial = state.specialCount;
    if (tally->tallyPhase <= 4)
        goToPhase(tally, tally->tallyPhase + 1);
}

// The score climbs in steps of twice its hundreds and shows exactly from the 51st tick.
void countScore(TallyScene* tally, const GameState& state, int* sound) {
    const int32_t c = tally->tallyCounter;
    if (c < 50) {
        tally->shownScore = static_cast<int32_t>(static_cast<uint32_t>(state.score) / 100u *
                                                 static_cast<uint32_t>(c) * 2u);
        *sound = 1;
    } else {
        tally->shownScore = state.score;
    }
    if (++tally->tallyCounter > 60)
        goToPhase(tally, 1);
}

void growHpBar(TallyScene* tally, const GameState& state, int* sound) {
    const int32_t c = tally->tallyCounter;
    if (c < state.hp * 10) {
        tally->shownHpWidth = c * 3;
        *sound = 1;
    } else {
        tally->shownHpWidth = state.hp * 30;
    }
    if (++tally->tallyCounter > state.hp * 10 + 10)
        goToPhase(tally, 2);
}

// One tick of sound per special shot counted.
void countSpecials(TallyScene* tally, const GameState& state, int* sound) {
    const int32_t c = tally->tallyCounter;
    if (c < state.specialCount * 8) {
        tally->shownSpecial = c / 8;
        if (c % 8 == 0)
            *sound = 1;
    } else {
        tally->shownSpecial = state.specialCount;
    }
    if (++tally->tallyCounter > state.specialCount * 8 + 10)
        goToPhase(tally, 3);
}

} // namespace

void resetTally(TallyScene* tally) {
    tally->tallyPhase = 0;
    tally->shownScore = 0;
    tally->shownHpWidth = 0;
    tally->shownSpecial = 0;
    tally->fadePercent = 0;
}

int stepTally(TallyScene* tally, const GameState& state, int skipPressed, int* countingTicks) {
    int sound = 0;
    if (skipPressed)
        skipPhase(tally, state);
    switch (tally->tallyPhase) {
    case 0:
        countScore(tally, state, &sound);
        break;
    case 1:
        growHpBar(tally, state, &sound);
        break;
    case 2:
        countSpecials(tally, state, &sound);
        break;
    case 3:
        if (++tally->tallyCounter > 30)
            goToPhase(tally, 4);
        break;
    case 4:
        tally->fadePercent += 5;
        if (tally->fadePercent >= 100)
            goToPhase(tally, 5);
        break;
    default:
        tally->tallyCounter = 0;
        if (countingTicks)
            *countingTicks = 0;
        return 0;
    }
    if (countingTicks)
        *countingTicks = sound;
    return 1;
}

} // namespace kavorind
