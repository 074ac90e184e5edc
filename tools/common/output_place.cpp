#include "common/output_place.h"

#include "platform/file_io.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace kavorind {

namespace fs = std::filesystem;

int outputTakesFile(const std::string& path, std::string* why) {
    // A growing file is made beside its output at once and removed again when never placed: the
    // same steps as the real write, so the answer is the one the write would get.
    GrowingFile probe;
    if (!openGrowingFile(&probe, path, FileQuick, why))
        return 0;
    closeGrowingFile(&probe);
    return 1;
}

int makeOutputFolder(const std::string& folder, std::string* why) {
    std::error_code problem;
    fs::create_directories(folder, problem);
    if (problem) {
        *why = problem.message();
        return 0;
    }
    if (!fs::is_directory(folder, problem)) {
        *why = problem ? problem.message() : "is not a folder";
        return 0;
    }
    return outputTakesFile((fs::path(folder) / ".kavorind-check").string(), why);
}

std::string absoluteOutput(const std::string& path) {
    std::error_code problem;
    fs::path absolute = fs::absolute(path, problem);
    return problem ? path : absolute.string();
}

std::string folderHolding(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

int isContentFileName(const std::string& name) {
    static const char* const contentEndings[] = {".bmp", ".pal", ".spr", ".map", ".wav"};
    std::string ending = fs::path(name).extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(std::begin(contentEndings), std::end(contentEndings), ending) !=
           std::end(contentEndings);
}

int isContentFile(const std::string& contentFolder, const std::string& path) {
    std::error_code problem;
    if (!isContentFileName(path) || !fs::is_regular_file(path, problem))
        return 0;
    return sameFile(folderHolding(path), contentFolder.empty() ? "." : contentFolder);
}

} // namespace kavorind
