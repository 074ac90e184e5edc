// The clumsy pilot's dice: splitmix64, so a seed gives the same course on every machine.
#include "pilot/pilot.h"

namespace kavorind {

PilotRandom seedPilotRandom(uint64_t seed) {
    return PilotRandom{seed * 0x9E3779B97F4A7C15ULL + 1};
}

int pilotRandomRange(PilotRandom* random, int lo, int hi) {
    uint64_t z = (random->state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return lo + static_cast<int>(z % static_cast<uint64_t>(hi - lo + 1));
}

} // namespace kavorind
