#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kavorind {

// The bytes of a whole file, in memory that the content object reading it may keep as its own
// buffer: the file is read once, straight into it, with no zero-filling and no second copy.
struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;

    std::span<const uint8_t> view() const { return {data.get(), size}; }
};

// The largest file a loader reads whole (content files are a few megabytes at most).
constexpr uint64_t maxContentFileBytes = uint64_t{1} << 30;

// Reads a whole content file: a name that does not exist as written is looked up in its folder
// without regard to case ("MENU-B.WAV" finds "Menu-b.wav"). 1 on success; 0, out empty, when there
// is no such readable file or it is larger than maxBytes.
int readWholeFile(const std::string& name, uint64_t maxBytes, FileBytes* out);
// A copy of bytes already in memory, for loaders handed a file that was not read from disk; the
// copy is empty when memory runs out.
FileBytes copyFileBytes(std::span<const uint8_t> bytes);
// Writes bytes to a file, replacing it; 1 on success.
int writeWholeFile(const std::string& path, std::span<const uint8_t> bytes);

} // namespace kavorind
