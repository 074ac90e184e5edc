#include "platform/content_file.h"

#include "platform/content_path.h"

#include <algorithm>
#include <new>

namespace kavorind {

int readWholeFile(const std::string& name, uint64_t maxBytes, FileBytes* out, std::string* why) {
    std::string reason;
    int read = readRegularFile(contentPath(name), maxBytes, out, &reason);
    if (!read && why)
        *why = reason;
    return read;
}

FileBytes copyFileBytes(std::span<const uint8_t> bytes) {
    FileBytes copy;
    copy.data.reset(new (std::nothrow) uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!copy.data)
        return FileBytes{};
    copy.size = bytes.size();
    std::copy(bytes.begin(), bytes.end(), copy.data.get());
    return copy;
}

} // namespace kavorind
