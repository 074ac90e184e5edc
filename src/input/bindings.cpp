#include "input/bindings.h"

#include "input/key_state.h"
#include "platform/gamepad.h"
#include "platform/keyboard.h"

#include <algorithm>

namespace kavorind {

namespace {

// Hold-to-fire's count of the ticks the fire key has been held in a stage.
struct HoldToFire {
    int enabled = 0;
    int reload = 0;
    int inStage = 0;
    int heldTicks = 0;
};

// The table the game's key source answers from, and what it reads.
struct InputBindings {
    Bindings bindings;
    PhysicalReader reader = platformReader();
    ReturnPress returnPress;
    HoldToFire holdToFire;
    uint16_t ignoredUntilReleased = 0; // game rows, bit per row
};

InputBindings inputBindings;

PhysicalInput key(int virtualKey) {
    return {INPUT_KEY, virtualKey};
}
PhysicalInput button(int padButton) {
    return {INPUT_PAD_BUTTON, padButton};
}
PhysicalInput direction(int padDirection) {
    return {INPUT_PAD_DIRECTION, padDirection};
}

int returnDown(const PhysicalReader& reader, ReturnPress* press) {
    int down = reader.keyDown(VK_RETURN) ? 1 : 0;
    if (down && !press->down)
        press->withAlt = reader.keyDown(VK_MENU) ? 1 : 0;
    press->down = down;
    return down && !press->withAlt;
}

int inputDown(PhysicalInput input, const PhysicalReader& reader, ReturnPress* returnPress) {
    switch (input.kind) {
    case INPUT_KEY:
        if (input.code == VK_RETURN)
            return returnDown(reader, returnPress);
        return reader.keyDown(input.code) ? 1 : 0;
    case INPUT_PAD_BUTTON:
        return reader.padButtonDown(input.code) ? 1 : 0;
    case INPUT_PAD_DIRECTION:
        return reader.padTravel(input.code) > padDeadZone ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace

Bindings defaultBindings() {
    Bindings bindings;
    bindings.inputs[GAME_LEFT] = {key(VK_LEFT), button(PAD_DPAD_LEFT),
                                  direction(PAD_LEFT_STICK_LEFT)};
    bindings.inputs[GAME_RIGHT] = {key(VK_RIGHT), button(PAD_DPAD_RIGHT),
                                   direction(PAD_LEFT_STICK_RIGHT)};
    bindings.inputs[GAME_UP] = {key(VK_UP), button(PAD_DPAD_UP), direction(PAD_LEFT_STICK_UP)};
    bindings.inputs[GAME_DOWN] = {key(VK_DOWN), button(PAD_DPAD_DOWN),
                                  direction(PAD_LEFT_STICK_DOWN)};
    bindings.inputs[GAME_FIRE] = {key(VK_Z), key(VK_RETURN), key(VK_SPACE), button(PAD_A),
                                  button(PAD_START)};
    bindings.inputs[GAME_SPECIAL] = {key(VK_X), button(PAD_B)};
    bindings.inputs[GAME_ESCAPE] = {key(VK_ESCAPE), button(PAD_BACK)};
    bindings.inputs[ACTION_PAUSE] = {key('P'), key(VK_PAUSE), button(PAD_GUIDE)};
    bindings.inputs[ACTION_SCORES] = {key(VK_TAB)};
    bindings.inputs[ACTION_OPTIONS] = {key(VK_F1)};
    bindings.inputs[ACTION_SCREENSHOT] = {key(VK_F12)};
    bindings.inputs[ACTION_FRAME_TIMES] = {key(VK_F3)};
    return bindings;
}

PhysicalReader platformReader() {
    return {platformPhysicalKeyDown, platformPadButtonDown, platformPadTravel};
}

int gameKeyDown(const Bindings& bindings, int gameKey, const PhysicalReader& reader,
                ReturnPress* returnPress) {
    if (gameKey < 0 || gameKey >= bindingRowCount)
        return 0;
    // Every input is read, so that Return's press is followed whatever else is held.
    int down = 0;
    for (PhysicalInput input : bindings.inputs[static_cast<size_t>(gameKey)])
        down |= inputDown(input, reader, returnPress);
    return down;
}

void installBindings(const Bindings& bindings) {
    // Without the game-controller service the keyboard still plays.
    platformOpenGamepads();
    installBindingsReading(bindings, platformReader());
}

void installBindingsReading(const Bindings& bindings, const PhysicalReader& reader) {
    inputBindings.bindings = bindings;
    inputBindings.reader = reader;
    inputBindings.returnPress = ReturnPress{};
    inputBindings.holdToFire.heldTicks = 0;
    inputBindings.ignoredUntilReleased = 0;
    platformSetKeySource(boundKeyDown);
}

// Held ticks 1 to reload - 1 read down, tick reload up, then down again: a press every reload
// ticks, the first on the tick the key went down.
int fireAsTapped(const HoldToFire& hold, int down) {
    if (!hold.enabled || !hold.inStage || !down || hold.reload < 2 || hold.heldTicks < 1)
        return down;
    return (hold.heldTicks - 1) % hold.reload != hold.reload - 1;
}

void setHoldToFire(int reloadTicks) {
    inputBindings.holdToFire = HoldToFire{};
    inputBindings.holdToFire.enabled = reloadTicks > 0;
    inputBindings.holdToFire.reload = reloadTicks;
}

void stepHoldToFire(int inStage, int reloadTicks) {
    HoldToFire& hold = inputBindings.holdToFire;
    if (!hold.enabled)
        return;
    hold.inStage = inStage;
    if (reloadTicks > 0)
        hold.reload = reloadTicks;
    const int down = gameKeyDown(inputBindings.bindings, GAME_FIRE, inputBindings.reader,
                                 &inputBindings.returnPress);
    hold.heldTicks = down && inStage ? hold.heldTicks + 1 : 0;
}

void ignoreHeldGameKeysUntilReleased() {
    for (int row = 0; row < gameKeyCount; ++row)
        if (gameKeyDown(inputBindings.bindings, row, inputBindings.reader,
                        &inputBindings.returnPress))
            inputBindings.ignoredUntilReleased |= static_cast<uint16_t>(1 << row);
}

int inputDownNow(PhysicalInput* out) {
    const PhysicalReader& reader = inputBindings.reader;
    for (int code = 1; code < 256; ++code)
        if (reader.keyDown(code)) {
            *out = key(code);
            return 1;
        }
    for (int padButton = 0; padButton < PAD_BUTTON_COUNT; ++padButton)
        if (reader.padButtonDown(padButton)) {
            *out = button(padButton);
            return 1;
        }
    for (int padDirection = 0; padDirection < PAD_DIRECTION_COUNT; ++padDirection)
        if (reader.padTravel(padDirection) > padDeadZone) {
            *out = direction(padDirection);
            return 1;
        }
    return 0;
}

int shellActionDown(int action) {
    if (action < gameKeyCount)
        return 0;
    return gameKeyDown(inputBindings.bindings, action, inputBindings.reader,
                       &inputBindings.returnPress);
}

const Bindings& installedBindings() {
    return inputBindings.bindings;
}

int boundKeyDown(int virtualKey) {
    int row = gameKeyRow(virtualKey);
    if (row < 0)
        return inputBindings.reader.keyDown(virtualKey) ? 1 : 0;
    const int down =
        gameKeyDown(inputBindings.bindings, row, inputBindings.reader, &inputBindings.returnPress);
    const auto bit = static_cast<uint16_t>(1 << row);
    if (inputBindings.ignoredUntilReleased & bit) {
        if (down)
            return 0;
        inputBindings.ignoredUntilReleased &= static_cast<uint16_t>(~bit);
    }
    return row == GAME_FIRE ? fireAsTapped(inputBindings.holdToFire, down) : down;
}

} // namespace kavorind
