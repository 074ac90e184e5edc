#pragma once
#include "sound/wave_format.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// One sound in memory: the format record and the sample bytes of a RIFF WAVE file. The sound device
// copies the samples into a buffer of its own, after which the clip may be released.
struct WaveClip {
    uint32_t sampleBytes = 0;
    std::unique_ptr<uint8_t[]> sampleData; // null when the clip holds nothing
    WaveFormat formatRecord;

    WaveClip() = default;
    // Loads the named file; a clip whose file fails simply has no samples.
    explicit WaveClip(const char* fileName);
    WaveClip(const WaveClip&) = delete;
    WaveClip& operator=(const WaveClip&) = delete;

    // Reads the clip from a file; 1 on success. On failure the clip is left empty.
    int load(const char* fileName);
    // The same from the bytes of a whole file in memory.
    int loadBytes(const uint8_t* bytes, size_t count);
    // Frees the samples and clears every field; always 1, harmless when repeated.
    int release();
    uint32_t sampleSize() const { return sampleBytes; }
    const WaveFormat* format() const { return &formatRecord; }
    const uint8_t* samples() const { return sampleData.get(); }
    int hasSamples() const { return sampleData ? 1 : 0; }
};

// Sound files larger than this are refused (the game's longest music is a few megabytes).
constexpr size_t maxWaveFileBytes = 256u << 20;
