#include "display/display_device.h"
#include "extras/around_game.h"
#include "extras/options_screen.h"
#include "extras/overlay_text.h"
#include "input/binding_text.h"
#include "shell/shutdown.h"

#include <algorithm>

namespace kavorind {

namespace {

// Letters across the panel: a label on the left, its value on the right.
constexpr int panelLetters = 50;

std::string yesNoText(int on) {
    return on ? "YES" : "NO";
}

struct OptionLine {
    std::string label;
    std::string value;
};

std::vector<OptionLine> mainLines() {
    const GameSettings& settings = shell.settings;
    const char* const scalings[] = {"SHARP", "INTEGER", "STRETCH"};
    const int fullScreen = displayDevice.cooperativeFlags & DDSCL_EXCLUSIVE;
    return {{"DISPLAY", fullScreen ? "FULL SCREEN" : "WINDOW"},
            {"SCALING", scalings[std::clamp(settings.scale, 0, 2)]},
            {"VOLUME", std::to_string(settings.volume)},
            {"SOUND", settings.mute ? "OFF" : "ON"},
            {"PAUSE WHEN THE WINDOW IS LEFT", yesNoText(settings.pauseOnFocusLoss)},
            {"HOLD TO FIRE", yesNoText(settings.holdToFire)},
            {"REDUCED FLASHING", yesNoText(settings.reduceFlashing)},
            {"NAME", optionsScreen.page == OPTIONS_NAME
                         ? ""
                         : overlayCapitals(aroundGame.setup.playerName)},
            {"KEYS AND BUTTONS", ">"},
            {"CLOSE", ""}};
}

// "bind.fire" -> "FIRE", "bind.frame_times" -> "FRAME TIMES".
std::string actionName(const std::string& key) {
    std::string name = overlayCapitals(key.substr(key.find('.') + 1));
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

// The inputs of a row as far as they fit, then how many more: "Z, RETURN, SPACE +3".
std::string inputsText(const std::vector<PhysicalInput>& inputs) {
    constexpr size_t fits = 34;
    std::string text;
    size_t shown = 0;
    for (PhysicalInput input : inputs) {
        const std::string name = overlayCapitals(inputName(input));
        if (text.size() + name.size() + 2 > fits)
            break;
        text += (text.empty() ? "" : ", ") + name;
        ++shown;
    }
    if (shown < inputs.size())
        text += " +" + std::to_string(inputs.size() - shown);
    return text.empty() ? "-" : text;
}

std::vector<OptionLine> keysLines() {
    std::vector<OptionLine> lines;
    const Bindings& bindings = installedBindings();
    for (const BindingEntry& entry : bindingEntries(bindings))
        lines.push_back({actionName(entry.key), inputsText(bindings.inputs[lines.size()])});
    lines.push_back({"RESTORE DEFAULTS", ""});
    lines.push_back({"BACK", ""});
    return lines;
}

std::string hintFor(const OptionsScreen& screen) {
    switch (screen.page) {
    case OPTIONS_KEYS:
        return "RETURN ADDS A KEY   LEFT REMOVES THE LAST   ESCAPE BACK";
    case OPTIONS_NAME:
        return "UP DOWN LETTER   LEFT RIGHT MOVE   RETURN KEEPS";
    case OPTIONS_CAPTURE:
        return "PRESS A KEY OR BUTTON   ESCAPE GIVES UP";
    default:
        return "UP DOWN CHOOSE   LEFT RIGHT CHANGE   ESCAPE CLOSES";
    }
}

void paintLines(const OverlayPen& pen, int left, int right, int y,
                const std::vector<OptionLine>& lines, int chosen) {
    const int line = overlayLineHeight(pen, 1);
    for (size_t i = 0; i < lines.size(); ++i, y += line) {
        const int isChosen = static_cast<int>(i) == chosen;
        const uint32_t colour = isChosen ? overlayGold : overlayWhite;
        if (isChosen)
            addOverlayText(pen, ">", left - 8 * pen.unit, y, 1, overlayGold);
        addOverlayText(pen, lines[i].label, left, y, 1, colour);
        addRightAlignedText(pen, lines[i].value, right, y, 1, colour);
    }
}

// The name with the letter being chosen underlined, ending at right.
void paintNameEdit(const OverlayPen& pen, int right, int y) {
    const OptionsScreen& screen = optionsScreen;
    const int cell = 7 * pen.unit;
    const int left = right - nameLength * cell;
    for (int i = 0; i < nameLength; ++i) {
        const std::string letter(1, screen.name[static_cast<size_t>(i)]);
        const uint32_t colour = i == screen.nameCursor ? overlayGold : overlayWhite;
        addOverlayText(pen, letter, left + i * cell, y, 1, colour);
        addOverlayBox(pen, left + i * cell, y + 9 * pen.unit, 5 * pen.unit, pen.unit, colour);
    }
}

} // namespace

void paintOptionsScreen(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes) {
    const OptionsScreen& screen = optionsScreen;
    if (!screen.open)
        return;
    OverlayPen pen{boxes, overlayUnit(area)};
    const int line = overlayLineHeight(pen, 1);
    const int width = panelLetters * 6 * pen.unit;
    const int centre = area.frameX + area.frameWidth / 2;
    const int left = centre - width / 2;
    const int onKeys = screen.page == OPTIONS_KEYS || screen.page == OPTIONS_CAPTURE;
    const std::vector<OptionLine> lines = onKeys ? keysLines() : mainLines();
    const int height = overlayLineHeight(pen, 2) + (static_cast<int>(lines.size()) + 3) * line;
    int y = area.frameY + std::max(0, (area.frameHeight - height) / 2);
    const int margin = 8 * pen.unit;
    addOverlayBox(pen, 0, 0, area.width, area.height, overlayDim);
    addOverlayBox(pen, left - margin, y - margin, width + 2 * margin, height + 2 * margin,
                  overlayPanel);
    addCentredText(pen, onKeys ? "KEYS AND BUTTONS" : "OPTIONS", centre, y, 2, overlayGold);
    y += overlayLineHeight(pen, 2);
    paintLines(pen, left, left + width, y, lines, onKeys ? screen.keysRow : screen.row);
    if (screen.page == OPTIONS_NAME)
        paintNameEdit(pen, left + width, y + ROW_NAME * line);
    y += static_cast<int>(lines.size()) * line + line / 2;
    addCentredText(pen, hintFor(screen), centre, y, 1, overlayGrey);
    if (!screen.notice.empty())
        addCentredText(pen, screen.notice, centre, y + line, 1, overlayRed);
}

} // namespace kavorind
