#pragma once
// Clips made in memory for the sound device tests.

#include "riff_builder.h"
#include "sound/wave_clip.h"
#include "sound/wave_writer.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace kavorind {

// A 441 Hz square wave of the given amplitude for `toneMs`, then silence up to `totalMs`;
// 22050 Hz mono 16-bit.
inline void loadTone(WaveClip& clip, int toneMs, int totalMs, int amplitude = 12000) {
    const int rate = 22050;
    std::vector<int16_t> samples(static_cast<size_t>(rate * totalMs / 1000), 0);
    size_t toneSamples = static_cast<size_t>(rate * toneMs / 1000);
    for (size_t i = 0; i < toneSamples && i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>((i / 25) % 2 ? -amplitude : amplitude);
    std::vector<uint8_t> file = waveFileBytes(describeWave(samples, 1, rate));
    clip.loadFromMemory(file);
}

} // namespace kavorind
