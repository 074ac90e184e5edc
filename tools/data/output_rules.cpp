#include "data/output_rules.h"

#include "data/file_kind.h"
#include "platform/file_io.h"

#include <algorithm>
#include <set>

namespace kavorind {

int madeFitsName(std::span<const uint8_t> made, const std::string& out) {
    std::string extension = lowerExtension(out);
    if (startsWith(made, "BM"))
        return extension == "bmp" || extension == "pal";
    if (startsWith(made, "SPR"))
        return extension == "spr";
    if (startsWith(made, "MAP"))
        return extension == "map";
    return startsWith(made, "RIFF") && extension == "wav";
}

std::string inputNamedBy(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs)
        if (sameFile(output, input))
            return input;
    return "";
}

std::vector<std::string> repeatedNames(const std::vector<std::string>& names) {
    std::set<std::string> seen, reported;
    std::vector<std::string> repeated;
    for (const std::string& name : names)
        if (!seen.insert(name).second && reported.insert(name).second)
            repeated.push_back(name);
    return repeated;
}

} // namespace kavorind
