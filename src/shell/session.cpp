#include "shell/session.h"

#include "shell/tick_trace.h"

#include <filesystem>

namespace kavorind {

Session session;

namespace {

std::string absolutePath(const std::string& name) {
    std::error_code problem;
    std::filesystem::path path = std::filesystem::absolute(name, problem);
    return problem ? name : path.string();
}

int openForWriting(const std::string& name, std::FILE** out, std::string* error) {
    *out = std::fopen(name.c_str(), "w");
    if (!*out)
        *error = "cannot write " + name;
    return *out ? 1 : 0;
}

int startReplay(const std::string& name, std::string* error) {
    KeyScript script;
    if (!loadKeyScript(absolutePath(name), &script, error))
        return 0;
    for (const ScriptedKey& key : script.keys)
        if (key.to > session.replayLastTick)
            session.replayLastTick = key.to;
    session.replay = startKeyScript(script);
    session.replaying = 1;
    return 1;
}

int openSessionFiles(const GameOptions& options, std::string* error) {
    // A timedemo replays its script as --replay does; only the pace differs.
    const std::string& script =
        options.timedemoFile.empty() ? options.replayFile : options.timedemoFile;
    if (!script.empty() && !startReplay(script, error))
        return 0;
    if (!options.traceFile.empty()) {
        if (!openForWriting(absolutePath(options.traceFile), &session.traceFile, error))
            return 0;
        // The start-up's sound calls go into the first tick's line, as the runner has them.
        startSoundTrace();
    }
    if (!options.recordFile.empty() &&
        !openForWriting(absolutePath(options.recordFile), &session.recordFile, error))
        return 0;
    return 1;
}

int snapshotKeyDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 ? session.snapshot[static_cast<size_t>(virtualKey)]
                                               : 0;
}

// The replayed script stands in for the keyboard up to its last tick; then the source in force
// (the keyboard, or whatever reads keys on its behalf) answers again.
void takeSnapshot() {
    const int scripted = session.replaying && session.tick <= session.replayLastTick;
    if (scripted)
        advanceKeyScript(&session.replay, session.tick);
    for (int code = 0; code < 256; ++code)
        session.snapshot[static_cast<size_t>(code)] = static_cast<uint8_t>(
            scripted ? playerKeyDown(session.replay, code) : platformKeyDown(code));
}

void writeOwedTraceLine(int rendered) {
    if (!session.traceOwed)
        return;
    session.traceOwed = 0;
    if (!session.traceFile)
        return;
    TraceTick line;
    line.tick = session.tick;
    line.rendered = rendered;
    std::fprintf(session.traceFile, "%s\n", traceLine(line).c_str());
    // Line by line, so that a trace can be followed while the game runs and survives a crash.
    std::fflush(session.traceFile);
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

void beginSessionTick() {
    if (!session.active)
        return;
    // The last tick asked for no frame, or the idle step had no chance to draw it.
    writeOwedTraceLine(0);
    ++session.tick;
    takeSnapshot();
    recordTick(&session.recording, snapshotKeyDown);
    session.sourceInForce = platformKeySource();
    platformSetKeySource(snapshotKeyDown);
}

void endSessionTick() {
    if (!session.active)
        return;
    platformSetKeySource(session.sourceInForce);
    session.traceOwed = 1;
}

void sessionFrameDrawn() {
    if (session.active)
        writeOwedTraceLine(1);
}

void closeSession() {
    if (!session.active)
        return;
    writeOwedTraceLine(0);
    if (session.traceFile)
        std::fclose(session.traceFile);
    if (session.recordFile) {
        std::fputs(keyRecordingText(session.recording).c_str(), session.recordFile);
        std::fclose(session.recordFile);
    }
    stopSoundTrace();
    session = Session{};
}

} // namespace kavorind
