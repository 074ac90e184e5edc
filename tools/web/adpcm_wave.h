#pragma once
#include "web/ima_adpcm.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// A wave's samples as signed 16 bits, interleaved when there are several channels.
struct PcmSamples {
    int channels = 0;
    int sampleRate = 0;
    std::vector<int16_t> samples;
};

// Reads any WAVE file libsndfile understands (PCM, ADPCM, float) into 16-bit samples. 1 on
// success, else 0 with the reason in *why.
int decodeWave(std::span<const uint8_t> file, PcmSamples* out, std::string* why);
// Mono samples as an IMA ADPCM WAVE file of adpcmBlockBytes blocks, the last one padded with
// silence. 1 on success, else 0 with the reason in *why.
int encodeAdpcmWave(const PcmSamples& pcm, std::vector<uint8_t>* file, std::string* why);
// Whether a WAVE file holds plain 8- or 16-bit PCM (the only waves worth making smaller).
int isPcmWave(std::span<const uint8_t> file);

// How far the decoded samples stay from the original ones: signal power over error power in dB,
// over the original's length (samples the decoder added beyond it are not counted). 200 when the
// two are the same.
double signalToNoiseDb(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded);

} // namespace kavorind
