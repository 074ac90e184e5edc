#include "shell/settings_bindings.h"

#include "input/binding_text.h"

#include <algorithm>
#include <cctype>

namespace kavorind {

namespace {

// "bind." in any case, as the binding keys themselves are read.
int namesABinding(const std::string& key) {
    const std::string prefix = "bind.";
    return key.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), key.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

// A misspelt game key ("bind.jumpp") would otherwise leave its binding unchanged without a word.
std::string unknownBindingProblem(const ConfigEntry& entry) {
    std::string known;
    for (const BindingEntry& binding : defaultBindingEntries())
        known += (known.empty() ? "" : ", ") + binding.key;
    return "\"" + shownText(entry.key) + "\" names no game key (they are " + known + ")";
}

} // namespace

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
        // The reason quotes the player's text, which may be long or hold control characters.
        if (isBindingKey(entry.key) &&
            !applyBindingEntry(entry.key, entry.value, &bindings, &error))
            error = shownText(error);
        else if (!isBindingKey(entry.key) && namesABinding(entry.key))
            error = unknownBindingProblem(entry);
        if (!error.empty())
            problems->push_back(fileName + ":" + std::to_string(entry.line) + ": " + error +
                                "; the line is ignored");
    }
    return bindings;
}

} // namespace kavorind
