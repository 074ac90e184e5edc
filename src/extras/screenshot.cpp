#include "extras/screenshot.h"

#include "display/display_device.h"
#include "display/png_writer.h"
#include "extras/around_game.h"
#include "extras/overlay_text.h"
#include "extras/screenshot_place.h"
#include "input/bindings.h"
#include "platform/file_io.h"
#include "platform/page_bridge.h"
#include "scenes/scene_protocol.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace kavorind {

Screenshots screenshots;

namespace {

namespace fs = std::filesystem;

// The notice stays a second of timer ticks.
constexpr int noticeTicks = 30;
// A reason longer than this is cut, so that the notice stays on one line of the frame.
constexpr size_t noticeReasonLength = 36;
// kavorind-...-2.png up to -99 within one second and tick; more than that is not a player.
constexpr int attemptsPerName = 99;

// Without a palette the display shows the indices as greys, so that is what the picture holds.
PaletteEntries shownColours(const DevicePalette* palette) {
    if (palette)
        return palette->entries;
    PaletteEntries greys{};
    for (size_t i = 0; i < greys.size(); ++i) {
        const uint8_t grey = static_cast<uint8_t>(i);
        greys[i] = PaletteEntry{grey, grey, grey, 0};
    }
    return greys;
}

// The copy is kept at every present because a scene may draw its next frame or change the
// palette before the key is read; it costs a copy of 300 KB per frame and no allocation.
void keepPresentedFrame(const Surface& frame, const DevicePalette* palette) {
    ShownFrame& kept = screenshots.frame;
    kept.tick = platformNotedTick();
    kept.width = frame.width;
    kept.height = frame.height;
    // A surface's pitch is its width: the pixels are one block.
    const size_t count = std::min(frame.pixels.size(), static_cast<size_t>(frame.width) *
                                                           static_cast<size_t>(frame.height));
    kept.pixels.assign(frame.pixels.begin(), frame.pixels.begin() + static_cast<ptrdiff_t>(count));
    kept.colours = shownColours(palette);
}

std::string noticeReason(const std::string& why) {
    std::string reason =
        why.size() > noticeReasonLength ? why.substr(0, noticeReasonLength - 3) + "..." : why;
    return overlayCapitals(reason);
}

std::tm localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void takeScreenshot() {
    std::string savedAs;
    std::string why = "no picture has been shown yet";
    const std::string folder = screenshotFolder(screenshotEnvironmentNow());
    if (folder.empty())
        why = "no folder for it (HOME is not set, nor XDG_PICTURES_DIR or XDG_DATA_HOME)";
    const int saved = !folder.empty() && !screenshots.frame.pixels.empty() &&
                      saveShownFrame(screenshots.frame, folder, localTimeNow(), &savedAs, &why);
    if (saved) {
        std::fprintf(stderr, "Kavorind: screenshot saved as %s\n", savedAs.c_str());
        screenshots.notice = "SCREENSHOT SAVED";
    } else {
        std::fprintf(stderr, "Kavorind: the screenshot was not saved: %s\n", why.c_str());
        screenshots.notice = "SCREENSHOT NOT SAVED: " + noticeReason(why);
    }
    screenshots.noticeFailed = !saved;
    screenshots.noticeTicksLeft = noticeTicks;
    showOverlayChange();
}

} // namespace

void startScreenshots() {
    screenshots = Screenshots{};
    screenshots.started = 1;
    setPresentObserver(keepPresentedFrame);
}

void stopScreenshots() {
    if (!screenshots.started)
        return;
    setPresentObserver(nullptr);
    screenshots = Screenshots{};
}

void followScreenshotKey() {
    if (!screenshots.started)
        return;
    if (screenshots.noticeTicksLeft > 0 && --screenshots.noticeTicksLeft == 0)
        showOverlayChange();
    const int down = shellActionDown(ACTION_SCREENSHOT);
    const int pressed = down && !screenshots.keyDown;
    screenshots.keyDown = down;
    if (pressed)
        takeScreenshot();
}

int saveShownFrame(const ShownFrame& frame, const std::string& folder, const std::tm& localTime,
                   std::string* savedAs, std::string* why) {
    if (frame.width < 1 || frame.height < 1 ||
        frame.pixels.size() !=
            static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
        *why = "no picture has been shown yet";
        return 0;
    }
    const std::vector<uint8_t> png = encodeIndexedPng(frame.pixels.data(), frame.width, frame.width,
                                                      frame.height, frame.colours, why);
    if (png.empty())
        return 0;
    std::error_code problem;
    fs::create_directories(folder, problem);
    if (problem) {
        *why = "cannot make the folder " + folder + " (" + problem.message() + ")";
        return 0;
    }
    for (int attempt = 1; attempt <= attemptsPerName; ++attempt) {
        *savedAs = folder + "/" + screenshotFileName(localTime, frame.tick, attempt);
        int nameTaken = 0;
        std::string reason;
        if (writeNewFileSafely(*savedAs, png, FileDurable, &nameTaken, &reason))
            return 1;
        if (!nameTaken) {
            *why = "cannot write " + *savedAs + " (" + reason + ")";
            return 0;
        }
    }
    *why = "every name up to " + *savedAs + " is taken";
    return 0;
}

void paintScreenshotNotice(const OverlayPen& pen, const PlatformOverlayArea& area) {
    if (screenshots.noticeTicksLeft <= 0 || screenshots.notice.empty())
        return;
    const int margin = 4 * pen.unit;
    const int width = overlayTextWidth(pen, screenshots.notice, 1);
    const int height = overlayLineHeight(pen, 1);
    const int x = area.frameX + (area.frameWidth - width) / 2;
    const int y = area.frameY + area.frameHeight - height - 3 * margin;
    addOverlayBox(pen, x - margin, y - margin, width + 2 * margin, height + 2 * margin,
                  overlayPanel);
    addOverlayText(pen, screenshots.notice, x, y, 1,
                   screenshots.noticeFailed ? overlayRed : overlayWhite);
}

} // namespace kavorind
