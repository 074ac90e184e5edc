#pragma once

namespace kavorind {
// The platform layer: the only code that includes SDL. Everything the game needs of the operating
// system (window, message queue, timer thread, presentation, keyboard, message box, cursor) is
// reached through the plain functions declared in this folder's headers.

struct PlatformWindow;
struct PlatformRenderer;
struct PlatformTexture;

// Brings up SDL's video, event and timer services once; 1 on success. Safe to call again.
int platformInit();
// The headless tools' drivers: SDL's dummy video and sound, unless SDL_VIDEODRIVER or
// SDL_AUDIODRIVER in the environment names others (as a test may).
void platformPreferHeadlessDrivers();
// Whether presenting waits for the vertical blank (it does unless told otherwise). Takes effect for
// renderers made afterwards; a timedemo turns it off so that the screen's rate caps nothing.
void platformSetVerticalBlankWait(int wait);

} // namespace kavorind
