#pragma once
#include "display/palette.h"
#include "extras/overlay_text.h"
#include "platform/video.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace kavorind {
// F12: the game's frame as it was last presented, through the palette of that present and without
// anything the shell draws over it, saved as an indexed PNG; a line on stderr and a notice over
// the picture for a second say where it went or why it did not.

// The last presented frame, copied as it was shown.
struct ShownFrame {
    int tick = 0; // the timer tick that presented it; 0 before the first
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width x height indices, no padding
    PaletteEntries colours{};
};

struct Screenshots {
    int started = 0;
    int keyDown = 0; // the screenshot action at the last look: only a new press counts
    ShownFrame frame;
    int noticeTicksLeft = 0;
    std::string notice;
    int noticeFailed = 0;
};

extern Screenshots screenshots;

// Starts keeping every presented frame (the display's observer) and watching the key.
void startScreenshots();
void stopScreenshots();
// At every timer tick, paused or not: a new press of the key saves the picture; the notice
// counts down.
void followScreenshotKey();
// Saves the kept frame into folder as kavorind-DATE-TIME-tTICK.png (local time), never over an
// existing file. 1 with the file in *savedAs; 0 with the reason in *why.
int saveShownFrame(const ShownFrame& frame, const std::string& folder, const std::tm& localTime,
                   std::string* savedAs, std::string* why);
// The notice, at the bottom of the frame.
void paintScreenshotNotice(const OverlayPen& pen, const PlatformOverlayArea& area);

} // namespace kavorind
