#pragma once

// 1 from the first shut-down until the next start-up: ticks that arrive meanwhile do nothing.
extern int shutDownBegun;

// Stops the scenes that hold resources, stops the frame timer, destroys the display and shows the
// cursor again. Every step is harmless on what is already released, so it may run more than once.
void shutDown();
