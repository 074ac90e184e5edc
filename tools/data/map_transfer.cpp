#include "data/map_transfer.h"

namespace kavorind {

int exportStageMap(const std::string&, std::span<const uint8_t>, std::vector<ExportedFile>*,
                   std::string* why) {
    *why = "stage map export is not built yet";
    return 0;
}

int importStageMap(const ImportSource&, ImportResult*, std::string* why) {
    *why = "stage map import is not built yet";
    return 0;
}

} // namespace kavorind
