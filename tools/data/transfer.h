#pragma once
#include "display/palette.h"
#include "platform/decoded_pixels.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kavorind {

// One file an export makes, named relative to the folder it is written into.
struct ExportedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Reads a file that an import source names (a sheet beside a sprite description, a tileset beside
// a map), relative to the source's folder; 1 when read, else 0 with the reason in *why.
using CompanionReader =
    std::function<int(const std::string& name, std::vector<uint8_t>* bytes, std::string* why)>;

// What an import reads: the source file's bytes, its files beside it, and the palette a picture
// that is not indexed is reduced to ("Pal.Pal" of the output's folder, or the one --palette
// names); null when none was found, so such a picture cannot be imported. Every picture decoded
// and every frame cut is taken from the budget before it is allocated; without one the import
// has a budget of its own.
struct ImportSource {
    std::string name; // the source's file name, for messages
    std::span<const uint8_t> bytes;
    CompanionReader readCompanion;
    const PaletteEntries* reducePalette = nullptr;
    PixelBudget* pixels = nullptr;
};

// What an import made: the game's file, and lines for the author (colours that moved and so on).
struct ImportResult {
    std::vector<uint8_t> bytes;
    std::string report;
};

// Every command's file work, by the kind of file: export from the bytes of a content file named
// `name` (its stem names what is written), import from a source. Each is 1 on success, else 0 with
// a reason in *why that names the field or element at fault.
int exportContent(const std::string& name, std::span<const uint8_t> bytes,
                  std::vector<ExportedFile>* files, std::string* why);
int importContent(const ImportSource& source, ImportResult* result, std::string* why);

// The largest file the tool reads: large enough for the longest music; a file beyond it is not
// content the game reads.
constexpr uint64_t maxSourceFileBytes = uint64_t{256} << 20;
// Reads a file a user named, never waiting on a FIFO and never beyond maxSourceFileBytes; 0 with
// *why saying why not ("is a FIFO, not a file", "cannot be read: Permission denied").
int readSourceFile(const std::string& path, FileBytes* bytes, std::string* why);

// The file name without its folder and its last extension: "data/Enemy0.spr" gives "Enemy0".
std::string fileStem(const std::string& name);

} // namespace kavorind
