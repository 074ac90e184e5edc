#pragma once
// The checks a looping clip passes before it ships: its length fits the browser build's ADPCM
// blocks, and its end joins its start with neither a drop in level nor a click.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

struct ContentSet;

// Samples in one 512-byte block of mono IMA ADPCM: the header holds the first sample, and each of
// the remaining 508 bytes holds two more. A loop of whole blocks joins in the ADPCM copy as cleanly
// as in the original.
constexpr size_t adpcmBlockSamples = 1017;

// How a loop's end meets its start.
struct LoopJoin {
    double endDb = 0;   // RMS level of the last 100 ms, in dB below full scale
    double startDb = 0; // and of the first 100 ms
    int joinStep = 0;   // |last sample - first sample|
    int usualStep = 0;  // the 99th percentile of the steps between neighbouring samples
};

LoopJoin measureLoopJoin(const std::vector<int16_t>& samples, int sampleRate);

// 1 when the clip loops cleanly: whole ADPCM blocks, end and start levels within 3 dB, and a join
// step no larger than the clip's usual steps. Otherwise 0 with the reason in *why.
int checkLoop(const std::vector<int16_t>& samples, int sampleRate, std::string* why);

// Checks every looping sound of the content set; 1 when all pass, else 0 after naming each one that
// failed on stderr.
int checkLoopingSounds(const ContentSet& content);

} // namespace kavorind
