#pragma once
#include <array>
#include <cstdint>
#include <memory>

namespace kavorind {

struct PlatformRenderer;

constexpr uint8_t PC_NOCOLLAPSE = 4;

// One palette entry: red, green, blue, flags.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

using PaletteEntries = std::array<PaletteEntry, 256>;

// The device palette: the 256 colours that the screen shows at the next present. Every change
// rebuilds only the index-to-ARGB table that presentation converts the frame through.
struct DevicePalette {
    PaletteEntries entries{};
    std::array<uint32_t, 256> argb{};
};

// Reads all 256 entries; 1 on success.
int getPaletteEntries(const DevicePalette* palette, PaletteEntries* out);
// Sets all 256 entries; 1 on success.
int setPaletteEntries(DevicePalette* palette, const PaletteEntries& entries);

// The display's palette object: the device palette and the reference copy that fades and fills are
// derived from. The reference changes only through createPalette and saveReference.
struct Palette {
    std::unique_ptr<DevicePalette> ddPalette;
    PaletteEntries reference{};

    // A new device palette of 256 black entries (there are no system colours to keep); null when
    // there is no rendering device or a palette is already held.
    DevicePalette* createPalette(PlatformRenderer* directDraw);
    void releasePalette();
    DevicePalette* directDrawPalette() const { return ddPalette.get(); }
    int saveReference();
    int applyReference();
    // Darkens the reference by level percent (1 to 100) and shows it; 0 for other levels.
    int fade(unsigned level);
    // Shows every entry as one colour: red in bits 0-7, green in 8-15, blue in 16-23.
    int fillAll(uint32_t colour);
};

// The faded value of one colour component: 0 stays 0, any other c loses (c * level - 1) / 100.
// This matches darkening by level times a single-precision 0.01 and truncating.
inline uint8_t fadeComponent(uint8_t c, unsigned level) {
    if (c == 0)
        return 0;
    return static_cast<uint8_t>(c - (c * level - 1) / 100);
}

} // namespace kavorind
