#pragma once
#include <string>
#include <vector>

namespace kavorind {

// Where a run starts when it does not start from the logo: what the runner's --scene, --stage,
// --held and --spawn-column give, and what a replay's "# options:" line records, so that a watched
// replay starts from the very state its run started from.
struct RunStart {
    int scene = 0;             // 0: the program's own start
    int stage = -1;            // 0 to 2; -1 leaves the stage as start-up set it
    std::vector<int> heldKeys; // virtual-key codes of game keys already down before the first tick
    int spawnColumn = -1;      // >= 0: the spawner was primed by an earlier run, at this column
};

// Moves a freshly started program to the run's start. With a stage the game state is as a new game
// leaves it for a game started past stage 0, and as a clear of that stage leaves it for a tally
// (the last stage marked as the last). The held keys count as held since an earlier sample, so
// the first tick sees no new press of them; the spawner is primed or fresh as the start says.
void startRun(const RunStart& start);
// The start as options: "--scene 3 --stage 0", then " --held Z,Left" and " --spawn-column 21"
// when they apply; "" for the program's own start.
std::string runStartOptions(const RunStart& start);
// Reads options as runStartOptions writes them (scene 1 to 6, stage 0 to 2, --stage, --held and
// --spawn-column only with --scene). 0 with the reason in *error.
int parseRunStartOptions(const std::string& text, RunStart* out, std::string* error);
// Reads game key names separated by commas ("Z,Left") as virtual-key codes. 0 with the reason.
int parseHeldKeys(const std::string& text, std::vector<int>* out, std::string* error);
// Finds the "# options: ..." comment among the comments a key script starts with and reads it;
// *found is 0 (and 1 returned) when there is none.
int scriptRunStart(const std::string& scriptText, RunStart* out, int* found, std::string* error);

} // namespace kavorind
