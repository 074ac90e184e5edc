#pragma once
#include "shell/config_file.h"

namespace kavorind {

// The shell's own state.
struct Shell {
    // 1 from the first shut-down until the next start-up: ticks that arrive meanwhile do nothing.
    int shutDownBegun = 0;
    // The configuration file with the command line over it, set by kavorindMain before the
    // program starts; the headless tools, which start the program themselves, keep the defaults.
    GameSettings settings;
    // Timer ticks handled since the program started, numbered from 1 as the headless runner's.
    int ticksHandled = 0;
};

extern Shell shell;

// Stops the scenes that hold resources, releases the content, stops the frame timer, destroys the
// display, closes the sound device and shows the cursor again. Every step is harmless on what is
// already released, so it may run more than once.
void shutDown();

} // namespace kavorind
