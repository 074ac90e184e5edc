#pragma once
#include "input/bindings.h"
#include "platform/video.h"

#include <array>
#include <string>
#include <vector>

namespace kavorind {
// The options screen, drawn over the picture by the shell: opened with F1 (also from the pause),
// worked with the arrows, Return and Escape, or a pad alone. Ticks stay held while it is open.
// Every change applies at once and is written to the settings file at once.

enum OptionsPage { OPTIONS_MAIN, OPTIONS_KEYS, OPTIONS_NAME, OPTIONS_CAPTURE };

// The rows of the main page, top to bottom.
enum OptionsRow {
    ROW_WINDOW,
    ROW_SCALING,
    ROW_VOLUME,
    ROW_SOUND,
    ROW_PAUSE_ON_FOCUS_LOSS,
    ROW_HOLD_TO_FIRE,
    ROW_REDUCE_FLASHING,
    ROW_NAME,
    ROW_KEYS,
    ROW_CLOSE,
    optionsRowCount
};

// The keys page lists the binding rows, then these two.
constexpr int keysRestoreRow = bindingRowCount;
constexpr int keysBackRow = bindingRowCount + 1;
constexpr int keysPageRows = bindingRowCount + 2;

constexpr int nameLength = 16;

// The navigation keys as this tick found them; each is a new press or a repeat of a held one.
struct OptionsKeys {
    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
    int confirm = 0;
    int back = 0;
};

struct OptionsScreen {
    int open = 0;
    int page = OPTIONS_MAIN;
    int row = 0;     // on the main page
    int keysRow = 0; // on the keys page
    int openKeyDown = 0;
    std::array<int, 6> heldTicks{}; // per navigation key, for the repeat of a held arrow
    std::string name;               // being edited
    int nameCursor = 0;
    int waitForRelease = 0; // capture: every input let go first, then the first pressed is taken
    std::string notice;     // what the last change did, when it failed or needs saying
};

extern OptionsScreen optionsScreen;

// At every timer tick, before the pause: opens the screen on its key, follows the keys while it is
// open; 1 while the tick is held for it.
int optionsScreenHoldsTick();
void openOptionsScreen();
// What a tick's keys do on the open screen (the tests drive it through this).
void workOptionsScreen(const OptionsKeys& keys);
// Draws the screen when it is open.
void paintOptionsScreen(const PlatformOverlayArea& area, std::vector<PlatformOverlayBox>* boxes);

// The bindings with input added to row, taken away from every other row first (a key moves to
// the action it is given to, never does two things).
Bindings withInputMoved(const Bindings& bindings, int row, PhysicalInput input);
// The bindings with the row's last input taken away.
Bindings withLastInputRemoved(const Bindings& bindings, int row);
// The next character a name may hold after c, going up (step 1) or down (-1): space, A to Z, 0 to
// 9, '-'.
char nextNameCharacter(char c, int step);

} // namespace kavorind
