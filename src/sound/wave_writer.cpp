#include "sound/wave_writer.h"

#include <fstream>

namespace kavorind {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

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
            put16(wave.data, static_cast<uint16_t>(sample));
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
    putTag(out, "RIFF");
    put32(out, 4 + 8 + 16 + 8 + padded);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, static_cast<uint32_t>(wave.channels));
    put32(out, wave.sampleRate);
    put32(out, wave.sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, static_cast<uint32_t>(wave.bitsPerSample));
    putTag(out, "data");
    put32(out, dataSize);
    out.insert(out.end(), wave.data.begin(), wave.data.end());
    if (dataSize & 1)
        out.push_back(0);
    return out;
}

int writeWaveFile(const std::string& path, const WaveDescription& wave) {
    std::vector<uint8_t> bytes = waveFileBytes(wave);
    if (bytes.empty())
        return 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file.good() ? 1 : 0;
}

} // namespace kavorind
