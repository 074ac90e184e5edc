#pragma once
#include <cstdint>

namespace kavorind {
// Shared between the platform files only.

struct PlatformWindow;

// The one main window, or null before it exists.
PlatformWindow* platformMainWindow();

// Posted messages carry their window as a number that fits an SDL event: 0 for none. The number
// is read without locking or allocating, so the timer thread may ask for it.
uint32_t platformWindowNumber(const PlatformWindow* window);
// The window with that number; null for 0 or a window that no longer exists.
PlatformWindow* platformWindowFromNumber(uint32_t number);

// Tests: 1 makes every renderer made afterwards one of SDL's, even where there is no GPU (SDL's
// software renderer on the dummy driver), so that both ways to the screen can be checked; 0 lets
// the machine decide again.
void platformForceRenderer(int forced);

// Keeps every key press but the mode switch out of the queue, so that the mode switch is caught
// as an event whatever the game makes of Enter while key repeat never crowds the queue. Installed
// once, as SDL's video starts: installing it drops every event waiting in the queue.
void platformFilterKeyPresses();

// SDL reported a new keyboard layout: the key table is made again before the next key is read.
void platformKeymapChanged();

// SDL reported a pad plugged in (by device index) or unplugged (by instance id): it is opened or
// closed. Nothing happens before platformOpenGamepads.
void platformGamepadAdded(int deviceIndex);
void platformGamepadRemoved(int instance);

} // namespace kavorind
