#include "platform/signals.h"

namespace kavorind {

// Windows has no hang-up signal: a closed console ends the program through SDL's own quit event.
void platformQuitOnHangUp() {}

int platformTakeHangUp() {
    return 0;
}

} // namespace kavorind
