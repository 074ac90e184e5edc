#pragma once
#include "input/key_recording.h"
#include "input/key_script.h"
#include "platform/file_io.h"
#include "platform/keyboard.h"
#include "shell/options.h"

#include <array>
#include <cstdint>
#include <string>

namespace kavorind {

// A session of the real game with --record, --replay (or --timedemo) or --trace: the keys of every
// tick come from one snapshot taken as the tick starts (from the replayed script while it lasts,
// then from the key source in force), the recording holds exactly those, and the trace gets the
// headless runner's line for every tick, numbered from the first timer tick handled.
//
// Both files are written as the game goes. They are made beside their names when the session
// opens, so that a place that cannot be written is refused before the window opens, and take
// their names once start-up has succeeded: a failed start leaves an older file of that name as it
// was. The recording is written and flushed to the disk every second of ticks and at every change
// of scene, so that a crash or a kill keeps everything up to the last flush, and the same keys
// always make the same bytes.
struct Session {
    int active = 0;
    // Without files, the shell around the game still wants each tick's keys held still and
    // readable (the run's own replay): the snapshot is taken, nothing is written.
    int snapshotting = 0;
    // While a script plays, the first game key the player presses ends it: from that tick the keys
    // are the player's.
    int takeOver = 0;
    int takenOverAt = 0;    // the tick the player took over; 0 while the script has the keys
    int playerKeysSeen = 0; // the player's keys have been looked at once
    uint8_t playerKeys = 0; // the game keys the player held at the last look, as recordings do
    int started = 0;        // start-up succeeded: the files may take their names
    int tick = 0;           // timer ticks handled so far
    int traceOwed = 0; // the line of `tick` waits for its idle step or, without one, the next tick
    int lastScene = 0; // the scene at the end of the last tick
    GrowingFile trace;
    GrowingFile record;
    KeyRecording recording;
    int replaying = 0;
    int replayLastTick = 0; // after this tick the keys come from the source in force again
    long replayLength = 0;  // the ticks the script covers, its own count included (timedemo)
    KeyScriptPlayer replay;
    std::array<uint8_t, 256> snapshot{};       // the keys of the running tick
    PlatformKeySource sourceInForce = nullptr; // put back when the tick ends
};

extern Session session;

// The recording is flushed after every this many ticks: a second of play.
constexpr int sessionFlushTicks = 30;

// Takes the session's files from the command line, made absolute before anything changes the
// working directory: reads the script to replay (--replay's or --timedemo's) and makes the files
// to write. Without any of these options the session stays inactive and every hook below does
// nothing. 0 with a message in *error when a file cannot be read or written, the script is not
// understood, or two of the files are one (the trace and the recording, or either and the script).
int openSession(const GameOptions& options, std::string* error);
// Start-up has succeeded: the files take their names, replacing older ones.
void sessionStarted();
// At the start and the end of every timer tick the window procedure handles.
void beginSessionTick();
void endSessionTick();
// The keys of the running tick (the snapshot), as the game reads them.
int sessionKeyDown(int virtualKey);
// 1 while the tick's keys come from the replayed script.
int sessionScriptPlays();
// After the idle step drew the frame that the last tick asked for.
void sessionFrameDrawn();
// At exit: writes the last tick's trace line and the rest of the recording, and closes the files.
// 1 when everything was written whole; otherwise 0, with a line on stderr for every file that
// could not be, naming it and the system's reason.
int closeSession();

} // namespace kavorind
