#pragma once
#include "game/game_state.h"

namespace kavorind {

// The stage-clear tally's counting: the score counts up, then the hit-point bar grows, then the
// special shots count up, each with a tick of sound, then a pause and a fade. A skip key finishes
// the running phase at once.
struct TallyScene {
    int32_t tallyStarted = 0;
    int32_t tallyPhase = 0;   // 0 score, 1 hit-point bar, 2 special count, 3 pause, 4 fade, 5 done
    int32_t tallyCounter = 0; // ticks spent in the current phase
    int32_t shownScore = 0;
    int32_t shownHpWidth = 0; // pixels of the hit-point bar on display
    int32_t shownSpecial = 0;
    int32_t fadePercent = 0; // 0 to 100
};

extern TallyScene tallyScene;

// Back to phase 0 with nothing shown.
void resetTally(TallyScene* tally);
// One tick of the tally; skipPressed is 1 when Z, X or Escape was freshly pressed. *countingTicks
// is set to 1 when the counting sound plays on this tick. 1 to go on, 0 when the tally is over.
int stepTally(TallyScene* tally, const GameState& state, int skipPressed, int* countingTicks);

} // namespace kavorind
