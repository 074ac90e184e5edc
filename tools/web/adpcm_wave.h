#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// IMA ADPCM as the browser package carries the waves: 4 bits a sample in blocks of 512 bytes, each
// block opening with its first sample whole, so that a mono clip of a whole number of blocks of
// adpcmSamplesPerBlock samples decodes to exactly its own length and loops without a gap.
constexpr int adpcmBlockBytes = 512;
constexpr int adpcmSamplesPerBlock = 1017;

// A wave's samples as signed 16 bits, interleaved when there are several channels.
struct PcmSamples {
    int channels = 0;
    int sampleRate = 0;
    std::vector<int16_t> samples;
};

// Reads any WAVE file libsndfile understands (PCM, ADPCM, float) into 16-bit samples. 1 on
// success, else 0 with the reason in *why.
int decodeWave(std::span<const uint8_t> file, PcmSamples* out, std::string* why);
// The samples as a mono or stereo IMA ADPCM WAVE file with 512-byte blocks per channel. 1 on
// success, else 0 with the reason in *why.
int encodeAdpcmWave(const PcmSamples& pcm, std::vector<uint8_t>* file, std::string* why);
// Whether a WAVE file holds plain 8- or 16-bit PCM (the only waves worth making smaller).
int isPcmWave(std::span<const uint8_t> file);

// How far the decoded samples stay from the original ones: signal power over error power in dB,
// over the original's length (samples the decoder added beyond it are not counted). 200 when the
// two are the same.
double signalToNoiseDb(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded);

} // namespace kavorind
