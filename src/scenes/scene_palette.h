#pragma once

namespace kavorind {

class BitmapImage;

// Installs a picture's colours as the palette that fades start from: 1 when done, or when the
// display has no palette at all because it is not 8 bits per pixel (nothing to install then); 0
// when an 8-bit display has lost its palette.
int installPalette(const BitmapImage& picture);

} // namespace kavorind
