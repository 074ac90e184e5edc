#pragma once
#include "data/transfer.h"

namespace kavorind {

// A stage map as a Tiled map, STEM.tmx, with its tileset as an indexed PNG: a tile layer per map
// layer, and the spawn codes as layers of their own whose tiles carry the enemy or item they
// bring as properties.
int exportStageMap(const std::string& stem, std::span<const uint8_t> map,
                   std::vector<ExportedFile>* files, std::string* why);
// A Tiled map (and the pictures it names) back into a "MAP" file.
int importStageMap(const ImportSource& source, ImportResult* result, std::string* why);

} // namespace kavorind
