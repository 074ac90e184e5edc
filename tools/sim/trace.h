#pragma once
#include <string>

namespace kavorind {

// One JSON object per tick, written after the tick's idle step: the tick number, the scene, whether
// a frame was rendered, and the state of the program under its own names.
std::string traceLine(int tick, int rendered, int withPalette);
// From now on the sound device's calls are collected for the "sound" field of the next line.
void startSoundTrace();

} // namespace kavorind
