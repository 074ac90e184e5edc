#pragma once

namespace kavorind {

// Pauses: no tick runs, the voices hold still and the picture is shown again dimmed.
void beginPause();
// Resumes: the voices go on and the next tick runs as if nothing had happened.
void endPause();
// At every timer tick: follows the pause key and, while paused, Escape; 1 while the tick is held.
int pauseHoldsTick();

} // namespace kavorind
