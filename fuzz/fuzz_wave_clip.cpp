// libFuzzer entry: every input goes through exercise::waveFile (see exercise.h).
#include "exercise.h"

using namespace kavorind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exercise::waveFile(data, size);
    return 0;
}
