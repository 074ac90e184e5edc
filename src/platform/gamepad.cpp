#include "platform/gamepad.h"

#include "platform/window_internal.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace kavorind {

namespace {

struct PlatformGamepads {
    std::vector<SDL_GameController*> open;
    int started = 0;
};

PlatformGamepads platformGamepads;

constexpr SDL_GameControllerButton sdlButtons[PAD_BUTTON_COUNT] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};

// Each direction is an axis and a sign: SDL's sticks read negative to the left and up.
struct AxisHalf {
    SDL_GameControllerAxis axis;
    int sign;
};

constexpr AxisHalf sdlAxes[PAD_DIRECTION_COUNT] = {
    {SDL_CONTROLLER_AXIS_LEFTX, -1},      {SDL_CONTROLLER_AXIS_LEFTX, 1},
    {SDL_CONTROLLER_AXIS_LEFTY, -1},      {SDL_CONTROLLER_AXIS_LEFTY, 1},
    {SDL_CONTROLLER_AXIS_RIGHTX, -1},     {SDL_CONTROLLER_AXIS_RIGHTX, 1},
    {SDL_CONTROLLER_AXIS_RIGHTY, -1},     {SDL_CONTROLLER_AXIS_RIGHTY, 1},
    {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 1}, {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1},
};

SDL_JoystickID instanceOf(SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

int isOpen(SDL_JoystickID instance) {
    return std::any_of(platformGamepads.open.begin(), platformGamepads.open.end(),
                       [instance](SDL_GameController* pad) { return instanceOf(pad) == instance; });
}

// Stick and button motion is polled, never read as events: kept out of the queue, it cannot
// postpone the idle step. Plugging and unplugging still arrive as events.
void quietPadMotion() {
    for (Uint32 type :
         {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN,
          SDL_JOYBUTTONUP, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONDOWN,
          SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERTOUCHPADMOTION,
          SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE})
        SDL_EventState(type, SDL_IGNORE);
}

} // namespace

void platformGamepadAdded(int deviceIndex) {
    if (!platformGamepads.started || !SDL_IsGameController(deviceIndex))
        return;
    if (isOpen(SDL_JoystickGetDeviceInstanceID(deviceIndex)))
        return;
    if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex))
        platformGamepads.open.push_back(pad);
}

void platformGamepadRemoved(int instance) {
    auto& open = platformGamepads.open;
    auto gone = std::find_if(open.begin(), open.end(), [instance](SDL_GameController* pad) {
        return instanceOf(pad) == instance;
    });
    if (gone == open.end())
        return;
    SDL_GameControllerClose(*gone);
    open.erase(gone);
}

int platformOpenGamepads() {
    if (platformGamepads.started)
        return 1;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return 0;
    platformGamepads.started = 1;
    quietPadMotion();
    // The added events of pads already plugged in may be dropped with the queue before they are
    // read; opening twice is refused, so they are opened here as well.
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        platformGamepadAdded(index);
    return 1;
}

void platformCloseGamepads() {
    if (!platformGamepads.started)
        return;
    for (SDL_GameController* pad : platformGamepads.open)
        SDL_GameControllerClose(pad);
    platformGamepads.open.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    platformGamepads.started = 0;
}

int platformGamepadCount() {
    return static_cast<int>(platformGamepads.open.size());
}

int platformPadButtonDown(int button) {
    if (button < 0 || button >= PAD_BUTTON_COUNT)
        return 0;
    for (SDL_GameController* pad : platformGamepads.open)
        if (SDL_GameControllerGetButton(pad, sdlButtons[button]))
            return 1;
    return 0;
}

int platformPadTravel(int direction) {
    if (direction < 0 || direction >= PAD_DIRECTION_COUNT)
        return 0;
    const AxisHalf half = sdlAxes[direction];
    int farthest = 0;
    for (SDL_GameController* pad : platformGamepads.open) {
        // -32768 pushed fully left is one step past full travel to the right.
        int travel = std::min(padFullTravel, SDL_GameControllerGetAxis(pad, half.axis) * half.sign);
        farthest = std::max(farthest, travel);
    }
    return farthest;
}

} // namespace kavorind
