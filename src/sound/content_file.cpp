#include "sound/content_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The file's path as written, or else the first entry of its folder whose name matches ignoring
// case.
fs::path findPath(const std::string& name) {
    fs::path path(name);
    std::error_code problem;
    if (fs::is_regular_file(path, problem))
        return path;
    fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string wanted = lowered(path.filename().string());
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, problem)) {
        if (lowered(entry.path().filename().string()) == wanted && entry.is_regular_file(problem))
            return entry.path();
    }
    return {};
}

} // namespace

int readContentFile(const std::string& name, size_t maxBytes, std::vector<uint8_t>* out) {
    out->clear();
    fs::path path = findPath(name);
    if (path.empty())
        return 0;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return 0;
    std::streamoff length = file.tellg();
    if (length < 0 || static_cast<unsigned long long>(length) > maxBytes)
        return 0;
    out->resize(static_cast<size_t>(length));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(out->data()), length);
    if (!file) {
        out->clear();
        return 0;
    }
    return 1;
}
