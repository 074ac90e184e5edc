#pragma once
#include <cctype>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace kavorind {

// How the content tools tell files apart: by their first bytes, and by the extension of a name.

inline bool startsWith(std::span<const uint8_t> bytes, const char* magic) {
    size_t length = std::strlen(magic);
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

// The extension in lower case; empty when the name (past its last folder) has none.
inline std::string lowerExtension(const std::string& name) {
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos)
        return "";
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace kavorind
