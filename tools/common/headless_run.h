#pragma once
#include "platform/keyboard.h"

namespace kavorind {

// The real program run in-process without a screen, as the headless runner and the pilot run it:
// SDL's dummy drivers, timers fired by hand, no message boxes, keys from a source of the tool's.
void prepareHeadlessRun(PlatformKeySource keys);
// How long one tick's two halves took, in seconds: the timer's message with the queue run dry (the
// scene's tick, scene changes included), and the idle step's render (0 when nothing was drawn).
struct HeadlessTickCost {
    double tickSeconds = 0;
    double renderSeconds = 0;
};

// One tick as the frame timer delivers it: the timer's message, the queue run dry, then the idle
// step. 1 while the program runs (0 once it quit; its exit code then in *exitCode); *rendered is 1
// when the idle step drew a frame. With a cost, the two halves are timed into it.
int runHeadlessTick(int* exitCode, int* rendered, HeadlessTickCost* cost = nullptr);
// Asks the program to end as the window's close button would and runs the queue dry; the exit code.
int closeHeadlessRun();
// Moves a freshly started program to another scene, for tests: startRun with only a scene and a
// stage (0 to 2; -1 for none).
void startInScene(int scene, int stage);

} // namespace kavorind
