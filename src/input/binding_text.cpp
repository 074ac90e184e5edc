#include "input/binding_text.h"

#include "input/key_state.h"
#include "platform/gamepad.h"

#include <cctype>
#include <string_view>

namespace kavorind {

namespace {

struct InputNaming {
    const char* name;
    PhysicalInput input;
};

struct RowNaming {
    const char* key;
    const char* comment;
};

constexpr RowNaming rowNamings[bindingRowCount] = {
    {"bind.left", "Flies the craft left."},
    {"bind.right", "Flies the craft right."},
    {"bind.up", "Flies the craft up; moves up the menu."},
    {"bind.down", "Flies the craft down; moves down the menu."},
    {"bind.fire", "Fires the main shot, confirms and skips (Return with Alt held only switches "
                  "the window mode)."},
    {"bind.special", "Fires the special weapon; hurries the stage-clear tally."},
    {"bind.escape", "Leaves the stage for the menu, quits from the menu."},
    {"bind.pause", "Pauses and resumes (not with classic = yes)."},
    {"bind.scores", "Held in the menu, shows the high scores (not with classic = yes)."},
    {"bind.options", "Opens the options screen (not with classic = yes)."},
    {"bind.screenshot", "Saves the game's picture as a PNG file (not with classic = yes)."},
    {"bind.frame_times", "Shows or hides the tick and frame times (not with classic = yes)."},
};

// Names that do not follow from a pattern; the first name of an input is the one written, the
// others are read too.
constexpr InputNaming namedInputs[] = {
    {"Left", {INPUT_KEY, VK_LEFT}},
    {"Right", {INPUT_KEY, VK_RIGHT}},
    {"Up", {INPUT_KEY, VK_UP}},
    {"Down", {INPUT_KEY, VK_DOWN}},
    {"Return", {INPUT_KEY, VK_RETURN}},
    {"Enter", {INPUT_KEY, VK_RETURN}},
    {"Space", {INPUT_KEY, VK_SPACE}},
    {"Tab", {INPUT_KEY, VK_TAB}},
    {"Pause", {INPUT_KEY, VK_PAUSE}},
    {"Backspace", {INPUT_KEY, 0x08}},
    {"Escape", {INPUT_KEY, VK_ESCAPE}},
    {"Esc", {INPUT_KEY, VK_ESCAPE}},
    {"Insert", {INPUT_KEY, 0x2D}},
    {"Delete", {INPUT_KEY, 0x2E}},
    {"Home", {INPUT_KEY, 0x24}},
    {"End", {INPUT_KEY, 0x23}},
    {"PageUp", {INPUT_KEY, 0x21}},
    {"PageDown", {INPUT_KEY, 0x22}},
    {"Shift", {INPUT_KEY, 0x10}},
    {"LeftShift", {INPUT_KEY, 0xA0}},
    {"RightShift", {INPUT_KEY, 0xA1}},
    {"Control", {INPUT_KEY, 0x11}},
    {"Ctrl", {INPUT_KEY, 0x11}},
    {"LeftControl", {INPUT_KEY, 0xA2}},
    {"RightControl", {INPUT_KEY, 0xA3}},
    {"Alt", {INPUT_KEY, VK_MENU}},
    {"LeftAlt", {INPUT_KEY, 0xA4}},
    {"RightAlt", {INPUT_KEY, 0xA5}},
    {"KeypadMultiply", {INPUT_KEY, 0x6A}},
    {"KeypadPlus", {INPUT_KEY, 0x6B}},
    {"KeypadMinus", {INPUT_KEY, 0x6D}},
    {"KeypadPeriod", {INPUT_KEY, 0x6E}},
    {"KeypadDivide", {INPUT_KEY, 0x6F}},
    {"Pad.A", {INPUT_PAD_BUTTON, PAD_A}},
    {"Pad.B", {INPUT_PAD_BUTTON, PAD_B}},
    {"Pad.X", {INPUT_PAD_BUTTON, PAD_X}},
    {"Pad.Y", {INPUT_PAD_BUTTON, PAD_Y}},
    {"Pad.Back", {INPUT_PAD_BUTTON, PAD_BACK}},
    {"Pad.Guide", {INPUT_PAD_BUTTON, PAD_GUIDE}},
    {"Pad.Start", {INPUT_PAD_BUTTON, PAD_START}},
    {"Pad.LeftStick", {INPUT_PAD_BUTTON, PAD_LEFT_STICK_PRESS}},
    {"Pad.RightStick", {INPUT_PAD_BUTTON, PAD_RIGHT_STICK_PRESS}},
    {"Pad.LeftShoulder", {INPUT_PAD_BUTTON, PAD_LEFT_SHOULDER}},
    {"Pad.RightShoulder", {INPUT_PAD_BUTTON, PAD_RIGHT_SHOULDER}},
    {"Pad.DpadUp", {INPUT_PAD_BUTTON, PAD_DPAD_UP}},
    {"Pad.DpadDown", {INPUT_PAD_BUTTON, PAD_DPAD_DOWN}},
    {"Pad.DpadLeft", {INPUT_PAD_BUTTON, PAD_DPAD_LEFT}},
    {"Pad.DpadRight", {INPUT_PAD_BUTTON, PAD_DPAD_RIGHT}},
    {"Pad.LeftStickLeft", {INPUT_PAD_DIRECTION, PAD_LEFT_STICK_LEFT}},
    {"Pad.LeftStickRight", {INPUT_PAD_DIRECTION, PAD_LEFT_STICK_RIGHT}},
    {"Pad.LeftStickUp", {INPUT_PAD_DIRECTION, PAD_LEFT_STICK_UP}},
    {"Pad.LeftStickDown", {INPUT_PAD_DIRECTION, PAD_LEFT_STICK_DOWN}},
    {"Pad.RightStickLeft", {INPUT_PAD_DIRECTION, PAD_RIGHT_STICK_LEFT}},
    {"Pad.RightStickRight", {INPUT_PAD_DIRECTION, PAD_RIGHT_STICK_RIGHT}},
    {"Pad.RightStickUp", {INPUT_PAD_DIRECTION, PAD_RIGHT_STICK_UP}},
    {"Pad.RightStickDown", {INPUT_PAD_DIRECTION, PAD_RIGHT_STICK_DOWN}},
    {"Pad.LeftTrigger", {INPUT_PAD_DIRECTION, PAD_LEFT_TRIGGER}},
    {"Pad.RightTrigger", {INPUT_PAD_DIRECTION, PAD_RIGHT_TRIGGER}},
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

int sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return 0;
    return 1;
}

// The number after a prefix ("F12" with "F" is 12); -1 when the rest is not a plain number.
int numberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 ||
        !sameIgnoringCase(name.substr(0, prefix.size()), prefix))
        return -1;
    int number = 0;
    for (char digit : name.substr(prefix.size())) {
        if (!std::isdigit(static_cast<unsigned char>(digit)))
            return -1;
        number = number * 10 + (digit - '0');
    }
    return number;
}

// Letters, digits, F1 to F12 and Keypad0 to Keypad9, whose codes run in order.
int parsePatternedKey(std::string_view name, int* virtualKey) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        *virtualKey = std::toupper(static_cast<unsigned char>(name[0]));
        return 1;
    }
    int function = numberAfter(name, "F");
    if (function >= 1 && function <= 12) {
        *virtualKey = 0x70 + function - 1;
        return 1;
    }
    int keypad = numberAfter(name, "Keypad");
    if (keypad >= 0 && keypad <= 9 && name.size() == 7) {
        *virtualKey = 0x60 + keypad;
        return 1;
    }
    return 0;
}

std::string patternedKeyName(int virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return std::string(1, static_cast<char>(virtualKey));
    if (virtualKey >= 0x70 && virtualKey <= 0x7B)
        return "F" + std::to_string(virtualKey - 0x70 + 1);
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return "Keypad" + std::to_string(virtualKey - 0x60);
    return "";
}

// The inputs of a comma-separated list; 0 with the unknown name in *error.
int parseInputList(std::string_view list, std::vector<PhysicalInput>* inputs, std::string* error) {
    inputs->clear();
    while (!list.empty()) {
        size_t comma = list.find(',');
        std::string_view item = trimmed(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        if (item.empty())
            continue;
        PhysicalInput input;
        if (!parseInputName(std::string(item), &input)) {
            *error = "unknown key or button \"" + std::string(item) + "\"";
            return 0;
        }
        inputs->push_back(input);
    }
    return 1;
}

int bindingRow(const std::string& key) {
    for (int row = 0; row < bindingRowCount; ++row)
        if (sameIgnoringCase(trimmed(key), rowNamings[row].key))
            return row;
    return -1;
}

} // namespace

std::string inputName(PhysicalInput input) {
    for (const InputNaming& naming : namedInputs)
        if (naming.input == input)
            return naming.name;
    return input.kind == INPUT_KEY ? patternedKeyName(input.code) : "";
}

int parseInputName(const std::string& name, PhysicalInput* out) {
    std::string_view wanted = trimmed(name);
    for (const InputNaming& naming : namedInputs) {
        if (sameIgnoringCase(wanted, naming.name)) {
            *out = naming.input;
            return 1;
        }
    }
    int virtualKey = 0;
    if (!parsePatternedKey(wanted, &virtualKey))
        return 0;
    *out = {INPUT_KEY, virtualKey};
    return 1;
}

int isBindingKey(const std::string& key) {
    return bindingRow(key) >= 0 ? 1 : 0;
}

int applyBindingEntry(const std::string& key, const std::string& value, Bindings* bindings,
                      std::string* error) {
    int row = bindingRow(key);
    if (row < 0) {
        *error = key + ": not a binding key";
        return 0;
    }
    std::vector<PhysicalInput> inputs;
    if (!parseInputList(value, &inputs, error)) {
        *error = std::string(rowNamings[row].key) + ": " + *error;
        return 0;
    }
    bindings->inputs[static_cast<size_t>(row)] = std::move(inputs);
    return 1;
}

std::vector<BindingEntry> bindingEntries(const Bindings& bindings) {
    std::vector<BindingEntry> entries;
    for (int row = 0; row < bindingRowCount; ++row) {
        BindingEntry entry{rowNamings[row].key, "", rowNamings[row].comment};
        for (PhysicalInput input : bindings.inputs[static_cast<size_t>(row)]) {
            std::string name = inputName(input);
            if (name.empty())
                continue;
            entry.value += (entry.value.empty() ? "" : ", ") + name;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<BindingEntry> defaultBindingEntries() {
    return bindingEntries(defaultBindings());
}

} // namespace kavorind
