#include "assets/byte_io.h"

#include "platform/content_path.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

int readWholeFile(const std::string& path, std::vector<uint8_t>* out) {
    out->clear();
    FileHandle file(std::fopen(contentPath(path).c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return 0;
    long size = std::ftell(file.get());
    if (size < 0 || static_cast<uint64_t>(size) > maxContentFileBytes ||
        std::fseek(file.get(), 0, SEEK_SET) != 0)
        return 0;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return 0;
    *out = std::move(bytes);
    return 1;
}

int writeWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return 0;
    return std::fclose(file.release()) == 0 ? 1 : 0;
}
