#pragma once
#include <cstdint>

namespace kavorind {

struct PlatformWindow;

// Window messages with their Windows numbers: the game's loop and window procedure speak in them,
// whatever the platform underneath delivers.
constexpr unsigned WM_NULL = 0;
constexpr unsigned WM_DESTROY = 2;
constexpr unsigned WM_SIZE = 5;
constexpr unsigned WM_PAINT = 15;
constexpr unsigned WM_ACTIVATEAPP =
    28; // wParam 0: the window lost the player (focus, minimised, hidden)
constexpr unsigned WM_QUIT = 18;
constexpr unsigned WM_SYSCOMMAND = 274;
constexpr unsigned WM_QUERYNEWPALETTE = 783;
constexpr unsigned WM_PALETTECHANGED = 785;
constexpr unsigned WM_USER = 1024;
constexpr unsigned WM_APP = 0x8000;
// The player asked to switch between the window and the whole screen (Alt+Enter or F11).
constexpr unsigned ToggleFullScreenMessage = WM_APP + 1;
constexpr uintptr_t SC_RESTORE = 0xF120;

struct Message {
    PlatformWindow* window = nullptr;
    unsigned message = WM_NULL;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Posts a message to the queue; 1 on success. Safe from any thread.
int platformPostMessage(PlatformWindow* window, unsigned message, uintptr_t wParam,
                        intptr_t lParam);
// Posts WM_QUIT carrying the exit code.
void platformPostQuitMessage(int exitCode);
// 1 when a message waits in the queue; removes nothing.
int platformPeekMessage();
// Takes the next message, waiting for one if the queue is empty. Returns 0 for WM_QUIT, 1
// otherwise.
int platformGetMessage(Message* out);
// Blocks until a message waits, without taking it.
void platformWaitMessage();
// Drops every message that waits (used between program runs in one process).
void platformFlushMessages();

} // namespace kavorind
