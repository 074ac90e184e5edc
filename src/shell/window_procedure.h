#pragma once
#include "platform/messages.h"

#include <cstdint>

namespace kavorind {

// The tick message that the frame timer posts to the main window: wParam is the timer's id,
// lParam the address of its pending flag, which the tick stores 0 into when it is done.
constexpr unsigned TickMessage = WM_USER + 1;

// The window procedure: handles the tick, the palette messages, restore and destroy, the switch
// between window and full-screen, and a resized or uncovered window.
long MainWindowProc(PlatformWindow* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// Runs while the queue is empty: draws the frame that the last tick asked for.
void idleStep();

} // namespace kavorind
