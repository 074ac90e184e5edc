#include "platform/content_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string contentPath(const std::string& name) {
    fs::path path(name);
    std::error_code problem;
    if (fs::is_regular_file(path, problem))
        return name;
    fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string wanted = lowered(path.filename().string());
    // Stepped with error codes: a folder that cannot be listed just means no other spelling.
    fs::directory_iterator entry(folder, problem);
    for (; !problem && entry != fs::directory_iterator(); entry.increment(problem)) {
        std::error_code unreadable;
        if (lowered(entry->path().filename().string()) == wanted &&
            entry->is_regular_file(unreadable))
            return path.has_parent_path() ? entry->path().string()
                                          : entry->path().filename().string();
    }
    return name;
}

} // namespace kavorind
