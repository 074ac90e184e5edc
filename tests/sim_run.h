#pragma once
// Runs build/kavorind-sim on a data folder and reads its trace back: the tests of scenes drive the
// real program through the headless runner, the way a player's key presses would.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kavorind {

struct TraceLine {
    std::map<std::string, long> fields;       // numbers, nested ones as "outer.inner"
    std::vector<std::vector<int>> palette;    // with --palette: 256 [r, g, b]
    std::string sound;                        // the raw "sound" list
    std::map<std::string, std::string> texts; // strings without their quotes, and null as "null"
    long operator[](const std::string& name) const {
        auto found = fields.find(name);
        return found == fields.end() ? -999999 : found->second;
    }
};

struct SimRun {
    int exitCode = -1;
    std::vector<TraceLine> lines;
    std::string stderrText;
    // The line of tick t (ticks count from 1).
    const TraceLine& at(int tick) const { return lines.at(static_cast<size_t>(tick - 1)); }
};

namespace simrun {

inline size_t skipValue(const std::string& text, size_t at) {
    int depth = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c == '[' || c == '{')
            ++depth;
        else if (c == ']' || c == '}') {
            if (depth == 0)
                return at;
            if (--depth == 0)
                return at + 1;
        } else if (c == ',' && depth == 0)
            return at;
    }
    return at;
}

inline std::vector<std::vector<int>> parsePalette(const std::string& text) {
    std::vector<std::vector<int>> colours;
    std::vector<int> current;
    long number = -1;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            number = (number < 0 ? 0 : number * 10) + (c - '0');
        else {
            if (number >= 0)
                current.push_back(static_cast<int>(number));
            number = -1;
            if (c == ']' && current.size() == 3) {
                colours.push_back(current);
                current.clear();
            }
        }
    }
    return colours;
}

// Reads one JSON object of numbers, nested objects and lists into a TraceLine.
inline void parseObject(const std::string& text, size_t& at, const std::string& prefix,
                        TraceLine* out) {
    ++at; // '{'
    while (at < text.size() && text[at] != '}') {
        size_t keyStart = text.find('"', at) + 1;
        size_t keyEnd = text.find('"', keyStart);
        std::string key = text.substr(keyStart, keyEnd - keyStart);
        at = keyEnd + 2; // past '":'
        if (text[at] == '{') {
            parseObject(text, at, prefix + key + ".", out);
        } else if (text[at] == '[') {
            size_t end = skipValue(text, at);
            std::string list = text.substr(at, end - at);
            if (key == "palette")
                out->palette = parsePalette(list);
            else if (key == "sound")
                out->sound = list;
            at = end;
        } else {
            size_t end = skipValue(text, at);
            std::string value = text.substr(at, end - at);
            if (value == "null")
                out->texts[prefix + key] = value;
            else if (value.front() == '"')
                out->texts[prefix + key] = value.substr(1, value.size() - 2);
            else
                out->fields[prefix + key] = std::strtol(value.c_str(), nullptr, 10);
            at = end;
        }
        if (at < text.size() && text[at] == ',')
            ++at;
    }
    ++at; // '}'
}

inline std::string readAll(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace simrun

// Runs the runner on dataDir with a key script (its text) for at most ticks ticks. Extra options
// (such as "--palette" or "--scene 5") and environment settings ("SDL_AUDIODRIVER=disk") may be
// given.
inline SimRun runSim(const std::string& dataDir, const std::string& keys, int ticks,
                     const std::string& options = "", const std::string& environment = "") {
    std::string work = dataDir + "/../sim-" + std::to_string(std::rand());
    std::string keysPath = work + ".keys";
    std::string tracePath = work + ".jsonl";
    std::string errPath = work + ".err";
    std::ofstream(keysPath) << keys;
    std::string command = environment + " " KAVORIND_BUILD_DIR "/kavorind-sim --data '" + dataDir +
                          "' --keys '" + keysPath + "' --ticks " + std::to_string(ticks) +
                          " --trace '" + tracePath + "' " + options + " 2>'" + errPath + "'";
    int status = std::system(command.c_str());
    SimRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.stderrText = simrun::readAll(errPath);
    std::istringstream lines(simrun::readAll(tracePath));
    std::string line;
    while (std::getline(lines, line)) {
        TraceLine parsed;
        size_t at = 0;
        simrun::parseObject(line, at, "", &parsed);
        run.lines.push_back(std::move(parsed));
    }
    std::remove(keysPath.c_str());
    std::remove(tracePath.c_str());
    std::remove(errPath.c_str());
    return run;
}

} // namespace kavorind
