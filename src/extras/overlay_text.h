#pragma once
#include "platform/video.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {
// Text and panels drawn over the picture as boxes in the output's pixels, in the game's own pixel
// alphabet so that they look like the game's, but at the window's resolution and in colours of
// their own.

// The overlay's colours, opaque unless said.
constexpr uint32_t overlayWhite = 0xFFF0F0E8;
constexpr uint32_t overlayGold = 0xFFFFD040;
constexpr uint32_t overlayRed = 0xFFFF5040;
constexpr uint32_t overlayGrey = 0xFFA8B0B8;
constexpr uint32_t overlayShadow = 0xFF000000;
constexpr uint32_t overlayDim = 0xB0000000;   // over the whole picture while paused
constexpr uint32_t overlayPanel = 0xE8081018; // behind a block of text

// Where the boxes go and how large one font pixel is there.
struct OverlayPen {
    std::vector<PlatformOverlayBox>* boxes = nullptr;
    int unit = 1; // output pixels per font pixel
};

// The font pixel that suits the frame's size: 2 output pixels on a 640 x 480 frame, more as the
// frame grows, never less than 1.
int overlayUnit(const PlatformOverlayArea& area);
// The width in output pixels of a line of text at scale (font pixels times unit times scale).
int overlayTextWidth(const OverlayPen& pen, const std::string& text, int scale);
// The height of a line at scale, and the distance from one line's top to the next.
int overlayLineHeight(const OverlayPen& pen, int scale);
// A line of text with its top-left at (x, y), dropped-shadowed; each lit row of a glyph is one box.
void addOverlayText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                    uint32_t argb);
// The same, ending at x.
void addRightAlignedText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                         uint32_t argb);
// The same, centred on x.
void addCentredText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                    uint32_t argb);
void addOverlayBox(const OverlayPen& pen, int x, int y, int width, int height, uint32_t argb);
// Text as the alphabet draws it, in capitals (a name, a reason from the system).
std::string overlayCapitals(std::string text);

} // namespace kavorind
