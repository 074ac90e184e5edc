#include "input/key_script.h"

#include "input/key_state.h"
#include "platform/content_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace kavorind {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int parseTick(const std::string& text, int* out) {
    const char* end = text.data() + text.size();
    auto [next, problem] = std::from_chars(text.data(), end, *out);
    return problem == std::errc() && next == end && *out >= 1 ? 1 : 0;
}

int parseRange(const std::string& text, int* from, int* to) {
    size_t dash = text.find('-');
    if (dash == std::string::npos) {
        if (!parseTick(text, from))
            return 0;
        *to = *from;
        return 1;
    }
    return parseTick(text.substr(0, dash), from) && parseTick(text.substr(dash + 1), to) &&
           *from <= *to;
}

int parseLine(const std::string& line, KeyScript* out) {
    std::istringstream words(line);
    std::string range;
    std::string names;
    std::string extra;
    if (!(words >> range >> names) || (words >> extra))
        return 0;
    int from = 0;
    int to = 0;
    if (!parseRange(range, &from, &to))
        return 0;
    std::istringstream list(names);
    std::string name;
    int count = 0;
    while (std::getline(list, name, ',')) {
        int code = virtualKeyNamed(name);
        if (code == 0)
            return 0;
        out->keys.push_back(ScriptedKey{from, to, code});
        ++count;
    }
    return count > 0 && names.back() != ',';
}

// Orders the held heap so that the entry ending first is on top.
bool endsLater(const ScriptedKey& a, const ScriptedKey& b) {
    return a.to > b.to;
}

int playedKey(int virtualKey) {
    return virtualKey >= 0 && virtualKey < playedVirtualKeys;
}

} // namespace

const char* gameKeyName(int index) {
    static const char* const names[gameKeyCount] = {"Left", "Right", "Up",    "Down",
                                                    "Z",    "X",     "Escape"};
    return index >= 0 && index < gameKeyCount ? names[index] : "";
}

int virtualKeyNamed(const std::string& name) {
    std::string key = lowerCase(name);
    for (int index = 0; index < gameKeyCount; ++index)
        if (key == lowerCase(gameKeyName(index)))
            return gameKeyCode(index);
    return 0;
}

int parseKeyScript(const std::string& text, KeyScript* out, std::string* error) {
    KeyScript script;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        if (!parseLine(line, &script)) {
            if (error)
                *error = "line " + std::to_string(number) + ": expected FROM-TO KEY[,KEY...]";
            return 0;
        }
    }
    *out = std::move(script);
    return 1;
}

int loadKeyScript(const std::string& path, KeyScript* out, std::string* error) {
    FileBytes bytes;
    std::string why;
    if (!readWholeFile(path, maxKeyScriptBytes, &bytes, &why)) {
        *error = "cannot read key script " + path + ": " + why;
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    std::string problem;
    if (!parseKeyScript(text, out, &problem)) {
        *error = path + ": " + problem;
        return 0;
    }
    return 1;
}

KeyScriptPlayer startKeyScript(const KeyScript& script) {
    KeyScriptPlayer player;
    // A key outside the counted codes could never be asked for, so it is not played at all.
    for (const ScriptedKey& key : script.keys)
        if (playedKey(key.virtualKey))
            player.pending.push_back(key);
    std::stable_sort(player.pending.begin(), player.pending.end(),
                     [](const ScriptedKey& a, const ScriptedKey& b) { return a.from > b.from; });
    return player;
}

// Entries are all taken up before any is dropped, so one that starts and ends between two ticks
// that the player is moved to passes through without a trace.
void advanceKeyScript(KeyScriptPlayer* player, int tick) {
    std::vector<ScriptedKey>& held = player->held;
    while (!player->pending.empty() && player->pending.back().from <= tick) {
        const ScriptedKey& next = player->pending.back();
        ++player->heldCount[static_cast<size_t>(next.virtualKey)];
        held.push_back(next);
        std::push_heap(held.begin(), held.end(), endsLater);
        player->pending.pop_back();
    }
    while (!held.empty() && held.front().to < tick) {
        std::pop_heap(held.begin(), held.end(), endsLater);
        --player->heldCount[static_cast<size_t>(held.back().virtualKey)];
        held.pop_back();
    }
}

int playerKeyDown(const KeyScriptPlayer& player, int virtualKey) {
    return playedKey(virtualKey) && player.heldCount[static_cast<size_t>(virtualKey)] > 0;
}

} // namespace kavorind
