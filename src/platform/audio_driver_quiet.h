#pragma once

namespace kavorind {

// Keeps the sound system's own complaints off stderr while SDL probes for a sound card. Once is
// enough; later calls do nothing.
void platformQuietenAudioDriver();

} // namespace kavorind
