#include "display/palette.h"

namespace kavorind {

namespace {

uint32_t toArgb(const PaletteEntry& entry) {
    return 0xff000000u | (uint32_t{entry.red} << 16) | (uint32_t{entry.green} << 8) | entry.blue;
}

} // namespace

int getPaletteEntries(const DevicePalette* palette, PaletteEntries* out) {
    if (!palette || !out)
        return 0;
    *out = palette->entries;
    return 1;
}

int setPaletteEntries(DevicePalette* palette, const PaletteEntries& entries) {
    if (!palette)
        return 0;
    palette->entries = entries;
    for (size_t i = 0; i < entries.size(); ++i)
        palette->argb[i] = toArgb(entries[i]);
    return 1;
}

DevicePalette* Palette::createPalette(PlatformRenderer* directDraw) {
    if (!directDraw || ddPalette)
        return nullptr;
    auto created = std::make_unique<DevicePalette>();
    if (!setPaletteEntries(created.get(), PaletteEntries{}))
        return nullptr;
    if (!getPaletteEntries(created.get(), &reference))
        return nullptr;
    ddPalette = std::move(created);
    return ddPalette.get();
}

void Palette::releasePalette() {
    ddPalette.reset();
}

int Palette::saveReference() {
    PaletteEntries read;
    if (!getPaletteEntries(ddPalette.get(), &read))
        return 0;
    reference = read;
    return 1;
}

int Palette::applyReference() {
    return setPaletteEntries(ddPalette.get(), reference);
}

int Palette::fade(unsigned level) {
    if (level == 0 || level > 100)
        return 0;
    PaletteEntries faded = reference;
    for (PaletteEntry& entry : faded) {
        entry.red = fadeComponent(entry.red, level);
        entry.green = fadeComponent(entry.green, level);
        entry.blue = fadeComponent(entry.blue, level);
    }
    return setPaletteEntries(ddPalette.get(), faded);
}

int Palette::fillAll(uint32_t colour) {
    PaletteEntry entry{static_cast<uint8_t>(colour & 0xff),
                       static_cast<uint8_t>((colour >> 8) & 0xff),
                       static_cast<uint8_t>((colour >> 16) & 0xff), PC_NOCOLLAPSE};
    PaletteEntries filled;
    filled.fill(entry);
    return setPaletteEntries(ddPalette.get(), filled);
}

} // namespace kavorind
