#pragma once
#include <cstdint>
#include <span>

namespace kavorind {

// IMA ADPCM as the browser package carries the waves: 4 bits a sample in mono blocks of 512 bytes,
// each block opening with its first sample whole, so that a clip of a whole number of blocks of
// adpcmSamplesPerBlock samples decodes to exactly its own length and loops without a gap.
constexpr int adpcmBlockBytes = 512;
constexpr int adpcmSamplesPerBlock = 1017;

// Where the coder stands between blocks: each block starts from the step size the one before
// ended on, so a loud passage does not open every block with a burst of too-small steps.
struct ImaCoder {
    int stepIndex = 0;
};

// Codes adpcmSamplesPerBlock samples (those past the end of samples are silence) into the
// adpcmBlockBytes bytes at block.
void encodeImaBlock(std::span<const int16_t> samples, ImaCoder* coder, uint8_t* block);

} // namespace kavorind
