#include "platform/messages.h"

#include "platform/video.h"
#include "platform/window_internal.h"

#include <SDL.h>

#include <initializer_list>

namespace kavorind {

namespace {

Uint32 messageEventType() {
    static Uint32 type = SDL_RegisterEvents(1);
    return type;
}

void quietInputEvents() {
    // Keys are polled, never read as events; keeping them out of the queue keeps the idle step
    // from being postponed by key repeat. The keyboard state is still tracked by SDL.
    static int done = 0;
    if (done)
        return;
    done = 1;
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_MOUSEMOTION,
                        SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_FINGERMOTION})
        SDL_EventState(type, SDL_IGNORE);
}

Message translateWindowEvent(const SDL_WindowEvent& event) {
    Message out;
    out.window = platformMainWindow();
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        out.message = WM_DESTROY;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        out.message = WM_SYSCOMMAND;
        out.wParam = SC_RESTORE;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.message = WM_QUERYNEWPALETTE;
        break;
    default:
        break;
    }
    return out;
}

Message translate(const SDL_Event& event) {
    Message out;
    if (event.type == messageEventType()) {
        out.window = static_cast<PlatformWindow*>(event.user.data1);
        out.message = static_cast<unsigned>(event.user.code);
        const auto* words = static_cast<const intptr_t*>(event.user.data2);
        out.wParam = static_cast<uintptr_t>(words[0]);
        out.lParam = words[1];
        delete[] words;
        return out;
    }
    switch (event.type) {
    case SDL_QUIT:
        out.window = platformMainWindow();
        out.message = WM_DESTROY;
        break;
    case SDL_WINDOWEVENT:
        out = translateWindowEvent(event.window);
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        // The frame texture is gone: the palette message finds the primary surface lost and
        // restores it, as it would after a mode switch.
        platformMarkFrameTexturesLost();
        out.window = platformMainWindow();
        out.message = WM_QUERYNEWPALETTE;
        break;
    default:
        break;
    }
    return out;
}

} // namespace

int platformPostMessage(PlatformWindow* window, unsigned message, uintptr_t wParam,
                        intptr_t lParam) {
    quietInputEvents();
    SDL_Event event{};
    event.type = messageEventType();
    event.user.code = static_cast<Sint32>(message);
    event.user.data1 = window;
    event.user.data2 = new intptr_t[2]{static_cast<intptr_t>(wParam), lParam};
    if (SDL_PushEvent(&event) == 1)
        return 1;
    delete[] static_cast<intptr_t*>(event.user.data2);
    return 0;
}

void platformPostQuitMessage(int exitCode) {
    platformPostMessage(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}

int platformPeekMessage() {
    quietInputEvents();
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 ? 1 : 0;
}

int platformGetMessage(Message* out) {
    quietInputEvents();
    SDL_Event event{};
    if (SDL_WaitEvent(&event) == 0) {
        *out = Message{};
        return 1;
    }
    *out = translate(event);
    return out->message == WM_QUIT ? 0 : 1;
}

void platformWaitMessage() {
    quietInputEvents();
    SDL_WaitEventTimeout(nullptr, -1);
}

void platformFlushMessages() {
    SDL_PumpEvents();
    SDL_Event event{};
    while (SDL_PollEvent(&event))
        if (event.type == messageEventType())
            delete[] static_cast<intptr_t*>(event.user.data2);
}

} // namespace kavorind
