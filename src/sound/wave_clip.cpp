#include "sound/wave_clip.h"

#include "sound/content_file.h"
#include "sound/riff_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

struct Chunk {
    size_t body = 0; // offset of the chunk's data in the file
    uint32_t size = 0;
};

// Looks for the chunk `name` from the reader's position up to `end`, skipping other chunks and the
// pad byte that follows an odd-sized one. 0 when it is not there, or when a chunk claims more bytes
// than the RIFF form holds (the file is then refused rather than read past its end).
int findChunk(RiffReader& reader, const char* name, size_t end, Chunk* found) {
    while (reader.position + 8 <= end) {
        int matches = reader.tag(name);
        uint32_t size = reader.u32();
        if (reader.failed || size > end - reader.position)
            return 0;
        if (matches) {
            *found = Chunk{reader.position, size};
            return 1;
        }
        size_t next = reader.position + size + (size & 1);
        if (!reader.seek(std::min(next, end)))
            return 0;
    }
    return 0;
}

// Only what the output can take: 8- or 16-bit PCM, whole-sample frames, a rate that a playback
// buffer accepts.
int playableFormat(const WaveFormat& format) {
    if (format.formatTag != WAVE_FORMAT_PCM)
        return 0;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return 0;
    if (format.channels < 1 || format.channels > 8)
        return 0;
    if (format.blockAlign != format.channels * format.bitsPerSample / 8)
        return 0;
    return format.samplesPerSec >= 100 && format.samplesPerSec <= 200000;
}

int readFormat(RiffReader& reader, const Chunk& chunk, WaveFormat* format) {
    if (chunk.size < 16 || !reader.seek(chunk.body))
        return 0;
    format->formatTag = reader.u16();
    format->channels = reader.u16();
    format->samplesPerSec = reader.u32();
    format->avgBytesPerSec = reader.u32();
    format->blockAlign = reader.u16();
    format->bitsPerSample = reader.u16();
    // A plain 16-byte PCM "fmt " has no extra-format size; nothing reads it for PCM.
    format->extraSize = chunk.size >= 18 ? reader.u16() : 0;
    return !reader.failed;
}

} // namespace

WaveClip::WaveClip(const char* fileName) {
    load(fileName);
}

int WaveClip::release() {
    sampleData.reset();
    sampleBytes = 0;
    formatRecord = WaveFormat{};
    return 1;
}

int WaveClip::load(const char* fileName) {
    release();
    std::vector<uint8_t> file;
    if (!fileName || !readContentFile(fileName, maxWaveFileBytes, &file))
        return 0;
    return loadBytes(file.data(), file.size());
}

int WaveClip::loadBytes(const uint8_t* bytes, size_t count) {
    release();
    RiffReader reader{bytes, bytes ? count : 0};
    if (!reader.tag("RIFF"))
        return 0;
    uint32_t riffSize = reader.u32();
    if (!reader.tag("WAVE"))
        return 0;
    // The form ends where its size says, or at the end of a file that is shorter.
    size_t end = std::min<size_t>(count, 8 + static_cast<uint64_t>(riffSize));
    Chunk fmt;
    WaveFormat format;
    if (!findChunk(reader, "fmt ", end, &fmt) || !readFormat(reader, fmt, &format) ||
        !playableFormat(format))
        return 0;
    // "data" is searched for only after "fmt ": one placed before it is not found.
    Chunk data;
    size_t afterFormat = std::min<size_t>(fmt.body + fmt.size + (fmt.size & 1), end);
    if (!reader.seek(afterFormat) || !findChunk(reader, "data", end, &data))
        return 0;
    // A trailing partial frame is dropped: the output plays whole frames only.
    uint32_t size = data.size - data.size % format.blockAlign;
    if (size > 0) {
        sampleData.reset(new (std::nothrow) uint8_t[size]);
        if (!sampleData)
            return 0;
        std::memcpy(sampleData.get(), bytes + data.body, size);
    }
    sampleBytes = size;
    formatRecord = format;
    return 1;
}
