#include "sound/wave_writer.h"

#include "platform/byte_io.h"
#include "platform/content_file.h"
#include "sound/wave_format.h"

namespace kavorind {

namespace {

int describable(const WaveDescription& wave) {
    if (wave.channels != 1 && wave.channels != 2)
        return 0;
    if (wave.bitsPerSample != 8 && wave.bitsPerSample != 16)
        return 0;
    size_t frameBytes = static_cast<size_t>(wave.channels * wave.bitsPerSample / 8);
    // The RIFF size field must hold the whole file.
    return wave.sampleRate > 0 && wave.data.size() % frameBytes == 0 &&
           wave.data.size() < 0xFFFFFF00u;
}

} // namespace

WaveDescription describeWave(const std::vector<int16_t>& samples, int channels, uint32_t sampleRate,
                             int bitsPerSample) {
    WaveDescription wave;
    wave.channels = channels;
    wave.bitsPerSample = bitsPerSample;
    wave.sampleRate = sampleRate;
    wave.data.reserve(samples.size() * (bitsPerSample == 8 ? 1 : 2));
    for (int16_t sample : samples) {
        if (bitsPerSample == 8)
            wave.data.push_back(static_cast<uint8_t>((sample >> 8) + 128));
        else
            ByteWriter(&wave.data).u16(static_cast<uint16_t>(sample));
    }
    return wave;
}

std::vector<uint8_t> waveFileBytes(const WaveDescription& wave) {
    std::vector<uint8_t> out;
    if (!describable(wave))
        return out;
    uint32_t dataSize = static_cast<uint32_t>(wave.data.size());
    uint32_t padded = dataSize + (dataSize & 1);
    uint32_t blockAlign = static_cast<uint32_t>(wave.channels * wave.bitsPerSample / 8);
    out.reserve(44 + padded);
    ByteWriter writer(&out);
    writer.tag("RIFF");
    writer.u32(4 + 8 + 16 + 8 + padded);
    writer.tag("WAVE");
    writer.tag("fmt ");
    writer.u32(16);
    writer.u16(WAVE_FORMAT_PCM);
    writer.u16(static_cast<uint16_t>(wave.channels));
    writer.u32(wave.sampleRate);
    writer.u32(wave.sampleRate * blockAlign);
    writer.u16(static_cast<uint16_t>(blockAlign));
    writer.u16(static_cast<uint16_t>(wave.bitsPerSample));
    writer.tag("data");
    writer.u32(dataSize);
    writer.bytes(wave.data.data(), wave.data.size());
    writer.fill(0, dataSize & 1);
    return out;
}

std::vector<uint8_t> waveFileFromChunks(std::span<const uint8_t> formatChunk,
                                        std::span<const uint8_t> samples) {
    std::vector<uint8_t> out;
    uint64_t formatPadded = formatChunk.size() + (formatChunk.size() & 1);
    uint64_t dataPadded = samples.size() + (samples.size() & 1);
    uint64_t riffSize = 4 + 8 + formatPadded + 8 + dataPadded;
    if (formatChunk.empty() || riffSize > 0xFFFFFFFFu)
        return out;
    out.reserve(static_cast<size_t>(8 + riffSize));
    ByteWriter writer(&out);
    writer.tag("RIFF");
    writer.u32(static_cast<uint32_t>(riffSize));
    writer.tag("WAVE");
    writer.tag("fmt ");
    writer.u32(static_cast<uint32_t>(formatChunk.size()));
    writer.bytes(formatChunk.data(), formatChunk.size());
    writer.fill(0, formatChunk.size() & 1);
    writer.tag("data");
    writer.u32(static_cast<uint32_t>(samples.size()));
    writer.bytes(samples.data(), samples.size());
    writer.fill(0, samples.size() & 1);
    return out;
}

int writeWaveFile(const std::string& path, const WaveDescription& wave, std::string* why) {
    std::vector<uint8_t> bytes = waveFileBytes(wave);
    std::string reason = "not a wave the game plays";
    if (!bytes.empty() && writeFileSafely(path, bytes, FileDurable, &reason))
        return 1;
    if (why)
        *why = reason;
    return 0;
}

} // namespace kavorind
