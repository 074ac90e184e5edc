#include "shell/session.h"

#include "input/key_state.h"
#include "scenes/scene_protocol.h"
#include "shell/tick_trace.h"
#include "shell/timedemo.h"

#include <cstdio>
#include <filesystem>

namespace kavorind {

Session session;

namespace {

std::string absolutePath(const std::string& name) {
    std::error_code problem;
    std::filesystem::path path = std::filesystem::absolute(name, problem);
    return problem ? name : path.string();
}

// The script a session plays: --timedemo's, or --replay's (only one of them is ever given).
const std::string& scriptOf(const GameOptions& options) {
    return options.timedemoFile.empty() ? options.replayFile : options.timedemoFile;
}

// Two of the session's files that are one, under any spelling or through a link, would be
// written into each other, or the script played would be replaced by what the session writes.
int checkFilesApart(const GameOptions& options, std::string* error) {
    struct Named {
        const char* option;
        std::string path;
    };
    const Named files[] = {
        {"--trace", options.traceFile},
        {"--record", options.recordFile},
        {options.timedemoFile.empty() ? "--replay" : "--timedemo", scriptOf(options)}};
    for (size_t first = 0; first < 2; ++first)
        for (size_t second = first + 1; second < 3; ++second) {
            const Named& a = files[first];
            const Named& b = files[second];
            if (a.path.empty() || b.path.empty() ||
                !sameFile(absolutePath(a.path), absolutePath(b.path)))
                continue;
            *error = std::string(a.option) + " and " + b.option + " name the same file, " +
                     absolutePath(b.path) + "; give each its own";
            return 0;
        }
    return 1;
}

// The script is read once, here, whole and bounded; the timedemo takes its length from what
// was read rather than reading the file again.
int startReplay(const std::string& name, std::string* error) {
    const std::string path = absolutePath(name);
    FileBytes bytes;
    std::string why;
    if (!readRegularFile(path, maxKeyScriptBytes, &bytes, &why)) {
        *error = "cannot read key script " + path + ": " + why;
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    bytes = FileBytes{};
    KeyScript script;
    if (!parseKeyScript(text, &script, &why)) {
        *error = path + ": " + why;
        return 0;
    }
    for (const ScriptedKey& key : script.keys)
        if (key.to > session.replayLastTick)
            session.replayLastTick = key.to;
    session.replayLength = timedemoLength(text, session.replayLastTick);
    session.replay = startKeyScript(script);
    session.replaying = 1;
    return 1;
}

// Makes the file beside its name and writes its first text there; a place that cannot be
// written, or a disk already full, is refused now rather than after the session.
int openOutput(const std::string& name, FileDurability durability, const std::string& firstText,
               GrowingFile* file, std::string* error) {
    const std::string path = absolutePath(name);
    std::string why;
    if (!openGrowingFile(file, path, durability, &why)) {
        *error = "cannot write " + path + ": " + why;
        return 0;
    }
    if (appendWholeToGrowingFile(file, firstText))
        return 1;
    *error = "cannot write " + path + ": " + file->reason;
    closeGrowingFile(file);
    *file = GrowingFile{};
    return 0;
}

int openSessionFiles(const GameOptions& options, std::string* error) {
    if (!checkFilesApart(options, error))
        return 0;
    if (!scriptOf(options).empty() && !startReplay(scriptOf(options), error))
        return 0;
    if (!options.traceFile.empty()) {
        if (!openOutput(options.traceFile, FileQuick, "", &session.trace, error))
            return 0;
        // The start-up's sound calls go into the first tick's line, as the runner has them.
        startSoundTrace();
    }
    return options.recordFile.empty() || openOutput(options.recordFile, FileDurable,
                                                    keyRecordingHeader(), &session.record, error);
}

int isOpen(const GrowingFile& file) {
    return file.descriptor >= 0;
}

// Writes the recording's new ticks and flushes it to the disk; once start-up has succeeded the
// files take their names the first time.
void flushSessionFiles() {
    if (isOpen(session.record))
        appendWholeToGrowingFile(&session.record, takeKeyRecordingPiece(&session.recording));
    if (!session.started)
        return;
    for (GrowingFile* file : {&session.trace, &session.record})
        if (isOpen(*file))
            placeGrowingFile(file);
}

// Closes a file; a file not written whole is named on stderr with the system's reason.
int closeOutput(GrowingFile* file) {
    if (closeGrowingFile(file))
        return 1;
    std::fprintf(stderr, "kavorind: cannot write %s: %s\n", file->path.c_str(),
                 file->reason.c_str());
    return 0;
}

int snapshotKeyDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 ? session.snapshot[static_cast<size_t>(virtualKey)]
                                               : 0;
}

// 1 when one of the game keys went down on the player's own devices since the last look; the
// first look only notes what is held, so a key held as the script starts takes nothing over.
int playerPressedGameKey() {
    uint8_t held = 0;
    for (int index = 0; index < gameKeyCount; ++index)
        if (platformKeyDown(gameKeyCode(index)))
            held |= static_cast<uint8_t>(1 << index);
    const uint8_t pressed = session.playerKeysSeen ? held & ~session.playerKeys : 0;
    session.playerKeys = held;
    session.playerKeysSeen = 1;
    return pressed != 0;
}

// The replayed script stands in for the keyboard up to its last tick, or until the player takes
// over; then the source in force (the keyboard, or whatever reads keys on its behalf) answers
// again.
void takeSnapshot() {
    int scripted = session.replaying && session.tick <= session.replayLastTick;
    if (scripted && session.takeOver && playerPressedGameKey()) {
        session.replaying = 0;
        session.takenOverAt = session.tick;
        scripted = 0;
        std::fprintf(stderr, "Kavorind: the player took over the replay at tick %d\n",
                     session.tick);
    }
    if (scripted)
        advanceKeyScript(&session.replay, session.tick);
    for (int code = 0; code < 256; ++code)
        session.snapshot[static_cast<size_t>(code)] = static_cast<uint8_t>(
            scripted ? playerKeyDown(session.replay, code) : platformKeyDown(code));
}

// Line by line, so that a trace can be followed while the game runs and survives a crash.
void writeOwedTraceLine(int rendered) {
    if (!session.traceOwed)
        return;
    session.traceOwed = 0;
    if (!isOpen(session.trace))
        return;
    TraceTick line;
    line.tick = session.tick;
    line.rendered = rendered;
    appendWholeToGrowingFile(&session.trace, traceLine(line) + "\n");
}

} // namespace

int openSession(const GameOptions& options, std::string* error) {
    session = Session{};
    if (options.recordFile.empty() && options.replayFile.empty() && options.traceFile.empty() &&
        options.timedemoFile.empty())
        return 1;
    session.active = 1;
    if (openSessionFiles(options, error))
        return 1;
    closeSession();
    return 0;
}

void sessionStarted() {
    if (!session.active)
        return;
    session.started = 1;
    session.lastScene = sceneLoop.currentScene;
    flushSessionFiles();
}

void beginSessionTick() {
    if (!session.active && !session.snapshotting)
        return;
    // The last tick asked for no frame, or the idle step had no chance to draw it.
    writeOwedTraceLine(0);
    ++session.tick;
    takeSnapshot();
    if (session.active)
        recordTick(&session.recording, snapshotKeyDown);
    session.sourceInForce = platformKeySource();
    platformSetKeySource(snapshotKeyDown);
}

int sessionKeyDown(int virtualKey) {
    return snapshotKeyDown(virtualKey);
}

int sessionScriptPlays() {
    return session.replaying && session.tick <= session.replayLastTick ? 1 : 0;
}

// Flushes fall on ticks alone (every second's worth, and a change of scene), never on the clock,
// so that the same keys always make the same recording.
void endSessionTick() {
    if (!session.active && !session.snapshotting)
        return;
    platformSetKeySource(session.sourceInForce);
    if (!session.active)
        return;
    session.traceOwed = 1;
    const int sceneChanged = sceneLoop.currentScene != session.lastScene;
    session.lastScene = sceneLoop.currentScene;
    if (sceneChanged || session.tick % sessionFlushTicks == 0)
        flushSessionFiles();
}

void sessionFrameDrawn() {
    if (session.active)
        writeOwedTraceLine(1);
}

int closeSession() {
    if (!session.active)
        return 1;
    writeOwedTraceLine(0);
    if (isOpen(session.record))
        appendWholeToGrowingFile(&session.record, finishKeyRecording(&session.recording));
    if (session.started)
        for (GrowingFile* file : {&session.trace, &session.record})
            if (isOpen(*file))
                placeGrowingFile(file);
    const int traceWhole = closeOutput(&session.trace);
    const int recordWhole = closeOutput(&session.record);
    stopSoundTrace();
    session = Session{};
    return traceWhole && recordWhole;
}

} // namespace kavorind
