#include "platform/system_places.h"

#include <filesystem>

namespace kavorind {

std::string platformExecutableFolder() {
    std::error_code problem;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", problem);
    return problem ? "" : executable.parent_path().string();
}

std::string platformUserFolder() {
    return "";
}

void platformProgramStarts() {}

} // namespace kavorind
