#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// A converted sound larger than this is refused (about twelve minutes of CD-quality stereo).
constexpr uint64_t maxConvertedSoundBytes = 128u << 20;
// The wave decoders make at most four bytes of samples from each byte they read (4-bit ADPCM to
// 16 bits), so a file to decode is held to a quarter of what a sound may hold.
constexpr size_t maxDecodedWaveFileBytes = maxConvertedSoundBytes / 4;

// Whether the sound output's wave decoder (the one that reads every format other than 8- and
// 16-bit PCM) makes something playable of a whole WAVE file: samples in 1 to 8 channels at a rate
// above 0, from a file of at most maxDecodedWaveFileBytes. Needs no sound device, so a content
// check can ask before the game runs. 1 when it does, else 0 with the reason in *why.
int platformWaveDecodes(std::span<const uint8_t> file, std::string* why);

// The samples the same decoder makes of a whole WAVE file, when it makes signed 16-bit ones
// (interleaved when there are several channels), with their channel count and rate: what the
// player hears of a compressed wave. 1 on success, else 0 with the reason in *why.
int platformDecodeWave16(std::span<const uint8_t> file, std::vector<int16_t>* samples,
                         int* channels, int* sampleRate, std::string* why);

} // namespace kavorind
