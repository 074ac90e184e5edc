#pragma once
#include "platform/audio.h"
#include "platform/content_file.h"
#include "platform/load_problem.h"
#include "sound/wave_format.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace kavorind {

// A clip's samples made ready for the output, shared by the clip and every channel that holds it.
using SoundBuffer = std::shared_ptr<PlatformSound>;

// One sound in memory: the format record and the sample bytes of a RIFF WAVE file. The sound device
// converts the samples into the output's format the first time the clip is assigned, and the clip
// keeps that buffer for later assigns; a channel holds its own share, so the clip may be released.
//
// The file is read once and kept whole; the samples are the bytes of its "data" chunk in place.
// Any format tag loads (the sound device plays what the output can decode and leaves the rest
// silent); a "data" chunk cut short by the end of the file keeps the bytes that are there. A file
// that is not RIFF WAVE, has no "fmt " chunk of at least 16 bytes, or no "data" chunk after it is
// refused and leaves the clip empty.
class WaveClip {
  public:
    WaveClip() = default;
    // Loads the named file; a clip whose file fails simply has no samples.
    explicit WaveClip(const char* fileName) { load(fileName); }
    WaveClip(const WaveClip&) = delete;
    WaveClip& operator=(const WaveClip&) = delete;
    WaveClip(WaveClip&&) = default;
    WaveClip& operator=(WaveClip&&) = default;

    // Reads the clip from a file; 1 on success. On failure the clip is left empty and the reason
    // goes into *problem when one is given.
    int load(const char* fileName, LoadProblem* problem = nullptr);
    // load of a whole WAVE file already in memory.
    int loadFromMemory(std::span<const uint8_t> file, LoadProblem* problem = nullptr);
    // Frees the samples and clears every field; always 1, harmless when repeated.
    int release();

    bool isEmpty() const { return !file_.data; }
    uint32_t sampleSize() const { return sampleSize_; }
    const WaveFormat* format() const { return &format_; }
    // The whole "fmt " chunk as stored (decoders of compressed formats need its extra bytes).
    std::span<const uint8_t> formatChunk() const;
    const uint8_t* samples() const { return samples_; }
    int hasSamples() const { return samples_ ? 1 : 0; }
    // The buffer kept for this output format; null when none was kept, or for another format.
    SoundBuffer keptBuffer(const PlatformPcmFormat& output) const;
    // Keeps a buffer made from this clip for the output's format. A cache, so const: the clip's
    // sound stays what it was.
    void keepBuffer(SoundBuffer buffer, const PlatformPcmFormat& output) const;

  private:
    int adopt(FileBytes file, LoadProblem* problem);

    FileBytes file_;
    const uint8_t* samples_ = nullptr; // within file_; null when the clip holds nothing
    uint32_t sampleSize_ = 0;
    WaveFormat format_;
    size_t formatOffset_ = 0;
    size_t formatSize_ = 0;
    mutable SoundBuffer kept_;
    mutable PlatformPcmFormat keptFor_;
};

// Sound files larger than this are refused (the game's longest music is a few megabytes).
constexpr size_t maxWaveFileBytes = 256u << 20;

} // namespace kavorind
