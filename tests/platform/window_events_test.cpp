// The window's own events as the window procedure sees them: Alt+Enter and F11 ask for the mode
// switch once per press, every other key press stays out of the queue, and a resize or an
// uncovering asks for the frame again.

#include "platform_test_support.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace kavorind {

namespace {

// Queues a key press the way SDL's keyboard does; 1 when the queue took it.
int pressKey(SDL_Keycode key, Uint16 modifiers, int repeat = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = static_cast<Uint8>(repeat);
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = modifiers;
    return SDL_PushEvent(&event);
}

void windowEvent(Uint8 kind, int data1 = 0, int data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

std::vector<Message> takeAll() {
    std::vector<Message> taken;
    while (platformPeekMessage()) {
        Message message;
        platformGetMessage(&message);
        if (message.message != WM_NULL)
            taken.push_back(message);
    }
    return taken;
}

} // namespace

TEST(WindowEvents, AltEnterAndF11AskForTheModeSwitchOncePerPress) {
    PlatformWindow* window = testWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pressKey(SDLK_RETURN, KMOD_LALT), 1);
    EXPECT_EQ(pressKey(SDLK_KP_ENTER, KMOD_RALT), 1);
    EXPECT_EQ(pressKey(SDLK_F11, KMOD_NONE), 1);
    EXPECT_EQ(pressKey(SDLK_F11, KMOD_LSHIFT), 1);
    std::vector<Message> taken = takeAll();
    ASSERT_EQ(taken.size(), 4u);
    for (const Message& message : taken) {
        EXPECT_EQ(message.message, ToggleFullScreenMessage);
        EXPECT_EQ(message.window, window);
    }
}

TEST(WindowEvents, OtherKeyPressesAndKeyRepeatNeverReachTheQueue) {
    ASSERT_NE(testWindow(), nullptr);
    // Enter alone is a game key, read by polling; a held Alt+Enter repeats without switching.
    EXPECT_EQ(pressKey(SDLK_RETURN, KMOD_NONE), 0);
    EXPECT_EQ(pressKey(SDLK_RETURN, KMOD_LCTRL), 0);
    EXPECT_EQ(pressKey(SDLK_z, KMOD_LALT), 0);
    EXPECT_EQ(pressKey(SDLK_RETURN, KMOD_LALT, 1), 0);
    EXPECT_EQ(pressKey(SDLK_F11, KMOD_NONE, 1), 0);
    EXPECT_TRUE(takeAll().empty());
}

TEST(WindowEvents, ResizeAndExposeAskForTheFrameAgainInOrder) {
    PlatformWindow* window = testWindow();
    ASSERT_NE(window, nullptr);
    windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1000, 750);
    windowEvent(SDL_WINDOWEVENT_EXPOSED);
    ASSERT_EQ(platformPostMessage(window, WM_USER + 1, 7, 0), 1);
    std::vector<Message> taken = takeAll();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, WM_SIZE);
    EXPECT_EQ(taken[0].window, window);
    EXPECT_EQ(taken[0].lParam & 0xFFFF, 1000);
    EXPECT_EQ(taken[0].lParam >> 16, 750);
    EXPECT_EQ(taken[1].message, WM_PAINT);
    EXPECT_EQ(taken[2].message, WM_USER + 1);
    EXPECT_EQ(taken[2].wParam, 7u);
}

} // namespace kavorind
