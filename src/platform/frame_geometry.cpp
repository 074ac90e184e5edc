#include "platform/frame_geometry.h"

#include <algorithm>

namespace kavorind {

namespace {

// The largest rectangle of the frame's shape inside the output, centred. Widths and heights are
// worked out in 64 bits: a 16384-pixel output times a frame side overflows nothing then.
FrameRect aspectFit(int frameWidth, int frameHeight, int outputWidth, int outputHeight) {
    long long across = outputWidth;
    long long down = outputHeight;
    if (across * frameHeight <= down * frameWidth)
        down = (across * frameHeight + frameWidth / 2) / frameWidth;
    else
        across = (down * frameWidth + frameHeight / 2) / frameHeight;
    int width = static_cast<int>(across);
    int height = static_cast<int>(down);
    return FrameRect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

FrameRect centred(int width, int height, int outputWidth, int outputHeight) {
    return FrameRect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

} // namespace

int wholeMultipleThatFits(int frameWidth, int frameHeight, int areaWidth, int areaHeight) {
    if (frameWidth <= 0 || frameHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return 0;
    return std::min(areaWidth / frameWidth, areaHeight / frameHeight);
}

int windowedMultiple(int frameWidth, int frameHeight, int usableWidth, int usableHeight,
                     int bordersAcross, int bordersDown) {
    int fits = wholeMultipleThatFits(frameWidth, frameHeight, usableWidth - bordersAcross,
                                     usableHeight - bordersDown);
    return std::max(fits, 1);
}

FrameLayout frameLayout(int scaling, int frameWidth, int frameHeight, int outputWidth,
                        int outputHeight) {
    FrameLayout layout{frameWidth, frameHeight, FrameRect{}};
    if (frameWidth <= 0 || frameHeight <= 0 || outputWidth <= 0 || outputHeight <= 0)
        return layout;
    if (scaling == FrameStretch) {
        // Each side by its own whole multiple, so that the smooth step only spreads the remainder.
        layout.enlargedWidth = frameWidth * std::max(outputWidth / frameWidth, 1);
        layout.enlargedHeight = frameHeight * std::max(outputHeight / frameHeight, 1);
        layout.destination = FrameRect{0, 0, outputWidth, outputHeight};
        return layout;
    }
    int multiple = wholeMultipleThatFits(frameWidth, frameHeight, outputWidth, outputHeight);
    if (multiple == 0) {
        // Not even one whole frame fits: shrunk smoothly rather than cut off.
        layout.destination = aspectFit(frameWidth, frameHeight, outputWidth, outputHeight);
        return layout;
    }
    layout.enlargedWidth = frameWidth * multiple;
    layout.enlargedHeight = frameHeight * multiple;
    if (scaling == FrameInteger)
        layout.destination =
            centred(layout.enlargedWidth, layout.enlargedHeight, outputWidth, outputHeight);
    else
        layout.destination = aspectFit(frameWidth, frameHeight, outputWidth, outputHeight);
    return layout;
}

} // namespace kavorind
