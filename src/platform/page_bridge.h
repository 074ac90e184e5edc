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

} // namespace kavorind
