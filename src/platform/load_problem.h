#pragma once
#include <cstddef>
#include <string>

namespace kavorind {

// Why a loader refused a file, and where: the byte offset from the file's start of the field or
// the data that could not be accepted. Loaders take an optional pointer to one and fill it only
// when they refuse, so the game's own calls pass nothing and the content tools pass a record.
struct LoadProblem {
    std::string reason;
    size_t offset = 0;
};

// Records a refusal when someone asked for the reason; always 0, so a loader can write
// `return refuseLoad(problem, offset, "...")`.
inline int refuseLoad(LoadProblem* problem, size_t offset, const char* reason) {
    if (problem)
        *problem = LoadProblem{reason, offset};
    return 0;
}

} // namespace kavorind
