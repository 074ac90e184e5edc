#pragma once
#include "input/key_state.h"

#include <array>
#include <vector>

namespace kavorind {
// Which physical keys, pad buttons and stick directions press each of the seven keys the game
// reads. The game still reads virtual-key codes: the table answers for its seven codes in the
// keyboard's place, and every other code reads the keyboard as it is.

// More virtual-key codes the bindings know by meaning.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_MENU = 0x12; // either Alt key
constexpr int VK_SPACE = 0x20;
constexpr int VK_TAB = 0x09;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_F1 = 0x70;
constexpr int VK_F3 = 0x72;
constexpr int VK_F12 = 0x7B;

enum InputKind { INPUT_KEY, INPUT_PAD_BUTTON, INPUT_PAD_DIRECTION };

// A key by virtual-key code (found through the layout), a PadButton or a PadDirection.
struct PhysicalInput {
    int kind = INPUT_KEY;
    int code = 0;
    bool operator==(const PhysicalInput&) const = default;
};

// What the player asks of the shell around the game, bound like the game's keys in the rows after
// them; the game never reads these.
enum ShellAction {
    ACTION_PAUSE = gameKeyCount, // pauses and resumes
    ACTION_SCORES,               // held in the menu, shows the high scores
    ACTION_OPTIONS,              // opens the options screen
    ACTION_SCREENSHOT,           // saves the game's frame as a picture
    ACTION_FRAME_TIMES,          // shows or hides the tick and frame times
    bindingRowCount
};

struct Bindings {
    std::array<std::vector<PhysicalInput>, bindingRowCount> inputs;
    bool operator==(const Bindings&) const = default;
};

// Each key bound to itself; Return and Space fire too; the d-pad and the left stick fly, A and
// Start fire, B fires the special weapon and Back leaves. P, Pause and the pad's Guide button pause
// (Start already fires); Tab shows the scores, F1 the options, F12 saves a screenshot and F3 shows
// the frame times.
Bindings defaultBindings();

// A stick or trigger counts as pressed past a quarter of its travel: worn sticks rest up to about
// a fifth off centre, and a stick pushed fully diagonally still reads both ways (0.7 each).
constexpr int padDeadZone = 8192;

// What the table reads of the devices; the tests fill it with functions of their own.
struct PhysicalReader {
    int (*keyDown)(int virtualKey);
    int (*padButtonDown)(int button);
    // How far a stick or trigger is pushed that way, 0 to padFullTravel.
    int (*padTravel)(int direction);
};

// The physical keyboard and every open pad.
PhysicalReader platformReader();

// Alt+Return only switches the window mode, so a Return press that began with Alt held presses
// nothing until it is let go, even once Alt is let go first. Updated at every read of Return.
struct ReturnPress {
    int down = 0;
    int withAlt = 0;
};

// 1 while one of the row's inputs is down (a game key's row or a ShellAction).
int gameKeyDown(const Bindings& bindings, int gameKey, const PhysicalReader& reader,
                ReturnPress* returnPress);

// Opens the pads and makes the table the game's key source, reading the real devices.
void installBindings(const Bindings& bindings);
// The same over another reader, and without opening the pads (tests).
void installBindingsReading(const Bindings& bindings, const PhysicalReader& reader);
// The key source installed: the table for the seven codes, the keyboard for the others.
int boundKeyDown(int virtualKey);
// Hold-to-fire: while a stage runs and the fire key is held, the key reads up for one tick before
// each moment the craft can fire again, so that the game sees a fresh press every reloadTicks
// ticks, as from a fast tapper. 0 turns it off. The shell passes the reload down: this layer does
// not read the game's records.
void setHoldToFire(int reloadTicks);
// Once per tick, before the tick's keys are read: whether a stage runs and the reload now.
void stepHoldToFire(int inStage, int reloadTicks);
// Every game key held now reads up until it is let go (a key still held as the options screen
// closes does nothing in the game).
void ignoreHeldGameKeysUntilReleased();
// An input down on the real devices now, keys first, then pad buttons, then stick directions;
// 0 when none is.
int inputDownNow(PhysicalInput* out);
// 1 while an input bound to the shell's action is down on the real devices.
int shellActionDown(int action);
// The bindings installed.
const Bindings& installedBindings();

} // namespace kavorind
