#include "extras/around_start.h"

#include "extras/player_files.h"
#include "extras/replay_file.h"
#include "extras/score_table.h"
#include "input/binding_text.h"
#include "input/key_script.h"
#include "platform/file_io.h"
#include "platform/system_places.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kavorind {

namespace {

const char* loginName() {
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return nullptr;
}

// What sets a replay apart from this game, for stderr and for the mark on screen.
void noteDifferences(const ReplayHeader& header, const std::string& fingerprint,
                     const std::string& file, WatchPlan* plan) {
    if (!header.content.empty() && !fingerprint.empty() && header.content != fingerprint) {
        std::fprintf(stderr,
                     "Kavorind: %s was recorded with other content (%s, this is %s); it is played "
                     "anyway and may go its own way\n",
                     file.c_str(), header.content.c_str(), fingerprint.c_str());
        plan->note = "RECORDED WITH OTHER CONTENT";
    } else if (!header.version.empty() && header.version != KAVORIND_VERSION) {
        std::fprintf(stderr,
                     "Kavorind: %s was recorded by version %s (this is %s); it is played anyway\n",
                     file.c_str(), header.version.c_str(), KAVORIND_VERSION);
        plan->note = "RECORDED BY VERSION " + header.version;
    }
}

} // namespace

std::string keysHelpText(const std::string& settingsFile) {
    std::string text = "\nkeys (as shipped; the settings file's bind. lines change them):\n";
    for (const BindingEntry& entry : defaultBindingEntries()) {
        std::string name = entry.key.substr(entry.key.find('.') + 1);
        name.resize(std::max<size_t>(name.size(), 12), ' ');
        text += "  " + name + " " + entry.value + "\n";
    }
    text += "\nsettings: " +
            (settingsFile.empty() ? std::string("(no folder for them)") : settingsFile) +
            "\nscores and replays: " + playerFolderFromEnvironment() + "\n";
    return text;
}

std::string playerNameFor(const std::string& setting) {
    return playerNameFrom(setting, loginName());
}

std::string playerFolderFromEnvironment() {
    if (std::string folder = platformUserFolder(); !folder.empty())
        return folder;
    return playerDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

int printScores(const std::string& fingerprint) {
    const std::string folder = playerFolderFromEnvironment();
    if (folder.empty()) {
        std::fprintf(stderr, "kavorind: no folder for the scores (HOME is not set, nor "
                             "XDG_DATA_HOME to an absolute path)\n");
        return 1;
    }
    const std::string path = scoresFilePath(folder);
    ScoreTable table = loadScoreTable(path);
    std::printf("Scores kept in %s\n%s", path.c_str(),
                scoreTableReport(table, fingerprint).c_str());
    return 0;
}

int planWatch(const std::string& which, const std::string& fingerprint, WatchPlan* plan,
              std::string* error) {
    const std::string folder = playerFolderFromEnvironment();
    ScoreTable table;
    if (!folder.empty())
        table = loadScoreTable(scoresFilePath(folder));
    plan->file = replayPathForWatch(folder, which, table, fingerprint, error);
    if (plan->file.empty())
        return 0;
    FileBytes bytes;
    std::string why;
    if (!readRegularFile(plan->file, maxKeyScriptBytes, &bytes, &why)) {
        *error = "cannot read the replay " + plan->file + ": " + why;
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    ReplayHeader header;
    if (readReplayHeader(text, &header))
        noteDifferences(header, fingerprint, plan->file, plan);
    if (!scriptRunStart(text, &plan->start, &plan->startsInGame, &why)) {
        *error = plan->file + ": " + why;
        return 0;
    }
    return 1;
}

int aroundGameWanted(const GameSettings& settings, const GameOptions& options) {
    return !settings.classic && options.timedemoFile.empty();
}

AroundGameSetup aroundGameSetupFor(const GameSettings& settings, const GameOptions& options,
                                   const std::string& fingerprint, const WatchPlan& watch) {
    AroundGameSetup setup;
    const int scriptPlays = !options.replayFile.empty() || !options.timedemoFile.empty();
    setup.pauseOnFocusLoss = settings.pauseOnFocusLoss && !scriptPlays;
    setup.scriptPlays = scriptPlays;
    setup.practiceStage = options.practiceStage;
    setup.holdToFire = settings.holdToFire;
    setup.reduceFlashing = settings.reduceFlashing;
    setup.playerFolder = playerFolderFromEnvironment();
    setup.fingerprint = fingerprint;
    setup.playerName = playerNameFor(settings.name);
    setup.replayNote = watch.note;
    return setup;
}

} // namespace kavorind
