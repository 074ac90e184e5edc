#include "data/sprite_transfer.h"

namespace kavorind {

int exportSpriteSet(const std::string&, std::span<const uint8_t>, std::vector<ExportedFile>*,
                    std::string* why) {
    *why = "sprite set export is not built yet";
    return 0;
}

int importSpriteSet(const ImportSource&, ImportResult*, std::string* why) {
    *why = "sprite set import is not built yet";
    return 0;
}

} // namespace kavorind
