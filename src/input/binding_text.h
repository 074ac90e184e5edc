#pragma once
#include "input/bindings.h"

#include <string>
#include <vector>

namespace kavorind {
// The bindings as the configuration file writes them: one `bind.NAME = INPUT, INPUT, ...` line per
// game key, with inputs named as a player would guess: Z, 7, Left, Return, Space, Tab, Escape,
// Shift, Control, Alt, F1 to F12, Keypad0 to Keypad9, and Pad.A, Pad.Start, Pad.DpadLeft,
// Pad.LeftStickLeft, Pad.RightTrigger for the pads. Names are read in any case.

struct BindingEntry {
    std::string key;     // bind.left
    std::string value;   // Left, Pad.DpadLeft, Pad.LeftStickLeft
    std::string comment; // one line saying what the key does
};

// The name written for an input; "" for one that has none.
std::string inputName(PhysicalInput input);
// Reads a name, in any case and with spaces around it; 0 when no input has it.
int parseInputName(const std::string& name, PhysicalInput* out);

// 1 for the configuration keys this module reads (bind.left to bind.escape); any other key
// belongs to another part of the file.
int isBindingKey(const std::string& key);
// Replaces one game key's inputs with the comma-separated list in value (an empty value leaves the
// key unbound). 0, with the reason in *error and the bindings untouched, for a key that is not a
// binding key or a value that names an unknown input (the name is quoted).
int applyBindingEntry(const std::string& key, const std::string& value, Bindings* bindings,
                      std::string* error);
// One entry per game key, in the table's order, for writing the file.
std::vector<BindingEntry> bindingEntries(const Bindings& bindings);
std::vector<BindingEntry> defaultBindingEntries();

} // namespace kavorind
