#include "platform/audio_driver_quiet.h"

namespace kavorind {

// Windows' sound drivers print nothing of their own.
void platformQuietenAudioDriver() {}

} // namespace kavorind
