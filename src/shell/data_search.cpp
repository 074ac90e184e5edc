#include "shell/data_search.h"

#include "platform/content_path.h"
#include "platform/system_places.h"

#include <cstdlib>
#include <filesystem>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string absoluteFolder(const std::string& folder) {
    std::error_code problem;
    fs::path absolute = fs::absolute(folder, problem).lexically_normal();
    if (problem)
        return folder;
    // "data/" and "data" are one folder, named the same way.
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute.string();
}

void addCandidate(std::vector<DataCandidate>* candidates, const std::string& folder, int named) {
    if (!folder.empty())
        candidates->push_back(DataCandidate{folder, named});
}

// Two paths that cannot be formed give no candidate rather than a path from the root.
std::string joined(const std::string& folder, const std::string& tail) {
    return folder.empty() ? "" : (fs::path(folder) / tail).lexically_normal().string();
}

std::string dataHomeFolder(const DataSearchInputs& inputs) {
    if (!inputs.dataHome.empty())
        return joined(inputs.dataHome, "kavorind");
    return joined(inputs.home, ".local/share/kavorind");
}

} // namespace

int folderHoldsPalette(const std::string& folder) {
    std::error_code problem;
    return fs::is_regular_file(contentPath((fs::path(folder) / "Pal.Pal").string()), problem);
}

std::vector<DataCandidate> dataCandidates(const DataSearchInputs& inputs) {
    std::vector<DataCandidate> candidates;
    addCandidate(&candidates, inputs.dataOption, 1);
    addCandidate(&candidates, inputs.dataVariable, 1);
    addCandidate(&candidates, inputs.workingFolder, 0);
    addCandidate(&candidates, joined(inputs.executableFolder, "data"), 0);
    addCandidate(&candidates, joined(inputs.executableFolder, "../share/kavorind"), 0);
    addCandidate(&candidates, dataHomeFolder(inputs), 0);
    return candidates;
}

DataChoice chooseDataFolder(const DataSearchInputs& inputs) {
    DataChoice choice;
    for (const DataCandidate& candidate : dataCandidates(inputs)) {
        std::string folder = absoluteFolder(candidate.folder);
        choice.searched.push_back(folder);
        if (candidate.named || folderHoldsPalette(folder)) {
            choice.found = 1;
            choice.folder = folder;
            return choice;
        }
    }
    return choice;
}

DataSearchInputs gatherDataSearchInputs(const std::string& dataOption) {
    DataSearchInputs inputs;
    std::error_code problem;
    inputs.dataOption = dataOption;
    inputs.dataVariable = environment("KAVORIND_DATA");
    inputs.workingFolder = fs::current_path(problem).string();
    inputs.executableFolder = platformExecutableFolder();
    inputs.dataHome = environment("XDG_DATA_HOME");
    inputs.home = environment("HOME");
    return inputs;
}

} // namespace kavorind
