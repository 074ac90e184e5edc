#pragma once
#include <string>
#include <utility>
#include <vector>

namespace kavorind {
// Changes to the settings file that the game makes itself (the window mode after F11, the options
// screen's choices), written so that everything the player wrote stays as it was.

using SettingChange = std::pair<std::string, std::string>; // key, value

// The text with each key's line given the new value: the last line with that key (the one the
// game reads) keeps its spacing, its own line ending and every byte around the value; a key on
// no line is added at the end under its comment from the defaults. 0, with the reason in *why and
// the text untouched, for a key or value that one "key = value" line cannot hold.
int changeSettingsText(std::string* text, const std::vector<SettingChange>& changes,
                       std::string* why);
// changeSettingsText on the file at path, written back durably through the safe writer; a file
// that does not exist is made with the defaults and the changes. A file that cannot be read whole
// (too large, a FIFO, a folder, unreadable) or is not text is left alone. 1 on success, else 0
// with the reason in *why.
int updateSettingsFile(const std::string& path, const std::vector<SettingChange>& changes,
                       std::string* why);
inline int updateSettingsFile(const std::string& path, const std::string& key,
                              const std::string& value, std::string* why) {
    return updateSettingsFile(path, {{key, value}}, why);
}

} // namespace kavorind
