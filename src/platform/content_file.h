#pragma once
#include "platform/file_io.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kavorind {

// The largest file a loader reads whole (content files are a few megabytes at most).
constexpr uint64_t maxContentFileBytes = uint64_t{1} << 30;

// Reads a whole content file: a name that does not exist as written is looked up in its folder
// without regard to case ("MENU-B.WAV" finds "Menu-b.wav"). 1 on success; 0, out empty, when there
// is no such regular file, it cannot be read or it is larger than maxBytes, with the reason in
// *why when given.
int readWholeFile(const std::string& name, uint64_t maxBytes, FileBytes* out,
                  std::string* why = nullptr);
// A copy of bytes already in memory, for loaders handed a file that was not read from disk; the
// copy is empty when memory runs out.
FileBytes copyFileBytes(std::span<const uint8_t> bytes);

} // namespace kavorind
