#include "sound/wave_clip.h"

#include "platform/byte_io.h"

#include <algorithm>
#include <new>

namespace kavorind {

namespace {

struct Chunk {
    size_t body = 0; // offset of the chunk's data in the file
    uint32_t size = 0;
};

// Looks for the chunk `name` from the reader's position up to `end`, skipping other chunks and the
// pad byte that follows an odd-sized one. 0 when it is not there, or when a chunk before it claims
// more bytes than the RIFF form holds. The chunk found may itself run past `end`: its caller
// decides what to make of that.
int findChunk(ByteReader& reader, const char* name, size_t end, Chunk* found) {
    while (reader.position() + 8 <= end) {
        int matches = reader.readMagic(name, 4);
        if (!matches && !reader.skip(4))
            return 0;
        uint32_t size = 0;
        if (!reader.readU32(&size))
            return 0;
        if (matches) {
            *found = Chunk{reader.position(), size};
            return 1;
        }
        if (size > end - reader.position())
            return 0;
        size_t next = reader.position() + size + (size & 1);
        if (!reader.seek(std::min(next, end)))
            return 0;
    }
    return 0;
}

int readFormat(ByteReader& reader, const Chunk& chunk, WaveFormat* format) {
    if (chunk.size < 16 || chunk.size > reader.size() - chunk.body || !reader.seek(chunk.body))
        return 0;
    reader.readU16(&format->formatTag);
    reader.readU16(&format->channels);
    reader.readU32(&format->samplesPerSec);
    reader.readU32(&format->avgBytesPerSec);
    reader.readU16(&format->blockAlign);
    reader.readU16(&format->bitsPerSample);
    // A plain 16-byte PCM "fmt " has no extra-format size; nothing reads it for PCM.
    format->extraSize = 0;
    if (chunk.size >= 18)
        reader.readU16(&format->extraSize);
    return 1;
}

} // namespace

int WaveClip::release() {
    *this = WaveClip();
    return 1;
}

SoundBuffer WaveClip::keptBuffer(const PlatformPcmFormat& output) const {
    if (keptFor_.sampleRate != output.sampleRate || keptFor_.channels != output.channels ||
        keptFor_.bitsPerSample != output.bitsPerSample)
        return nullptr;
    return kept_;
}

void WaveClip::keepBuffer(SoundBuffer buffer, const PlatformPcmFormat& output) const {
    kept_ = std::move(buffer);
    keptFor_ = output;
}

std::span<const uint8_t> WaveClip::formatChunk() const {
    if (isEmpty())
        return {};
    return {file_.data.get() + formatOffset_, formatSize_};
}

int WaveClip::load(const char* fileName, LoadProblem* problem) {
    release();
    FileBytes file;
    if (!fileName || !readWholeFile(fileName, maxWaveFileBytes, &file))
        return refuseLoad(problem, 0, "the file is missing, unreadable or too large");
    return adopt(std::move(file), problem);
}

int WaveClip::loadFromMemory(std::span<const uint8_t> bytes, LoadProblem* problem) {
    release();
    FileBytes copy = copyFileBytes(bytes);
    if (!copy.data)
        return refuseLoad(problem, 0, "out of memory for a copy of the file");
    return adopt(std::move(copy), problem);
}

int WaveClip::adopt(FileBytes file, LoadProblem* problem) {
    ByteReader reader(file.view());
    uint32_t riffSize = 0;
    if (!reader.readMagic("RIFF") || !reader.readU32(&riffSize))
        return refuseLoad(problem, 0, "not a RIFF file: it does not start with \"RIFF\"");
    if (!reader.readMagic("WAVE"))
        return refuseLoad(problem, 8, "a RIFF file, but not of form \"WAVE\"");
    // The form ends where its size says, or at the end of a file that is shorter.
    size_t end = std::min<size_t>(file.size, 8 + static_cast<uint64_t>(riffSize));
    Chunk fmt;
    WaveFormat format;
    if (!findChunk(reader, "fmt ", end, &fmt))
        return refuseLoad(problem, reader.position(),
                          "no \"fmt \" chunk (or a chunk before it runs past the RIFF form)");
    if (!readFormat(reader, fmt, &format))
        return refuseLoad(problem, fmt.body - 4, // its size field
                          "the \"fmt \" chunk is shorter than 16 bytes or runs past the end");
    // "data" is searched for only after "fmt ": one placed before it is not found.
    Chunk data;
    size_t afterFormat = std::min<size_t>(fmt.body + fmt.size + (fmt.size & 1), end);
    if (!reader.seek(afterFormat) || !findChunk(reader, "data", end, &data))
        return refuseLoad(problem, reader.position(), "no \"data\" chunk after the \"fmt \" chunk");
    // A "data" chunk cut short by the end of the file keeps the samples that are there, in whole
    // frames: the output plays whole frames only.
    uint32_t size = static_cast<uint32_t>(std::min<size_t>(data.size, file.size - data.body));
    if (format.blockAlign > 0)
        size -= size % format.blockAlign;

    file_ = std::move(file);
    samples_ = size > 0 ? file_.data.get() + data.body : nullptr;
    sampleSize_ = size;
    format_ = format;
    formatOffset_ = fmt.body;
    formatSize_ = fmt.size;
    return 1;
}

} // namespace kavorind
