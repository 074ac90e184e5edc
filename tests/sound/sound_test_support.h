#pragma once
// Clips made in memory for the sound device tests.

#include "riff_builder.h"
#include "sound/wave_clip.h"
#include "sound/wave_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kavorind {

constexpr int toneRate = 22050;

// A 441 Hz square wave of the given amplitude (of 32768) for `toneMs`, then silence up to
// `totalMs`; 22050 Hz mono.
inline std::vector<int> toneSamples(int toneMs, int totalMs, int amplitude) {
    std::vector<int> samples(static_cast<size_t>(toneRate * totalMs / 1000), 0);
    size_t toneSamples = static_cast<size_t>(toneRate * toneMs / 1000);
    for (size_t i = 0; i < toneSamples && i < samples.size(); ++i)
        samples[i] = (i / 25) % 2 ? -amplitude : amplitude;
    return samples;
}

// The tone as 16-bit PCM.
inline void loadTone(WaveClip& clip, int toneMs, int totalMs, int amplitude = 12000) {
    std::vector<int> tone = toneSamples(toneMs, totalMs, amplitude);
    std::vector<int16_t> samples(tone.begin(), tone.end());
    std::vector<uint8_t> file = waveFileBytes(describeWave(samples, 1, toneRate));
    clip.loadFromMemory(file);
}

// The tone as 32-bit IEEE float samples (format 3).
inline std::vector<uint8_t> floatToneFile(int toneMs, int totalMs, int amplitude = 12000) {
    std::vector<uint8_t> data;
    for (int sample : toneSamples(toneMs, totalMs, amplitude)) {
        float value = static_cast<float>(sample) / 32768.0f;
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        putLe(data, bits, 4);
    }
    return RiffBuilder()
        .chunk("fmt ", fmtPayload(1, toneRate, 32, {}, 3))
        .chunk("data", data)
        .file();
}

// The tone as 24-bit PCM.
inline std::vector<uint8_t> pcm24ToneFile(int toneMs, int totalMs, int amplitude = 12000) {
    std::vector<uint8_t> data;
    for (int sample : toneSamples(toneMs, totalMs, amplitude))
        putLe(data, static_cast<uint32_t>(sample * 256), 3);
    return RiffBuilder().chunk("fmt ", fmtPayload(1, toneRate, 24)).chunk("data", data).file();
}

// IMA ADPCM, mono, 256-byte blocks of 505 samples. Each block starts at the level its header gives
// and, with every code 0 and the smallest step, stays there: `loudBlocks` blocks at `level`, then
// `quietBlocks` at 0.
inline std::vector<uint8_t> imaAdpcmFile(int loudBlocks, int quietBlocks, int level = 12000) {
    std::vector<uint8_t> data;
    for (int block = 0; block < loudBlocks + quietBlocks; ++block) {
        putLe(data, static_cast<uint32_t>(block < loudBlocks ? level : 0), 2);
        putLe(data, 0, 2); // step index 0, reserved byte
        data.insert(data.end(), 252, 0);
    }
    std::vector<uint8_t> samplesPerBlock{2, 0, 0xF9, 0x01}; // extra size 2, then 505
    return RiffBuilder()
        .chunk("fmt ", fmtPayload(1, toneRate, 4, samplesPerBlock, 0x11, 256))
        .chunk("data", data)
        .file();
}

} // namespace kavorind
