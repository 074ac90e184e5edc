#include "scenes/scene_palette.h"

#include "assets/bitmap_image.h"
#include "display/display_device.h"

namespace kavorind {

int installPalette(const BitmapImage& picture) {
    DevicePalette* palette = displayDevice.palette.directDrawPalette();
    if (!palette)
        return displayDevice.bitsPerPixel == 8 ? 0 : 1;
    picture.toPalette(palette);
    displayDevice.palette.saveReference();
    return 1;
}

} // namespace kavorind
