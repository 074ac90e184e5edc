#include "web/adpcm_wave.h"

#include "platform/byte_io.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavorind {

namespace {

// libsndfile reads from memory through these calls: a file in a byte vector, and a position.
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

// Files are only read through libsndfile: the package's own coder writes the ADPCM.
sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* data) {
    return static_cast<MemoryFile*>(data)->position;
}

SF_VIRTUAL_IO memoryCalls() {
    return SF_VIRTUAL_IO{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
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
    if (pcm.channels != 1 || pcm.sampleRate <= 0) {
        *why = "only mono waves at a rate above 0 are made ADPCM";
        return 0;
    }
    const size_t blocks = (pcm.samples.size() + adpcmSamplesPerBlock - 1) / adpcmSamplesPerBlock;
    const uint32_t dataBytes = static_cast<uint32_t>(blocks * adpcmBlockBytes);
    file->clear();
    ByteWriter writer(file);
    // The header as libsndfile writes it: a 20-byte format with the samples a block holds, and
    // a fact chunk counting the samples the blocks decode to, padding included.
    writer.tag("RIFF");
    writer.u32(4 + 8 + 20 + 8 + 4 + 8 + dataBytes);
    writer.tag("WAVE");
    writer.tag("fmt ");
    writer.u32(20);
    writer.u16(0x11); // IMA ADPCM
    writer.u16(1);
    writer.u32(static_cast<uint32_t>(pcm.sampleRate));
    writer.u32(static_cast<uint32_t>(static_cast<uint64_t>(pcm.sampleRate) * adpcmBlockBytes /
                                     adpcmSamplesPerBlock));
    writer.u16(adpcmBlockBytes);
    writer.u16(4);
    writer.u16(2);
    writer.u16(adpcmSamplesPerBlock);
    writer.tag("fact");
    writer.u32(4);
    writer.u32(static_cast<uint32_t>(blocks * adpcmSamplesPerBlock));
    writer.tag("data");
    writer.u32(dataBytes);
    const size_t dataStart = file->size();
    file->resize(dataStart + dataBytes);
    ImaCoder coder;
    const std::span<const int16_t> samples(pcm.samples);
    for (size_t block = 0; block < blocks; ++block)
        encodeImaBlock(samples.subspan(block * adpcmSamplesPerBlock), &coder,
                       file->data() + dataStart + block * adpcmBlockBytes);
    return 1;
}

int isPcmWave(std::span<const uint8_t> file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return 0;
    // The chunks after the form type, each padded to an even length, up to the format.
    for (size_t at = 12; at + 8 <= file.size();) {
        const uint32_t size = peekU32(file.data() + at + 4);
        if (std::memcmp(file.data() + at, "fmt ", 4) == 0) {
            if (size < 16 || at + 8 + 16 > file.size())
                return 0;
            const uint8_t* format = file.data() + at + 8;
            const int tag = peekU16(format);
            const int bits = peekU16(format + 14);
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
