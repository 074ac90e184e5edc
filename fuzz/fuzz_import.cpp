// libFuzzer entry: every input goes through import_input::importBytes (see import_input.h); an
// import that succeeds must make a file the game loads.
#include "import_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (kavorind::import_input::importBytes(data, size) == 2)
        std::abort();
    return 0;
}
