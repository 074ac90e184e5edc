#pragma once

namespace kavorind {
// Where the frame goes on a window or screen of any size, worked out without SDL so that every
// size can be checked directly.

// How the frame fills an output larger (or smaller) than itself.
enum FrameScaling {
    FrameSharp = 0, // the largest whole multiple that fits, then a smooth step to fill, aspect kept
    FrameInteger = 1, // whole multiples only, centred on black
    FrameStretch = 2, // the whole output, aspect not kept
};

struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const FrameRect&) const = default;
};

// The frame's way to the output: first enlarged with nearest neighbour to enlargedWidth x
// enlargedHeight (whole multiples of the frame, at least the frame itself), then drawn into
// destination, filtered smoothly wherever the two sizes differ.
struct FrameLayout {
    int enlargedWidth = 0;
    int enlargedHeight = 0;
    FrameRect destination;

    bool operator==(const FrameLayout&) const = default;
};

// The largest whole multiple of frameWidth x frameHeight that fits areaWidth x areaHeight; 0 when
// not even one does.
int wholeMultipleThatFits(int frameWidth, int frameHeight, int areaWidth, int areaHeight);

// The windowed client area's multiple of the frame: the largest whole one whose window, with its
// decorations (bordersAcross and bordersDown in all), fits the usable screen area; at least 1.
int windowedMultiple(int frameWidth, int frameHeight, int usableWidth, int usableHeight,
                     int bordersAcross, int bordersDown);

// The layout of the frame on an output of outputWidth x outputHeight pixels. An output too small
// for even one whole multiple gets the frame shrunk to fit with its aspect kept, in every scaling
// but stretch; an empty output gets an empty destination.
FrameLayout frameLayout(int scaling, int frameWidth, int frameHeight, int outputWidth,
                        int outputHeight);

} // namespace kavorind
