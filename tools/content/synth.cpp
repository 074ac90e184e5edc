#include "synth.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

constexpr double pi = 3.14159265358979;

double frequency(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// Envelope of a held note: attack, decay to sustain, release after the note ends.
double envelope(double t, double held, double attack, double decay, double sustain,
                double release) {
    double level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1 - (1 - sustain) * (t - attack) / decay;
    else
        level = sustain;
    if (t > held)
        level *= std::max(0.0, 1 - (t - held) / release);
    return level;
}

struct NoiseSource {
    uint32_t state;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state >> 8) / 8388608.0 - 1.0;
    }
};

// Keeps a phase within 0..1 and returns it.
double wrap(double* phase) {
    *phase -= std::floor(*phase);
    return *phase;
}

// How long a voice sounds on after its note is released.
double noteTail(Voice v) {
    switch (v) {
    case Voice::Kick:
        return 0.25;
    case Voice::Snare:
        return 0.22;
    case Voice::Hat:
        return 0.06;
    case Voice::Pad:
        return 0.4;
    default:
        return 0.08;
    }
}

double sampleOf(const Note& n, double t, double held, NoiseSource* noise, double* phase,
                double* lp) {
    double f = frequency(n.pitch);
    switch (n.voice) {
    case Voice::Lead: {
        double vib = t > 0.18 ? std::sin(t * 2 * pi * 5.5) * 0.006 : 0;
        *phase += f * (1 + vib) / sampleRate;
        double sq = wrap(phase) < 0.25 ? 1 : -1;
        return sq * envelope(t, held, 0.005, 0.09, 0.55, 0.07) * 0.55;
    }
    case Voice::Bass: {
        *phase += f / sampleRate;
        double p = wrap(phase);
        double tri = 4 * std::fabs(p - 0.5) - 1;
        double sq = p < 0.5 ? 1 : -1;
        return (tri * 0.8 + sq * 0.2) * envelope(t, held, 0.003, 0.12, 0.7, 0.04);
    }
    case Voice::Arp: {
        *phase += f / sampleRate;
        double sq = wrap(phase) < 0.125 ? 1 : -1;
        return sq * envelope(t, held, 0.002, 0.06, 0.25, 0.05) * 0.35;
    }
    case Voice::Pad: {
        *phase += f / sampleRate;
        double p = wrap(phase);
        double p2 = std::fmod(t * f * 1.004, 1.0); // a second, slightly sharp oscillator
        double tri = (4 * std::fabs(p - 0.5) - 1) + (4 * std::fabs(p2 - 0.5) - 1);
        return tri * 0.5 * envelope(t, held, 0.12, 0.3, 0.7, 0.35) * 0.4;
    }
    case Voice::Kick: {
        double fk = 45 + 110 * std::exp(-t * 28);
        *phase += fk / sampleRate;
        return std::sin(*phase * 2 * pi) * std::exp(-t * 14) * 1.1;
    }
    case Voice::Snare: {
        *phase += 185.0 / sampleRate;
        double tone = std::sin(*phase * 2 * pi) * std::exp(-t * 30) * 0.5;
        *lp += (noise->next() - *lp) * 0.55;
        return tone + *lp * std::exp(-t * 16) * 0.8;
    }
    case Voice::Hat: {
        double w = noise->next();
        double hp = w - *lp;
        *lp = w;
        return hp * std::exp(-t * 70) * 0.28;
    }
    }
    return 0;
}

} // namespace

std::vector<int16_t> renderLoop(const std::vector<Note>& notes, double beats, size_t total,
                                uint32_t seed) {
    const double secondsPerBeat = static_cast<double>(total) / sampleRate / beats;
    std::vector<float> mix(total, 0.0f);
    NoiseSource noise{seed ? seed : 1u};
    for (const Note& n : notes) {
        double held = n.length * secondsPerBeat;
        double span = held + noteTail(n.voice);
        size_t first = static_cast<size_t>(std::llround(n.start * secondsPerBeat * sampleRate));
        size_t count = static_cast<size_t>(span * sampleRate);
        double phase = 0, lp = 0;
        for (size_t i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / sampleRate;
            mix[(first + i) % total] +=
                static_cast<float>(sampleOf(n, t, held, &noise, &phase, &lp) * n.volume);
        }
    }
    return toSamples(mix, 0.42);
}

std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * sampleRate), 0.0f);
}

void addSweep(std::vector<float>* out, double at, double length, double f0, double f1, double duty,
              double volume) {
    size_t first = static_cast<size_t>(at * sampleRate),
           count = static_cast<size_t>(length * sampleRate);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < out->size(); ++i) {
        double t = static_cast<double>(i) / count;
        double f = f0 * std::pow(f1 / f0, t);
        phase += f / sampleRate;
        double sq = std::fmod(phase, 1.0) < duty ? 1 : -1;
        (*out)[first + i] += static_cast<float>(sq * (1 - t) * volume);
    }
}

void addNoise(std::vector<float>* out, double at, double length, double c0, double c1,
              double volume, uint32_t seed) {
    size_t first = static_cast<size_t>(at * sampleRate),
           count = static_cast<size_t>(length * sampleRate);
    NoiseSource noise{seed ? seed : 1u};
    double lp = 0;
    for (size_t i = 0; i < count && first + i < out->size(); ++i) {
        double t = static_cast<double>(i) / count;
        double cut = c0 + (c1 - c0) * t;
        lp += (noise.next() - lp) * cut;
        double env = (1 - t) * (1 - t);
        (*out)[first + i] += static_cast<float>(lp * env * volume * (1.0 + 0.5 / (cut + 0.2)));
    }
}

void addThump(std::vector<float>* out, double at, double length, double f0, double f1,
              double volume) {
    size_t first = static_cast<size_t>(at * sampleRate),
           count = static_cast<size_t>(length * sampleRate);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < out->size(); ++i) {
        double t = static_cast<double>(i) / count;
        phase += (f0 * std::pow(f1 / f0, t)) / sampleRate;
        (*out)[first + i] +=
            static_cast<float>(std::sin(phase * 2 * pi) * std::exp(-t * 5) * volume);
    }
}

std::vector<int16_t> toSamples(const std::vector<float>& mix, double gain) {
    std::vector<int16_t> out(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::tanh(mix[i] * gain) * 30000.0));
    return out;
}

} // namespace kavorind
