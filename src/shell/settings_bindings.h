#pragma once
#include "input/bindings.h"
#include "shell/config_file.h"

#include <string>
#include <vector>

namespace kavorind {

// What a new settings file holds: the game's settings, then a "bind." line for each game key.
std::vector<ConfigDefault> settingsFileDefaults();
// The bindings as shipped, changed by the file's "bind." lines. A line that names no key or button,
// or a "bind." name that is no game key, leaves the bindings as they were and is described in
// *problems as "FILE:LINE: ...".
Bindings bindingsFromSettings(const GameSettings& settings, const std::string& fileName,
                              std::vector<std::string>* problems);

} // namespace kavorind
