#include "platform/audio_driver_quiet.h"

#include <dlfcn.h>

namespace kavorind {

namespace {

int alsaQuiet = 0;

void silentAlsaHandler(const char*, int, const char*, int, const char*, ...) {}

} // namespace

// alsa-lib's own handler writes "ALSA lib ..." lines to stderr whenever SDL probes a machine
// without a sound card. The library is loaded at run time (SDL does the same), so the build gains
// no dependency, and kept loaded so that the silent handler stays in place for SDL's use of it.
void platformQuietenAudioDriver() {
    if (alsaQuiet)
        return;
    alsaQuiet = 1;
#ifdef __EMSCRIPTEN__
    return; // a browser has no ALSA, and no libraries to load
#endif
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(silentAlsaHandler);
}

} // namespace kavorind
