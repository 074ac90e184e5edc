#pragma once
#include "canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavorind {

constexpr int sampleRate = 22050;

// The instruments of the chip-style synthesiser.
enum class Voice { Lead, Bass, Arp, Pad, Kick, Snare, Hat };

struct Note {
    double start;  // in beats
    double length; // in beats
    int pitch;     // MIDI note number (ignored by the drums)
    Voice voice;
    double volume;
};

// Renders the notes into a loop of `beats` beats lasting exactly `total` samples (the tempo
// follows from the two). Sound that runs past the end (a release, a note held over the join) is
// wrapped round to the start, so the loop joins without a seam.
std::vector<int16_t> renderLoop(const std::vector<Note>& notes, double beats, size_t total,
                                uint32_t seed);

// Pieces for the effects, mixed into a float buffer of seconds' length.
std::vector<float> silence(double seconds);
// A square wave gliding exponentially from f0 to f1 with the given duty, decaying linearly to 0.
void addSweep(std::vector<float>* out, double at, double length, double f0, double f1, double duty,
              double volume);
// Noise through a one-pole low-pass whose cutoff glides from c0 to c1 (0..1), decaying.
void addNoise(std::vector<float>* out, double at, double length, double c0, double c1,
              double volume, uint32_t seed);
// A sine gliding from f0 to f1, decaying exponentially: the thump of a kick or an explosion.
void addThump(std::vector<float>* out, double at, double length, double f0, double f1,
              double volume);
// Soft-clips and converts to 16-bit samples.
std::vector<int16_t> toSamples(const std::vector<float>& mix, double gain);

} // namespace kavorind
