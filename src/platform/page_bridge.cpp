#include "platform/page_bridge.h"

namespace kavorind {

namespace {

struct PlatformPageBridge {
    int tick = 0;
};

PlatformPageBridge platformPageBridge;

} // namespace

void platformNoteTick(int tick) {
    platformPageBridge.tick = tick;
}

int platformNotedTick() {
    return platformPageBridge.tick;
}

void platformOfferFrame(const uint8_t*, int, int, int, const uint32_t*) {}

int platformProgramEnds(int exitCode) {
    return exitCode;
}

void platformPlayerFilesChanged(const char*, const char*) {}

int platformHandLoopToPage(PlatformLoopPass, PlatformLoopEnd, int) {
    return 0;
}

} // namespace kavorind
