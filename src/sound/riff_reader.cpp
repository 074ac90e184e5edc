#include "sound/riff_reader.h"

#include <cstring>

int RiffReader::seek(size_t offset) {
    if (failed || offset > size) {
        failed = 1;
        return 0;
    }
    position = offset;
    return 1;
}

int RiffReader::skip(size_t count) {
    if (!has(count)) {
        failed = 1;
        return 0;
    }
    position += count;
    return 1;
}

uint16_t RiffReader::u16() {
    const uint8_t* at = bytes(2);
    return at ? static_cast<uint16_t>(at[0] | at[1] << 8) : 0;
}

uint32_t RiffReader::u32() {
    const uint8_t* at = bytes(4);
    return at ? static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                    static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24
              : 0;
}

int RiffReader::tag(const char* name) {
    const uint8_t* at = bytes(4);
    return at && std::memcmp(at, name, 4) == 0;
}

const uint8_t* RiffReader::bytes(size_t count) {
    if (!has(count)) {
        failed = 1;
        return nullptr;
    }
    const uint8_t* at = data + position;
    position += count;
    return at;
}
