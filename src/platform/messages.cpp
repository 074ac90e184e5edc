#include "platform/messages.h"

#include "platform/signals.h"
#include "platform/video.h"
#include "platform/window_internal.h"

#include <SDL.h>

#include <initializer_list>
#include <mutex>

namespace kavorind {

namespace {

// The queue's own state: the SDL event number that carries the game's messages, and whether the
// input events the game never reads are kept out of the queue yet.
struct PlatformMessages {
    std::once_flag registered;
    Uint32 eventType = 0;
    int inputQuiet = 0;
};

PlatformMessages platformMessages;

// Registered by whichever thread posts first; afterwards only read.
Uint32 messageEventType() {
    std::call_once(platformMessages.registered,
                   [] { platformMessages.eventType = SDL_RegisterEvents(1); });
    return platformMessages.eventType;
}

// Alt+Enter (either Enter key) or F11, pressed afresh: held down, it switches only once.
bool switchesMode(const SDL_KeyboardEvent& key) {
    if (key.repeat)
        return false;
    SDL_Keycode code = key.keysym.sym;
    if (code == SDLK_F11)
        return true;
    return (code == SDLK_RETURN || code == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT);
}

// Runs as SDL queues each event: of the key presses only the mode switch gets through.
int keepOnlyModeKeys(void*, SDL_Event* event) {
    return event->type != SDL_KEYDOWN || switchesMode(event->key) ? 1 : 0;
}

// Keys are polled, never read as events; keeping them out of the queue keeps the idle step from
// being postponed by key repeat. The keyboard state is still tracked by SDL. Key presses stay
// events only for the mode switch (see platformFilterKeyPresses). Called on the main thread
// only, where the queue is read.
void quietInputEvents() {
    if (platformMessages.inputQuiet)
        return;
    platformMessages.inputQuiet = 1;
    for (Uint32 type : {SDL_KEYUP, SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_MOUSEMOTION,
                        SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_FINGERMOTION})
        SDL_EventState(type, SDL_IGNORE);
}

// A new layout or a pad plugged in or out: the platform's own tables follow, and the game hears
// nothing of it.
void noteDeviceChange(const SDL_Event& event) {
    if (event.type == SDL_KEYMAPCHANGED)
        platformKeymapChanged();
    else if (event.type == SDL_CONTROLLERDEVICEADDED)
        platformGamepadAdded(event.cdevice.which);
    else if (event.type == SDL_CONTROLLERDEVICEREMOVED)
        platformGamepadRemoved(event.cdevice.which);
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
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        out.message = WM_ACTIVATEAPP;
        out.wParam = 0;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        out.message = WM_SIZE;
        out.lParam = static_cast<intptr_t>((event.data2 & 0xFFFF) << 16 | (event.data1 & 0xFFFF));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        out.message = WM_PAINT;
        break;
    default:
        break;
    }
    return out;
}

// A posted message travels in the event's own fields, so posting allocates nothing.
Message translatePosted(const SDL_UserEvent& event) {
    Message out;
    out.window = platformWindowFromNumber(event.windowID);
    out.message = static_cast<unsigned>(event.code);
    out.wParam = reinterpret_cast<uintptr_t>(event.data1);
    out.lParam = reinterpret_cast<intptr_t>(event.data2);
    return out;
}

Message translate(const SDL_Event& event) {
    if (event.type == messageEventType())
        return translatePosted(event.user);
    Message out;
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
    case SDL_KEYMAPCHANGED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
        noteDeviceChange(event);
        break;
    case SDL_KEYDOWN:
        if (switchesMode(event.key)) {
            out.window = platformMainWindow();
            out.message = ToggleFullScreenMessage;
        }
        break;
    default:
        break;
    }
    return out;
}

// A hang-up becomes the quit event that SDL queues for SIGINT and SIGTERM, so that all three end
// the game the same way. The frame timer's ticks wake a waiting queue, so it is seen promptly.
void queueQuitAfterHangUp() {
    if (!platformTakeHangUp())
        return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

} // namespace

void platformFilterKeyPresses() {
    SDL_SetEventFilter(keepOnlyModeKeys, nullptr);
}

int platformPostMessage(PlatformWindow* window, unsigned message, uintptr_t wParam,
                        intptr_t lParam) {
    SDL_Event event{};
    event.type = messageEventType();
    event.user.windowID = platformWindowNumber(window);
    event.user.code = static_cast<Sint32>(message);
    event.user.data1 = reinterpret_cast<void*>(wParam);
    event.user.data2 = reinterpret_cast<void*>(lParam);
    return SDL_PushEvent(&event) == 1 ? 1 : 0;
}

void platformPostQuitMessage(int exitCode) {
    platformPostMessage(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}

int platformPeekMessage() {
    quietInputEvents();
    queueQuitAfterHangUp();
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 ? 1 : 0;
}

int platformGetMessage(Message* out) {
    quietInputEvents();
    queueQuitAfterHangUp();
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
    queueQuitAfterHangUp();
    SDL_WaitEventTimeout(nullptr, -1);
}

// Taken with SDL_PeepEvents rather than SDL_PollEvent, which stops at the end-of-poll marker that
// an earlier pump may have left in the queue. A layout change among the dropped events still
// reaches the key table, and a pad plugged in or out among them is still opened or closed.
void platformFlushMessages() {
    SDL_PumpEvents();
    SDL_Event event{};
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        noteDeviceChange(event);
}

} // namespace kavorind
