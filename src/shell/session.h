#pragma once
#include "input/key_recording.h"
#include "input/key_script.h"
#include "platform/keyboard.h"
#include "shell/options.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kavorind {

// A session of the real game with --record, --replay (or --timedemo) or --trace: the keys of every
// tick come from one snapshot taken as the tick starts (from the replayed script while it lasts,
// then from the key source in force), the recording holds exactly those, and the trace gets the
// headless runner's line for every tick, numbered from the first timer tick handled.
struct Session {
    int active = 0;
    int tick = 0;      // timer ticks handled so far
    int traceOwed = 0; // the line of `tick` waits for its idle step or, without one, the next tick
    std::FILE* traceFile = nullptr;
    std::FILE* recordFile = nullptr; // opened at start, so that the name is taken where given
    KeyRecording recording;
    int replaying = 0;
    int replayLastTick = 0; // after this tick the keys come from the source in force again
    KeyScriptPlayer replay;
    std::array<uint8_t, 256> snapshot{};       // the keys of the running tick
    PlatformKeySource sourceInForce = nullptr; // put back when the tick ends
};

extern Session session;

// Takes the session's files from the command line, made absolute before anything changes the
// working directory: reads the script to replay (--replay's or --timedemo's) and opens the files
// to write. Without any of these options the session stays inactive and every hook below does
// nothing. 0 with a message in *error when a file cannot be read or written or the script is not
// understood.
int openSession(const GameOptions& options, std::string* error);
// At the start and the end of every timer tick the window procedure handles.
void beginSessionTick();
void endSessionTick();
// After the idle step drew the frame that the last tick asked for.
void sessionFrameDrawn();
// At exit: writes the last tick's trace line and the recorded keys, and closes the files.
void closeSession();

} // namespace kavorind
