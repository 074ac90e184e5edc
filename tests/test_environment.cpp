// Every test program starts on SDL's dummy drivers, with the settings and scores in a home inside
// the build folder: no test opens a real window or sound card, or writes the player's own files,
// whether ctest runs it or someone runs it by hand.
#include <cstdlib>

namespace {

const int testEnvironmentSet = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("XDG_CONFIG_HOME", KAVORIND_BUILD_DIR "/test-home/config", 1);
    setenv("XDG_DATA_HOME", KAVORIND_BUILD_DIR "/test-home/data", 1);
    return 1;
}();

} // namespace
