#include "extras/overlay_panels.h"

#include "extras/around_game.h"
#include "extras/frame_times.h"
#include "extras/options_screen.h"
#include "extras/overlay_text.h"
#include "extras/screenshot.h"
#include "input/binding_text.h"
#include "input/bindings.h"
#include "scenes/scene_protocol.h"
#include "shell/session.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kavorind {

namespace {

constexpr int ticksPerSecond = 30;

// The keyboard names bound to a row, "P OR PAUSE"; pads are left out of a line that speaks of keys.
std::string keysOf(int row) {
    std::string names;
    for (PhysicalInput input : installedBindings().inputs[static_cast<size_t>(row)]) {
        if (input.kind != INPUT_KEY)
            continue;
        std::string name = inputName(input);
        if (!name.empty())
            names += (names.empty() ? "" : " OR ") + name;
    }
    return names.empty() ? "NO KEY" : names;
}

// What Escape does in the scene the pause holds.
std::string escapeMeaning() {
    switch (sceneLoop.currentScene) {
    case SceneGame:
        return "LEAVES THE STAGE";
    case SceneMenu:
        return "QUITS";
    default:
        return "SKIPS";
    }
}

int centreX(const PlatformOverlayArea& area) {
    return area.frameX + area.frameWidth / 2;
}

// A panel as wide as its widest line plus a margin, centred on the frame.
void addPanel(const OverlayPen& pen, const PlatformOverlayArea& area, int top, int width,
              int height) {
    const int margin = 6 * pen.unit;
    addOverlayBox(pen, centreX(area) - width / 2 - margin, top - margin, width + 2 * margin,
                  height + 2 * margin, overlayPanel);
}

void paintPauseBanner(const OverlayPen& pen, const PlatformOverlayArea& area) {
    addOverlayBox(pen, 0, 0, area.width, area.height, overlayDim);
    const std::string resume = keysOf(ACTION_PAUSE) + " RESUMES";
    const std::string leave = keysOf(GAME_ESCAPE) + " " + escapeMeaning();
    const std::string options = "RETURN OPTIONS";
    const int line = overlayLineHeight(pen, 1);
    const int height = overlayLineHeight(pen, 3) + line / 2 + 3 * line;
    const int width = std::max({overlayTextWidth(pen, "PAUSED", 3),
                                overlayTextWidth(pen, resume, 1), overlayTextWidth(pen, leave, 1)});
    int y = area.frameY + (area.frameHeight - height) / 2;
    addPanel(pen, area, y, width, height);
    addCentredText(pen, "PAUSED", centreX(area), y, 3, overlayGold);
    y += overlayLineHeight(pen, 3) + line / 2;
    addCentredText(pen, resume, centreX(area), y, 1, overlayWhite);
    addCentredText(pen, leave, centreX(area), y + line, 1, overlayWhite);
    addCentredText(pen, options, centreX(area), y + 2 * line, 1, overlayGrey);
}

std::string rankLine(const ResultPanel& result) {
    if (result.replayed)
        return "REPLAY - NOT RANKED";
    if (result.practice)
        return "PRACTICE - NOT RANKED";
    if (result.rank > 0)
        return "NEW HIGH SCORE - " + ordinalText(result.rank);
    return "";
}

void paintResult(const OverlayPen& pen, const PlatformOverlayArea& area) {
    const ResultPanel& result = aroundGame.result;
    const std::string title = result.cleared ? "MISSION COMPLETE" : "GAME OVER";
    const std::vector<std::string> lines = {"SCORE " + std::to_string(result.score),
                                            "STAGE " + std::to_string(result.stage) + "   TIME " +
                                                playTimeText(result.ticks) + "   HITS " +
                                                std::to_string(result.hits),
                                            rankLine(result)};
    const int line = overlayLineHeight(pen, 1);
    int width = overlayTextWidth(pen, title, 2);
    for (const std::string& text : lines)
        width = std::max(width, overlayTextWidth(pen, text, 1));
    const int height = overlayLineHeight(pen, 2) + static_cast<int>(lines.size()) * line;
    int y = area.frameY + (area.frameHeight - height) / 2;
    addPanel(pen, area, y, width, height);
    addCentredText(pen, title, centreX(area), y, 2, result.cleared ? overlayGold : overlayRed);
    y += overlayLineHeight(pen, 2);
    for (size_t i = 0; i < lines.size(); ++i, y += line)
        addCentredText(pen, lines[i], centreX(area), y, 1,
                       i == 2 && result.rank ? overlayGold : overlayWhite);
}

// One row of the table in columns: place and score aligned on their right, then the stage reached
// (CLEAR for a game won), the date and the name.
void addBoardRow(const OverlayPen& pen, int left, int y, const std::vector<std::string>& cells,
                 uint32_t colour) {
    const int unit = 6 * pen.unit; // one average letter
    addRightAlignedText(pen, cells[0], left + 3 * unit, y, 1, colour);
    addRightAlignedText(pen, cells[1], left + 12 * unit, y, 1, colour);
    addOverlayText(pen, cells[2], left + 14 * unit, y, 1, colour);
    addOverlayText(pen, cells[3], left + 21 * unit, y, 1, colour);
    addOverlayText(pen, cells[4], left + 33 * unit, y, 1, colour);
}

constexpr int boardColumnsWide = 50; // letters across the five columns, a 16-letter name included

void paintScoreBoard(const OverlayPen& pen, const PlatformOverlayArea& area) {
    const std::vector<ScoreEntry>& entries = aroundGame.board.entries;
    const int line = overlayLineHeight(pen, 1);
    const int rows = std::max<int>(1, static_cast<int>(entries.size()));
    const int width = boardColumnsWide * 6 * pen.unit;
    const int height = overlayLineHeight(pen, 2) + (rows + 1) * line;
    int y = area.frameY + (area.frameHeight - height) / 2;
    addPanel(pen, area, y, width, height);
    addCentredText(pen, "HIGH SCORES", centreX(area), y, 2, overlayGold);
    y += overlayLineHeight(pen, 2);
    const int left = centreX(area) - width / 2;
    if (entries.empty()) {
        addCentredText(pen, "NO SCORES YET - PLAY A GAME!", centreX(area), y + line / 2, 1,
                       overlayWhite);
        return;
    }
    addBoardRow(pen, left, y, {"NO.", "SCORE", "STAGE", "DATE", "NAME"}, overlayGrey);
    y += line;
    for (size_t i = 0; i < entries.size(); ++i, y += line) {
        const ScoreEntry& entry = entries[i];
        addBoardRow(pen, left, y,
                    {std::to_string(i + 1) + ".", std::to_string(entry.score),
                     entry.cleared ? std::string("CLEAR") : std::to_string(entry.stage),
                     entry.date.substr(0, 10), entry.name},
                    overlayWhite);
    }
}

// The first keyboard key bound to a row, as the player would read it on the key.
std::string firstKeyOf(int row) {
    for (PhysicalInput input : installedBindings().inputs[static_cast<size_t>(row)])
        if (input.kind == INPUT_KEY && !inputName(input).empty())
            return inputName(input);
    return "NO KEY";
}

// "ARROWS FLY" when the arrows fly, else the four keys in the order left, right, up, down.
std::string flyKeys() {
    const std::string arrows[] = {"Left", "Right", "Up", "Down"};
    std::string keys;
    int allArrows = 1;
    for (int row = GAME_LEFT; row <= GAME_DOWN; ++row) {
        allArrows = allArrows && firstKeyOf(row) == arrows[row - GAME_LEFT];
        keys += (keys.empty() ? "" : " ") + firstKeyOf(row);
    }
    return allArrows ? "ARROWS" : keys;
}

void paintStageTitle(const OverlayPen& pen, const PlatformOverlayArea& area) {
    const StageTitle& title = aroundGame.title;
    int y = area.frameY + area.frameHeight / 4;
    addCentredText(pen, "STAGE " + std::to_string(title.stage), centreX(area), y, 3, overlayGold);
    if (!title.withKeys)
        return;
    y += overlayLineHeight(pen, 3);
    const int line = overlayLineHeight(pen, 1);
    addCentredText(pen,
                   flyKeys() + " FLY   " + firstKeyOf(GAME_FIRE) + " FIRES   " +
                       firstKeyOf(GAME_SPECIAL) + " SPECIAL",
                   centreX(area), y, 1, overlayWhite);
    addCentredText(pen,
                   firstKeyOf(ACTION_PAUSE) + " PAUSES   " + firstKeyOf(GAME_ESCAPE) + " LEAVES",
                   centreX(area), y + line, 1, overlayWhite);
}

// A few pixels of red round the frame in place of the red screen of a hit.
void paintFlashBorder(const OverlayPen& pen, const PlatformOverlayArea& area) {
    const int thick = 4 * pen.unit;
    const int right = area.frameX + area.frameWidth - thick;
    const int bottom = area.frameY + area.frameHeight - thick;
    addOverlayBox(pen, area.frameX, area.frameY, area.frameWidth, thick, overlayRed);
    addOverlayBox(pen, area.frameX, bottom, area.frameWidth, thick, overlayRed);
    addOverlayBox(pen, area.frameX, area.frameY, thick, area.frameHeight, overlayRed);
    addOverlayBox(pen, right, area.frameY, thick, area.frameHeight, overlayRed);
}

// In the frame's bottom-right corner, clear of the gauges and the score along the top.
void paintReplayMark(const OverlayPen& pen, const PlatformOverlayArea& area) {
    std::vector<std::pair<std::string, uint32_t>> lines;
    if (sessionScriptPlays()) {
        lines = {{"REPLAY", overlayRed}, {"A GAME KEY TAKES OVER", overlayGrey}};
        if (!aroundGame.setup.replayNote.empty())
            lines.emplace_back(aroundGame.setup.replayNote, overlayGrey);
    } else if (aroundGame.takeOverTicksLeft > 0) {
        lines = {{"YOU HAVE THE CONTROLS - PRACTICE", overlayGold}};
    }
    const int margin = 4 * pen.unit;
    const int line = overlayLineHeight(pen, 1);
    const int right = area.frameX + area.frameWidth - margin;
    int y = area.frameY + area.frameHeight - margin - static_cast<int>(lines.size()) * line;
    for (const auto& [text, colour] : lines) {
        addRightAlignedText(pen, text, right, y, 1, colour);
        y += line;
    }
}

} // namespace

std::string ordinalText(int rank) {
    const int lastTwo = rank % 100;
    const char* suffix = "TH";
    if (lastTwo < 11 || lastTwo > 13) {
        if (rank % 10 == 1)
            suffix = "ST";
        else if (rank % 10 == 2)
            suffix = "ND";
        else if (rank % 10 == 3)
            suffix = "RD";
    }
    return std::to_string(rank) + suffix;
}

std::string playTimeText(int ticks) {
    const int seconds = std::max(0, ticks) / ticksPerSecond;
    const int rest = seconds % 60;
    return std::to_string(seconds / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

void paintAroundGame(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes) {
    if (!aroundGame.enabled || area.frameWidth <= 0 || area.frameHeight <= 0)
        return;
    OverlayPen pen{boxes, overlayUnit(area)};
    if (hitFlashReduced())
        paintFlashBorder(pen, area);
    paintReplayMark(pen, area);
    if (aroundGame.title.ticksLeft > 0)
        paintStageTitle(pen, area);
    if (aroundGame.board.showing)
        paintScoreBoard(pen, area);
    else if (aroundGame.result.ticksLeft > 0)
        paintResult(pen, area);
    paintFrameTimes(area, boxes);
    if (optionsScreen.open)
        paintOptionsScreen(area, boxes);
    else if (aroundGame.pause.paused)
        paintPauseBanner(pen, area);
    paintScreenshotNotice(pen, area);
}

} // namespace kavorind
