#pragma once

namespace kavorind {

// The run's bookkeeping, from the hooks around each tick (see around_game.h).
// Before the scene's tick: a run begins on the game scene's first tick when none is under way
// (a practice run is moved to its stage first), and the tick's keys are added to its replay.
void noteRunTickBegins();
// After the scene's tick: the stage reached, the hits and the score followed; the menu or the
// ending closes the run, keeps it and puts its result up.
void noteRunTickEnds();
// Closes a run under way (the program ends): kept, but nothing is shown.
void closeRunAtExit();

} // namespace kavorind
