#pragma once

namespace kavorind {
// Gamepads through SDL's game-controller API: every pad SDL knows a mapping for (its built-in
// database, plus SDL_GAMECONTROLLERCONFIG) is opened when plugged in and closed when unplugged, and
// read by button and by stick direction, any connected pad counting.

// The buttons of a pad laid out like an Xbox controller (A at the bottom, B on the right).
enum PadButton {
    PAD_A,
    PAD_B,
    PAD_X,
    PAD_Y,
    PAD_BACK,
    PAD_GUIDE,
    PAD_START,
    PAD_LEFT_STICK_PRESS,
    PAD_RIGHT_STICK_PRESS,
    PAD_LEFT_SHOULDER,
    PAD_RIGHT_SHOULDER,
    PAD_DPAD_UP,
    PAD_DPAD_DOWN,
    PAD_DPAD_LEFT,
    PAD_DPAD_RIGHT,
    PAD_BUTTON_COUNT
};

// One way of pushing a stick, or of pulling a trigger.
enum PadDirection {
    PAD_LEFT_STICK_LEFT,
    PAD_LEFT_STICK_RIGHT,
    PAD_LEFT_STICK_UP,
    PAD_LEFT_STICK_DOWN,
    PAD_RIGHT_STICK_LEFT,
    PAD_RIGHT_STICK_RIGHT,
    PAD_RIGHT_STICK_UP,
    PAD_RIGHT_STICK_DOWN,
    PAD_LEFT_TRIGGER,
    PAD_RIGHT_TRIGGER,
    PAD_DIRECTION_COUNT
};

// The farthest a stick or trigger reads.
constexpr int padFullTravel = 32767;

// Brings up SDL's game-controller service and opens every pad already plugged in; 1 on success,
// 0 when the service cannot start (the game then plays from the keyboard alone). Safe to call
// again. Pads plugged in later are opened as the message queue reports them.
int platformOpenGamepads();
// Closes every pad and stops the service.
void platformCloseGamepads();
// How many pads are open.
int platformGamepadCount();
// 1 while the button is down on any open pad.
int platformPadButtonDown(int button);
// How far any open pad is pushed that way, 0 (centred, or pushed the other way) to padFullTravel.
int platformPadTravel(int direction);

} // namespace kavorind
