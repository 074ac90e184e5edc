// Short, punchy sound effects.
#include "content.h"
#include "synth.h"

namespace kavorind {

namespace {

void add(ContentSet* out, const char* name, const std::vector<float>& mix, double gain) {
    SoundData sound;
    sound.sampleRate = sampleRate;
    sound.samples = toSamples(mix, gain);
    // A short fade-in so that no effect starts with a click.
    for (size_t i = 0; i < 32 && i < sound.samples.size(); ++i)
        sound.samples[i] = static_cast<int16_t>(sound.samples[i] * static_cast<int>(i) / 32);
    out->sounds.push_back({name, sound});
}

} // namespace

void addEffects(ContentSet* out) {
    // 0: an enemy fires, a soft falling zap.
    auto e0 = silence(0.12);
    addSweep(&e0, 0, 0.12, 900, 380, 0.5, 0.35);
    add(out, "Effect0.Wav", e0, 1.0);
    // 1: an item is collected, a rising arpeggio.
    auto e1 = silence(0.26);
    const double notes[4] = {523.3, 659.3, 784.0, 1046.5};
    for (int k = 0; k < 4; ++k)
        addSweep(&e1, k * 0.05, 0.09, notes[k], notes[k], 0.25, 0.5);
    add(out, "Effect1.Wav", e1, 1.0);
    // 2: the craft fires, a sharp pew.
    auto e2 = silence(0.1);
    addSweep(&e2, 0, 0.1, 1800, 320, 0.5, 0.45);
    addNoise(&e2, 0, 0.03, 0.9, 0.6, 0.3, 21);
    add(out, "Effect2.Wav", e2, 1.0);
    // 3: a hit or a destruction, noise falling away over a thump.
    auto e3 = silence(0.45);
    addNoise(&e3, 0, 0.45, 0.7, 0.05, 0.9, 31);
    addThump(&e3, 0, 0.25, 160, 40, 0.8);
    add(out, "Effect3.Wav", e3, 1.2);
    // 4: a small shot bursts, a bright pop.
    auto e4 = silence(0.1);
    addNoise(&e4, 0, 0.1, 0.95, 0.5, 0.6, 41);
    addSweep(&e4, 0, 0.05, 1200, 600, 0.5, 0.2);
    add(out, "Effect4.Wav", e4, 1.0);
    // 5: a heavy blast, long and low.
    auto e5 = silence(0.7);
    addNoise(&e5, 0, 0.7, 0.5, 0.02, 1.0, 51);
    addThump(&e5, 0, 0.4, 120, 30, 1.0);
    add(out, "Effect5.Wav", e5, 1.3);
    // 6: a crackle of sparks.
    auto e6 = silence(0.28);
    for (int k = 0; k < 6; ++k)
        addNoise(&e6, k * 0.04, 0.05, 0.9, 0.7, 0.6 - k * 0.08, 61 + k);
    add(out, "Effect6.Wav", e6, 1.0);
    // 7: a deep boom.
    auto e7 = silence(0.6);
    addThump(&e7, 0, 0.6, 90, 28, 1.1);
    addNoise(&e7, 0, 0.5, 0.3, 0.02, 0.7, 71);
    add(out, "Effect7.Wav", e7, 1.3);
    // The menu's switch and confirm blip.
    auto menu = silence(0.09);
    addSweep(&menu, 0, 0.04, 880, 880, 0.25, 0.4);
    addSweep(&menu, 0.04, 0.05, 1320, 1320, 0.25, 0.4);
    add(out, "MENU-S.WAV", menu, 1.0);
    // The tally's counting tick.
    auto tick = silence(0.03);
    addSweep(&tick, 0, 0.03, 2400, 1800, 0.5, 0.3);
    add(out, "C-Eff.wav", tick, 1.0);
}

} // namespace kavorind
