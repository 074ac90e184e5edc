#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace kavorind {

// Reads the little-endian fields of every content format from a byte range without ever stepping
// outside it. Every read checks the bytes that remain first; a read that does not fit returns 0,
// reads nothing and leaves the position where it was, so a loader can test each field as it goes.
class ByteReader {
  public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    size_t position() const { return position_; }
    size_t remaining() const { return bytes_.size() - position_; }
    // The unread bytes, without moving.
    const uint8_t* here() const { return bytes_.data() + position_; }

    // Moves to an absolute offset within the range; 0, not moving, past its end.
    int seek(size_t offset) {
        if (offset > bytes_.size())
            return 0;
        position_ = offset;
        return 1;
    }
    int skip(size_t count) {
        if (count > remaining())
            return 0;
        position_ += count;
        return 1;
    }
    int readBytes(void* out, size_t count) {
        if (count > remaining())
            return 0;
        if (count)
            std::memcpy(out, here(), count);
        position_ += count;
        return 1;
    }
    // The next count bytes in place (no copy); null when fewer remain.
    const uint8_t* take(size_t count) {
        if (count > remaining())
            return nullptr;
        const uint8_t* start = here();
        position_ += count;
        return start;
    }
    // Reads the next bytes if they are exactly magic (compared case-sensitively); else 0.
    template <size_t N> int readMagic(const char (&magic)[N]) { return readMagic(magic, N - 1); }
    int readMagic(const char* magic, size_t length) {
        if (length > remaining() || std::memcmp(here(), magic, length) != 0)
            return 0;
        position_ += length;
        return 1;
    }
    int readU16(uint16_t* out) {
        uint8_t b[2];
        if (!readBytes(b, 2))
            return 0;
        *out = static_cast<uint16_t>(b[0] | b[1] << 8);
        return 1;
    }
    int readU32(uint32_t* out) {
        uint8_t b[4];
        if (!readBytes(b, 4))
            return 0;
        *out = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
        return 1;
    }
    int readI32(int32_t* out) {
        uint32_t value;
        if (!readU32(&value))
            return 0;
        *out = static_cast<int32_t>(value);
        return 1;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// Little-endian field access at a known offset of a buffer the caller has already sized.
inline uint16_t peekU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t peekU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline void pokeU32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

// Appends little-endian fields to a growing byte vector (the writers' side of ByteReader).
class ByteWriter {
  public:
    explicit ByteWriter(std::vector<uint8_t>* out) : out_(out) {}
    void bytes(const void* data, size_t count) {
        const auto* p = static_cast<const uint8_t*>(data);
        out_->insert(out_->end(), p, p + count);
    }
    void fill(uint8_t value, size_t count) { out_->insert(out_->end(), count, value); }
    void u8(uint8_t value) { out_->push_back(value); }
    // A four-character tag ("RIFF"), byte by byte: GCC at -O2 warns falsely about a four-byte
    // insert from a string literal.
    void tag(const char* fourCharacters) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<uint8_t>(fourCharacters[i]));
    }
    void u16(uint16_t value) {
        u8(static_cast<uint8_t>(value));
        u8(static_cast<uint8_t>(value >> 8));
    }
    void u32(uint32_t value) {
        u16(static_cast<uint16_t>(value));
        u16(static_cast<uint16_t>(value >> 16));
    }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }

  private:
    std::vector<uint8_t>* out_;
};

} // namespace kavorind
