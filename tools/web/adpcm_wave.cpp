#include "web/adpcm_wave.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavorind {

namespace {

// libsndfile reads from and writes to memory through these calls: a file in a byte vector, with
// a position that writes may move past its end.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* data) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(data)->bytes.size());
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* data) {
    auto* file = static_cast<MemoryFile*>(data);
    sf_count_t base = whence == SEEK_CUR   ? file->position
                      : whence == SEEK_END ? static_cast<sf_count_t>(file->bytes.size())
                                           : 0;
    if (base + offset < 0)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* data) {
    auto* file = static_cast<MemoryFile*>(data);
    const sf_count_t size = static_cast<sf_count_t>(file->bytes.size());
    const sf_count_t taken = std::clamp<sf_count_t>(size - file->position, 0, count);
    if (taken > 0)
        std::memcpy(out, file->bytes.data() + file->position, static_cast<size_t>(taken));
    file->position += taken;
    return taken;
}

sf_count_t memoryWrite(const void* in, sf_count_t count, void* data) {
    auto* file = static_cast<MemoryFile*>(data);
    const size_t end = static_cast<size_t>(file->position + count);
    if (end > file->bytes.size())
        file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->position, in, static_cast<size_t>(count));
    file->position += count;
    return count;
}

sf_count_t memoryTell(void* data) {
    return static_cast<MemoryFile*>(data)->position;
}

SF_VIRTUAL_IO memoryCalls() {
    return SF_VIRTUAL_IO{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
}

uint32_t littleEndian32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

} // namespace

int decodeWave(std::span<const uint8_t> file, PcmSamples* out, std::string* why) {
    MemoryFile memory{{file.begin(), file.end()}, 0};
    SF_VIRTUAL_IO calls = memoryCalls();
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&calls, SFM_READ, &info, &memory);
    if (!sound) {
        *why = sf_strerror(nullptr);
        return 0;
    }
    out->channels = info.channels;
    out->sampleRate = info.samplerate;
    out->samples.assign(static_cast<size_t>(info.frames * info.channels), 0);
    const sf_count_t read = sf_readf_short(sound, out->samples.data(), info.frames);
    sf_close(sound);
    if (read != info.frames) {
        *why = "its samples end early";
        return 0;
    }
    return 1;
}

int encodeAdpcmWave(const PcmSamples& pcm, std::vector<uint8_t>* file, std::string* why) {
    if (pcm.channels < 1 || pcm.channels > 2 || pcm.sampleRate <= 0) {
        *why = "only mono or stereo waves at a rate above 0 are made ADPCM";
        return 0;
    }
    MemoryFile memory;
    SF_VIRTUAL_IO calls = memoryCalls();
    // libsndfile chooses 512-byte blocks for rates up to 23 kHz in mono, 1024 in stereo.
    SF_INFO info{};
    info.samplerate = pcm.sampleRate;
    info.channels = pcm.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
    SNDFILE* sound = sf_open_virtual(&calls, SFM_WRITE, &info, &memory);
    if (!sound) {
        *why = sf_strerror(nullptr);
        return 0;
    }
    const sf_count_t frames = static_cast<sf_count_t>(pcm.samples.size()) / pcm.channels;
    const sf_count_t written = sf_writef_short(sound, pcm.samples.data(), frames);
    if (sf_close(sound) != 0 || written != frames) {
        *why = "the ADPCM wave could not be made";
        return 0;
    }
    *file = std::move(memory.bytes);
    return 1;
}

int isPcmWave(std::span<const uint8_t> file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return 0;
    // The chunks after the form type, each padded to an even length, up to the format.
    for (size_t at = 12; at + 8 <= file.size();) {
        const uint32_t size = littleEndian32(file.data() + at + 4);
        if (std::memcmp(file.data() + at, "fmt ", 4) == 0) {
            if (size < 16 || at + 8 + 16 > file.size())
                return 0;
            const uint8_t* format = file.data() + at + 8;
            const int tag = format[0] | format[1] << 8;
            const int bits = format[14] | format[15] << 8;
            return tag == 1 && (bits == 8 || bits == 16) ? 1 : 0;
        }
        at += 8 + static_cast<size_t>(size) + (size & 1);
    }
    return 0;
}

double signalToNoiseDb(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        const double wanted = original[i];
        const double error = wanted - (i < decoded.size() ? decoded[i] : 0);
        signal += wanted * wanted;
        noise += error * error;
    }
    if (noise == 0)
        return 200;
    return 10 * std::log10(signal / noise);
}

} // namespace kavorind
