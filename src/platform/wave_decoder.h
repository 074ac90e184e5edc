#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace kavorind {

// Whether the sound output's wave decoder (the one that reads every format other than 8- and
// 16-bit PCM) makes something playable of a whole WAVE file: samples in 1 to 8 channels at a rate
// above 0. Needs no sound device, so a content check can ask before the game runs. 1 when it
// does, else 0 with the reason in *why.
int platformWaveDecodes(std::span<const uint8_t> file, std::string* why);

} // namespace kavorind
