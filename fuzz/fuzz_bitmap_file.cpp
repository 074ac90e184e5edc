// libFuzzer entry: every input goes through exercise::bitmapFile (see exercise.h).
#include "exercise.h"

using namespace kavorind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exercise::bitmapFile(data, size);
    return 0;
}
