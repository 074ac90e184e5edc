#pragma once
#include "data/transfer.h"

namespace kavorind {

// A sprite set as STEM.png, every frame on one indexed sheet, and STEM.json: each frame's place on
// the sheet, size and hot spot, the rate, the key and the set's colour table.
int exportSpriteSet(const std::string& stem, std::span<const uint8_t> spr,
                    std::vector<ExportedFile>* files, std::string* why);
// A sprite description (JSON) and the sheet it names back into an "SPR" file.
int importSpriteSet(const ImportSource& source, ImportResult* result, std::string* why);

} // namespace kavorind
