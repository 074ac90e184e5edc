#include "shell/settings_bindings.h"

#include "input/binding_text.h"

namespace kavorind {

std::vector<ConfigDefault> settingsFileDefaults() {
    std::vector<ConfigDefault> defaults = defaultConfigEntries();
    for (const BindingEntry& entry : defaultBindingEntries())
        defaults.push_back(ConfigDefault{entry.key, entry.value, entry.comment});
    return defaults;
}

Bindings bindingsFromSettings(const GameSettings& settings, const std::string& fileName,
                              std::vector<std::string>* problems) {
    Bindings bindings = defaultBindings();
    for (const ConfigEntry& entry : settings.otherEntries) {
        std::string error;
        if (isBindingKey(entry.key) &&
            !applyBindingEntry(entry.key, entry.value, &bindings, &error))
            problems->push_back(fileName + ":" + std::to_string(entry.line) + ": " + error +
                                "; the line is ignored");
    }
    return bindings;
}

} // namespace kavorind
