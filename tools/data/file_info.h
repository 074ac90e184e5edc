#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace kavorind {

// What `kavorind-data info` says about one content file: the kind it was read as, and either a
// description in words (described = 1) or why the game's loader refuses it, with the byte offset.
struct FileInfo {
    std::string kind; // "bitmap", "sprite set", "stage map", "wave", or "unknown"
    int described = 0;
    std::string text; // one or more lines, each ending in '\n'
};

// Reads the bytes with the loader their first bytes (or, failing that, the file name's extension)
// point to. Never reads outside the bytes; a file of no known kind is not described.
FileInfo describeContent(const std::string& name, std::span<const uint8_t> bytes);

} // namespace kavorind
