#pragma once
#include <cstdint>

namespace kavorind {

// The format record of a wave clip, laid out as the 18-byte WAVEFORMATEX record of a "fmt " chunk.
#pragma pack(push, 1)
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18, "the format record is the 18-byte WAVEFORMATEX layout");

constexpr uint16_t WAVE_FORMAT_PCM = 1;

} // namespace kavorind
