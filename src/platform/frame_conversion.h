#pragma once
#include <cstdint>

namespace kavorind {
// The one pass over every pixel of a frame on its way to the screen, kept free of SDL so that the
// benchmarks and tests can run it alone.

// Converts width x height palette indices (rows pitch bytes apart) through a 256-entry table of
// 32-bit pixels into target (rows targetPitch bytes apart), each index becoming a block of across x
// down pixels: the frame enlarged by whole multiples in the same pass, 1 x 1 for the frame as it
// is.
void convertFrame(const uint8_t* indices, int pitch, int width, int height, const uint32_t* table,
                  uint8_t* target, int targetPitch, int across, int down);

} // namespace kavorind
