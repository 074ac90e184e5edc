#include "platform/content_file.h"

#include "platform/content_path.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace kavorind {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

int readWholeFile(const std::string& name, uint64_t maxBytes, FileBytes* out) {
    *out = FileBytes{};
    FileHandle file(std::fopen(contentPath(name).c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return 0;
    long size = std::ftell(file.get());
    if (size < 0 || static_cast<uint64_t>(size) > maxBytes ||
        std::fseek(file.get(), 0, SEEK_SET) != 0)
        return 0;
    FileBytes bytes;
    bytes.size = static_cast<size_t>(size);
    // Not value-initialised: every byte is about to be overwritten by the read.
    bytes.data.reset(new (std::nothrow) uint8_t[bytes.size ? bytes.size : 1]);
    if (!bytes.data || std::fread(bytes.data.get(), 1, bytes.size, file.get()) != bytes.size)
        return 0;
    *out = std::move(bytes);
    return 1;
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

int writeWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return 0;
    return std::fclose(file.release()) == 0 ? 1 : 0;
}

} // namespace kavorind
