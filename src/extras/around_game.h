#pragma once
#include "extras/score_table.h"
#include "input/key_recording.h"
#include "shell/run_start.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {
// What the shell adds around the classic game for today's players: pause, the run's result, the
// score table with a replay of each entry, and replays that show they are replays and can be taken
// over. None of it touches the game's rules, frame or palette: it reads the game's records to show
// them, holds ticks back while paused, and draws over the presented picture. With classic = yes it
// is never started.

// The craft's main-shot reload in ticks, which hold-to-fire starts with until a game passes its
// own down each tick.
constexpr int craftReloadTicks = 6;

// How the game was started, as far as the additions care.
struct AroundGameSetup {
    int pauseOnFocusLoss = 1; // off for a game that plays a key script
    int scriptPlays = 0;      // --replay, --watch: focus loss never pauses
    int practiceStage = 0;    // 1 to 3 (--stage), 0 for none
    int holdToFire = 0;       // a held fire key fires as fast as the craft can
    int reduceFlashing = 0;   // the hit flash as a red border over the stage's own colours
    std::string playerFolder; // where the score table and replays are kept; "" when nowhere
    std::string fingerprint;  // of the content the scores belong to
    std::string playerName;
    std::string replayNote;   // what is odd about a watched replay (other content or version)
    std::string settingsFile; // the settings file the game read, where choices are kept
};

// The pause: no tick runs while it lasts, the voices hold still and the picture is dimmed.
struct PauseScreen {
    int paused = 0;
    int pauseKeyDown = 0; // the pause action at the last look, so that only a new press counts
    int escapeDown = 0;
    int confirmDown = 0; // Return or fire: opens the options
};

// The run under way: from the first tick of the game scene after the menu (or a watched replay's
// start) to the menu or the ending.
struct RunRecord {
    int active = 0;
    int ticks = 0;
    RunStart start;
    KeyRecording keys; // tick 1 is the run's first
    int hits = 0;      // drops of the hit points
    int32_t lastHp = -1;
    int stageReached = 1;
    int32_t score = 0;
    int scripted = 0; // a replayed script played it: nothing of it is kept
    int practice = 0; // started past stage 1 by --stage, or taken over from a replay: never ranked
};

// The result shown over the screen that follows a run, for about 4 s or until a key.
struct ResultPanel {
    int ticksLeft = 0;
    int cleared = 0;
    int32_t score = 0;
    int stage = 0;
    int ticks = 0;
    int hits = 0;
    int rank = 0; // 1 to 10, 0 when not in the table
    int practice = 0;
    int replayed = 0;
    uint8_t keysDown = 0; // the game keys held as it appeared: only a new press dismisses it
};

// "STAGE n" as each stage begins, for about 3 s; the first stage of a run adds the keys as bound.
struct StageTitle {
    int ticksLeft = 0;
    int stage = 0;
    int withKeys = 0;
};

// The table held up while the scores key is held in the menu.
struct ScoreBoard {
    int showing = 0;
    std::vector<ScoreEntry> entries;
};

struct AroundGame {
    int enabled = 0;
    AroundGameSetup setup;
    PauseScreen pause;
    RunRecord run;
    ResultPanel result;
    ScoreBoard board;
    StageTitle title;
    std::array<uint32_t, 256> calmColours{}; // the stage's own colours, shown for a reduced flash
    int takeOverTicksLeft = 0;               // "you have the controls" after a take-over
    int takeOverNoted = 0;
};

extern AroundGame aroundGame;

// Starts the additions for this program: the painter over the picture, the key snapshot that the
// run's replay is made from, the take-over of a replayed script.
void startAroundGame(const AroundGameSetup& setup);
// At every timer tick, before it runs: 1 when the tick is dropped because the game is paused (the
// pause key was pressed, or is pressed again, or Escape, which ends the pause and reaches the
// game on this tick).
int aroundGameHoldsTick();
// Around the scene's tick, inside the session's (its key snapshot is in force).
void aroundGameTickBegins();
void aroundGameTickEnds();
// The window lost the player: the game pauses when the setup asks for it.
void aroundGameFocusLost();
// The program ends: a run still under way is kept as it stands.
void finishAroundGame();
// What the overlay shows changed while no frame may come to show it (paused, the options open):
// the picture is shown again at once, unless a frame waits to be drawn anyway.
void showOverlayChange();
// 1 while the hit flash is shown and the player asked for it reduced: the frame keeps the stage's
// colours and a red border goes round it.
int hitFlashReduced();
// The colours a frame is shown in, given the palette's: the stage's own while the flash is reduced.
const uint32_t* coloursShownFor(const uint32_t* paletteColours);

} // namespace kavorind
