#include "extras/options_screen.h"

#include "display/display_device.h"
#include "extras/around_game.h"
#include "extras/around_start.h"
#include "extras/overlay_text.h"
#include "input/binding_text.h"
#include "input/key_state.h"
#include "platform/audio.h"
#include "platform/keyboard.h"
#include "platform/page_bridge.h"
#include "scenes/scene_protocol.h"
#include "shell/settings_update.h"
#include "shell/shutdown.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kavorind {

OptionsScreen optionsScreen;

namespace {

// A held arrow moves again after a third of a second, then ten times a second.
constexpr int repeatAfterTicks = 10;
constexpr int repeatEveryTicks = 3;
constexpr int volumeStep = 10;

const char* const nameCharacters = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-";

// The screen's own reading of Return, apart from the game's.
struct OptionsOpening {
    ReturnPress returnPress;
};
OptionsOpening optionsOpening;

int rowDown(int row) {
    return gameKeyDown(installedBindings(), row, platformReader(), &optionsOpening.returnPress);
}

// The screen's own keys always work, whatever the bindings: the arrows, Return and Escape, and the
// bound game keys beside them (a pad's d-pad, A and Back).
std::array<int, 6> navigationHeld() {
    return {platformPhysicalKeyDown(VK_UP) || rowDown(GAME_UP),
            platformPhysicalKeyDown(VK_DOWN) || rowDown(GAME_DOWN),
            platformPhysicalKeyDown(VK_LEFT) || rowDown(GAME_LEFT),
            platformPhysicalKeyDown(VK_RIGHT) || rowDown(GAME_RIGHT),
            platformPhysicalKeyDown(VK_RETURN) || rowDown(GAME_FIRE),
            platformPhysicalKeyDown(VK_ESCAPE) || rowDown(GAME_ESCAPE)};
}

// New presses, and repeats of a held arrow; Return and Escape never repeat.
OptionsKeys readNavigation() {
    const std::array<int, 6> held = navigationHeld();
    std::array<int, 6> fire{};
    for (size_t i = 0; i < held.size(); ++i) {
        int& ticks = optionsScreen.heldTicks[i];
        ticks = held[i] ? ticks + 1 : 0;
        const int repeats =
            i < 4 && ticks > repeatAfterTicks && (ticks - repeatAfterTicks) % repeatEveryTicks == 0;
        fire[i] = ticks == 1 || repeats;
    }
    return {fire[0], fire[1], fire[2], fire[3], fire[4], fire[5]};
}

// Writes the changes; a failure is said on the screen and on stderr, never fatal.
void save(const std::vector<SettingChange>& changes) {
    const std::string& path = aroundGame.setup.settingsFile;
    std::string why = "there is no settings file";
    if (!path.empty() && updateSettingsFile(path, changes, &why)) {
        optionsScreen.notice.clear();
        // The page keeps the settings in the browser's storage with the scores.
        platformPlayerFilesChanged(aroundGame.setup.playerFolder.c_str(),
                                   aroundGame.setup.fingerprint.c_str());
        return;
    }
    std::fprintf(stderr, "Kavorind: the choice is not saved: %s\n", why.c_str());
    optionsScreen.notice = overlayCapitals("not saved: " + why).substr(0, 48);
}

const char* yesNo(int on) {
    return on ? "yes" : "no";
}

int frameScalingFor(int choice) {
    return choice == ScaleInteger   ? FrameInteger
           : choice == ScaleStretch ? FrameStretch
                                    : FrameSharp;
}

void switchWindowMode() {
    if (!displayDevice.toggleFullScreen())
        return;
    shell.settings.fullScreen = displayDevice.cooperativeFlags & DDSCL_EXCLUSIVE ? 1 : 0;
    save({{"fullscreen", yesNo(shell.settings.fullScreen)}});
}

void stepScaling(int step) {
    const int choices = 3;
    shell.settings.scale = ((shell.settings.scale + step) % choices + choices) % choices;
    displayDevice.setScaling(frameScalingFor(shell.settings.scale));
    save({{"scale", scaleChoiceName(shell.settings.scale)}});
}

void stepVolume(int step) {
    GameSettings& settings = shell.settings;
    settings.volume = std::clamp(settings.volume + step * volumeStep, 0, 100);
    if (!settings.mute)
        platformAudioSetVolume(settings.volume);
    save({{"volume", std::to_string(settings.volume)}});
}

// Muting silences the open output at once; a game that started muted opens its output at the next
// scene once sound is back on.
void switchSound() {
    GameSettings& settings = shell.settings;
    settings.mute = !settings.mute;
    if (!settings.mute)
        platformAudioSetMuted(0);
    platformAudioSetVolume(settings.mute ? 0 : settings.volume);
    save({{"mute", yesNo(settings.mute)}});
}

void switchFlag(int row) {
    GameSettings& settings = shell.settings;
    AroundGameSetup& setup = aroundGame.setup;
    if (row == ROW_PAUSE_ON_FOCUS_LOSS) {
        settings.pauseOnFocusLoss = !settings.pauseOnFocusLoss;
        setup.pauseOnFocusLoss = settings.pauseOnFocusLoss && !aroundGame.setup.scriptPlays;
        save({{"pause_on_focus_loss", yesNo(settings.pauseOnFocusLoss)}});
    } else if (row == ROW_HOLD_TO_FIRE) {
        settings.holdToFire = setup.holdToFire = !settings.holdToFire;
        setHoldToFire(settings.holdToFire ? craftReloadTicks : 0);
        save({{"hold_to_fire", yesNo(settings.holdToFire)}});
    } else if (row == ROW_REDUCE_FLASHING) {
        settings.reduceFlashing = setup.reduceFlashing = !settings.reduceFlashing;
        setPresentColours(settings.reduceFlashing ? coloursShownFor : nullptr);
        save({{"reduce_flashing", yesNo(settings.reduceFlashing)}});
    }
}

void changeMainRow(int step) {
    switch (optionsScreen.row) {
    case ROW_WINDOW:
        switchWindowMode();
        break;
    case ROW_SCALING:
        stepScaling(step);
        break;
    case ROW_VOLUME:
        stepVolume(step);
        break;
    case ROW_SOUND:
        switchSound();
        break;
    case ROW_PAUSE_ON_FOCUS_LOSS:
    case ROW_HOLD_TO_FIRE:
    case ROW_REDUCE_FLASHING:
        switchFlag(optionsScreen.row);
        break;
    default:
        break;
    }
}

void startNameEdit() {
    std::string name = overlayCapitals(aroundGame.setup.playerName);
    for (char& c : name)
        if (!std::strchr(nameCharacters, c) || c == '\0')
            c = ' ';
    name.resize(nameLength, ' ');
    optionsScreen.name = name;
    optionsScreen.nameCursor = 0;
    optionsScreen.page = OPTIONS_NAME;
}

std::string trimmedName(const std::string& name) {
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

void finishNameEdit(int keep) {
    optionsScreen.page = OPTIONS_MAIN;
    if (!keep)
        return;
    const std::string name = trimmedName(optionsScreen.name);
    shell.settings.name = name;
    aroundGame.setup.playerName = playerNameFor(name);
    save({{"name", name}});
}

void workNamePage(const OptionsKeys& keys) {
    OptionsScreen& screen = optionsScreen;
    char& at = screen.name[static_cast<size_t>(screen.nameCursor)];
    if (keys.up || keys.down)
        at = nextNameCharacter(at, keys.up ? 1 : -1);
    else if (keys.left)
        screen.nameCursor = std::max(0, screen.nameCursor - 1);
    else if (keys.right)
        screen.nameCursor = std::min(nameLength - 1, screen.nameCursor + 1);
    else if (keys.confirm || keys.back)
        finishNameEdit(keys.confirm);
}

void useBindings(const Bindings& bindings) {
    installBindings(bindings);
    std::vector<SettingChange> changes;
    for (const BindingEntry& entry : bindingEntries(bindings))
        changes.emplace_back(entry.key, entry.value);
    save(changes);
}

void workKeysPage(const OptionsKeys& keys) {
    OptionsScreen& screen = optionsScreen;
    if (keys.up || keys.down) {
        screen.keysRow = (screen.keysRow + (keys.up ? keysPageRows - 1 : 1)) % keysPageRows;
    } else if (keys.back || (keys.confirm && screen.keysRow == keysBackRow)) {
        screen.page = OPTIONS_MAIN;
    } else if (keys.confirm && screen.keysRow == keysRestoreRow) {
        useBindings(defaultBindings());
    } else if (keys.confirm) {
        screen.page = OPTIONS_CAPTURE;
        screen.waitForRelease = 1;
    } else if (keys.left && screen.keysRow < bindingRowCount) {
        useBindings(withLastInputRemoved(installedBindings(), screen.keysRow));
    }
}

// Every input let go first (the Return that asked for it included), then the first one pressed is
// the new binding; Escape gives up.
void workCapture() {
    OptionsScreen& screen = optionsScreen;
    PhysicalInput input;
    const int down = inputDownNow(&input);
    if (screen.waitForRelease) {
        screen.waitForRelease = down;
        return;
    }
    if (!down)
        return;
    screen.page = OPTIONS_KEYS;
    screen.heldTicks.fill(1); // the key just taken moves nothing on the keys page
    if (input == PhysicalInput{INPUT_KEY, VK_ESCAPE})
        return;
    useBindings(withInputMoved(installedBindings(), screen.keysRow, input));
}

void workMainPage(const OptionsKeys& keys) {
    OptionsScreen& screen = optionsScreen;
    if (keys.up || keys.down) {
        screen.row = (screen.row + (keys.up ? optionsRowCount - 1 : 1)) % optionsRowCount;
    } else if (keys.left || keys.right) {
        changeMainRow(keys.left ? -1 : 1);
    } else if (keys.back || (keys.confirm && screen.row == ROW_CLOSE)) {
        screen.open = 0;
    } else if (keys.confirm && screen.row == ROW_NAME) {
        startNameEdit();
    } else if (keys.confirm && screen.row == ROW_KEYS) {
        screen.page = OPTIONS_KEYS;
        screen.keysRow = 0;
    } else if (keys.confirm) {
        changeMainRow(1);
    }
}

void closeOptionsScreen() {
    optionsScreen.open = 0;
    // The Escape or Return that closed it must not reach the game.
    ignoreHeldGameKeysUntilReleased();
    // Back to the pause it was opened from (or that focus loss began meanwhile), or to the game.
    if (!aroundGame.pause.paused)
        platformAudioPause(0);
}

} // namespace

void openOptionsScreen() {
    OptionsScreen& screen = optionsScreen;
    screen.open = 1;
    screen.page = OPTIONS_MAIN;
    screen.notice.clear();
    screen.heldTicks.fill(1); // keys already held (F1, or the pause's) do not act at once
    platformAudioPause(1);
}

void workOptionsScreen(const OptionsKeys& keys) {
    switch (optionsScreen.page) {
    case OPTIONS_KEYS:
        workKeysPage(keys);
        break;
    case OPTIONS_NAME:
        workNamePage(keys);
        break;
    case OPTIONS_CAPTURE:
        workCapture();
        break;
    default:
        workMainPage(keys);
        break;
    }
}

int optionsScreenHoldsTick() {
    OptionsScreen& screen = optionsScreen;
    const int openKey = shellActionDown(ACTION_OPTIONS);
    const int openPressed = openKey && !screen.openKeyDown;
    screen.openKeyDown = openKey;
    if (!screen.open) {
        if (!openPressed)
            return 0;
        openOptionsScreen();
    } else if (openPressed && screen.page != OPTIONS_CAPTURE) {
        screen.open = 0;
    } else {
        workOptionsScreen(readNavigation());
    }
    if (!screen.open)
        closeOptionsScreen();
    // Nothing else presents while ticks are held: the screen is shown again as it changes.
    showOverlayChange();
    return 1;
}

Bindings withInputMoved(const Bindings& bindings, int row, PhysicalInput input) {
    Bindings moved = bindings;
    for (std::vector<PhysicalInput>& inputs : moved.inputs)
        inputs.erase(std::remove(inputs.begin(), inputs.end(), input), inputs.end());
    if (row >= 0 && row < bindingRowCount)
        moved.inputs[static_cast<size_t>(row)].push_back(input);
    return moved;
}

Bindings withLastInputRemoved(const Bindings& bindings, int row) {
    Bindings fewer = bindings;
    if (row >= 0 && row < bindingRowCount && !fewer.inputs[static_cast<size_t>(row)].empty())
        fewer.inputs[static_cast<size_t>(row)].pop_back();
    return fewer;
}

char nextNameCharacter(char c, int step) {
    const std::string characters = nameCharacters;
    size_t at = characters.find(c);
    if (at == std::string::npos)
        at = 0;
    const size_t count = characters.size();
    return characters[(at + count + (step > 0 ? 1 : count - 1)) % count];
}

} // namespace kavorind
