#pragma once
#include <cstdint>

namespace kavorind {
// What the program shows, offered to whoever watches it from outside: in the browser the page
// around the game (and its tests) sees the tick being handled and every frame presented, its
// palette indices with the colours they are shown in, and may close the game as a window's close
// button would. On the desktop nobody watches and the offer costs nothing.

// The shell numbers the timer ticks it handles from 1, as the headless runner numbers its ticks.
void platformNoteTick(int tick);
int platformNotedTick();
// The frame about to be shown: width x height indices, rows pitch bytes apart, through the
// 256-entry ARGB table.
void platformOfferFrame(const uint8_t* indices, int pitch, int width, int height,
                        const uint32_t* argbTable);

// The player's own files (the score table and the replays in folder) were written, or start-up has
// found them: the page keeps them in the browser's storage and shows the table of the content
// with this fingerprint.
void platformPlayerFilesChanged(const char* folder, const char* contentFingerprint);

// The program ends with this exit code: returned as it is on the desktop; in the browser the
// page is told, even where the page's own timers would keep the program alive.
int platformProgramEnds(int exitCode);

// One pass of the program's loop: 1 to go on, 0 once it has ended (its exit code in *exitCode).
using PlatformLoopPass = int (*)(int* exitCode);
// The end of the program after its loop, returning the exit code it ends with.
using PlatformLoopEnd = int (*)(int exitCode);
// In the browser the page drives the loop: pass runs once a display frame (backToBack: as often
// as the page allows, a replay played without waiting), never blocking, and when it returns 0,
// end runs and the program ends there; this call never returns. On the desktop nothing is handed
// over and it returns 0 at once: the caller runs its own loop.
int platformHandLoopToPage(PlatformLoopPass pass, PlatformLoopEnd end, int backToBack);

} // namespace kavorind
