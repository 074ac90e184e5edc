#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// A PCM sound to be written as a RIFF WAVE file: 8-bit samples are unsigned (128 is silence),
// 16-bit samples signed little-endian; stereo frames hold the left sample first.
struct WaveDescription {
    int channels = 1;       // 1 or 2
    int bitsPerSample = 16; // 8 or 16
    uint32_t sampleRate = 22050;
    std::vector<uint8_t> data; // the bytes of the "data" chunk, whole frames
};

// Fills a description from signed 16-bit samples (interleaved when stereo), stored as 16 or 8 bits.
WaveDescription describeWave(const std::vector<int16_t>& samples, int channels, uint32_t sampleRate,
                             int bitsPerSample = 16);

// The complete file: "RIFF" form "WAVE" with a 16-byte "fmt " chunk and a "data" chunk (padded to
// an even length). Empty when the description is not 8/16-bit mono/stereo PCM at a rate above 0, or
// its data is not whole frames.
std::vector<uint8_t> waveFileBytes(const WaveDescription& wave);
// A whole file made of a "fmt " chunk's payload as stored (any format tag, with its extra bytes)
// and the bytes of a "data" chunk: how a clip of a format only a decoder can read is handed to one.
// Empty when there is no format or the file would outgrow the RIFF size field.
std::vector<uint8_t> waveFileFromChunks(std::span<const uint8_t> formatChunk,
                                        std::span<const uint8_t> samples);
// Writes waveFileBytes to a file through the safe writer; 1 on success, else 0 with the reason
// in *why when given.
int writeWaveFile(const std::string& path, const WaveDescription& wave, std::string* why = nullptr);

} // namespace kavorind
