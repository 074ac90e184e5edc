#pragma once
#include <string>

namespace kavorind {

// What a timedemo measured. A tick is the timer's message handled (the scene's update and its
// sound calls); a frame is the idle step that draws and presents what the tick asked for.
struct TimedemoFigures {
    long ticks = 0;
    long frames = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0; // the whole process's, every thread included
    double slowestTickMs = 0;
    double slowestFrameMs = 0;
};

// `kavorind --timedemo FILE`: the real game, window, rendering and presenting included, fed the
// key script's ticks back to back instead of on the frame timer's beat.
struct Timedemo {
    int active = 0;
    long length = 0; // ticks to run: the script's own count, or up to its last held key
    TimedemoFigures figures;
};

extern Timedemo timedemo;

// How many ticks a key script covers: its "# ticks: N" line (as recordings and the pilot write
// it), the last "# recorded to tick N" of a recording cut short, or, when those are missing or
// shorter, the last tick a key is held.
long timedemoLength(const std::string& scriptText, int lastHeldTick);
// Before enterProgram, once the session has read the script and measured its length: sets the
// length, has the timedemo fire the frame timer itself and presenting not wait for the vertical
// blank.
void prepareTimedemo(long length);
// Instead of the message loop: runs the ticks, each followed by its frame, until the script's
// last tick or until the game ends by itself; then ends the program as a close would, prints the
// figures on stdout and returns the exit code.
int runTimedemo();
// The same in passes, for a loop the page drives: each runs ticks for a share of a display frame.
// 0 once the demo has ended and reported, with the exit code in *exitCode.
int timedemoPass(int* exitCode);
// The figures as one line of name=value pairs (times in seconds and milliseconds).
std::string timedemoReport(const TimedemoFigures& figures);

} // namespace kavorind
