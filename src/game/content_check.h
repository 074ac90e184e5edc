#pragma once
#include "sound/wave_clip.h"

#include <string>
#include <vector>

namespace kavorind {

// How much a problem in a content folder matters.
enum ContentSeverity {
    ContentWarning = 1, // the game runs, but not as the author likely meant
    ContentError = 2,   // the game will not start, or will stop when it reaches the file
};

// One problem found in a content folder: the file, what is wrong, and how to put it right.
struct ContentProblem {
    std::string file;
    int severity = ContentError;
    std::string what;
    std::string fix;
};

// Checks a whole content folder as the game will load it: every file it reads present (names
// matched without regard to case), each one loadable, and the rules the scenes and the gameplay
// rely on (rates and frame counts as start-up applies them, spawn codes, a boss in each stage, the
// tally's hit-point bars, key colours). The problems in the order the game meets the files.
std::vector<ContentProblem> checkContentFolder(const std::string& dir);
// 0 when there is no problem, 1 when there are warnings only, 2 when there is an error.
int checkExitCode(const std::vector<ContentProblem>& problems);
// One line for a problem: "error: FILE: WHAT; fix: FIX".
std::string describeProblem(const ContentProblem& problem);
// Why the game's sound calls would leave a loaded wave silent ("0 channels: it plays silent"),
// as the sound output converts or decodes it; empty when it plays.
std::string whyWaveIsSilent(const WaveClip& clip);

} // namespace kavorind
