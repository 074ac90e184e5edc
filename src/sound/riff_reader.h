#pragma once
#include <cstddef>
#include <cstdint>

// Reads the little-endian values of a RIFF file from a byte range (named apart from the assets'
// ByteReader: two types of one name in one program would break the one-definition rule). A read
// past the end yields 0 and marks the reader failed, so a loader can read a whole header and check
// once.
struct RiffReader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    int failed = 0;

    size_t remaining() const { return position <= size ? size - position : 0; }
    int has(size_t count) const { return !failed && count <= remaining(); }
    // Moves to an absolute offset within the range; fails past its end.
    int seek(size_t offset);
    int skip(size_t count);
    uint16_t u16();
    uint32_t u32();
    // 1 when the next four bytes are the given tag (and moves past them).
    int tag(const char* name);
    // The address of the next count bytes, moving past them; null (and failed) when they run out.
    const uint8_t* bytes(size_t count);
};
