#include "shell/content_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string contentPath(const std::string& name) {
    std::error_code problem;
    if (fs::is_regular_file(name, problem))
        return name;
    std::string wanted = lowered(name);
    for (const fs::directory_entry& entry : fs::directory_iterator(".", problem)) {
        std::string found = entry.path().filename().string();
        if (lowered(found) == wanted && entry.is_regular_file(problem))
            return found;
    }
    return name;
}
