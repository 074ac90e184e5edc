// The game's tunes: each a loop of two eight-bar sections with lead, bass, arpeggio or pad and
// drums, composed from a chord progression and a two-bar motif that is repeated and varied.
#include "content.h"
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

struct Tune {
    int root; // MIDI note of the key's tonic (the lead's register)
    bool minor;
    double bpm;
    std::vector<int> chords; // scale degree of each bar's chord, 16 bars
    int drums;               // 0 driving, 1 calm, 2 intense, 3 none
    bool arpeggio;
    bool pad;
    uint32_t seed;
};

int pitchOf(const Tune& t, int degree) {
    static const int major[7] = {0, 2, 4, 5, 7, 9, 11}, minor[7] = {0, 2, 3, 5, 7, 8, 10};
    int octave = static_cast<int>(std::floor(degree / 7.0));
    int step = degree - octave * 7;
    return t.root + octave * 12 + (t.minor ? minor[step] : major[step]);
}

// Two-bar rhythms in eighths.
const std::vector<std::vector<int>> rhythms = {
    {2, 1, 1, 2, 2, 2, 2, 4},
    {1, 1, 2, 1, 1, 2, 3, 1, 4},
    {3, 3, 2, 3, 3, 2},
    {2, 2, 2, 2, 1, 1, 1, 1, 4},
};

// The melody of one section: a motif for bars 1-2, repeated over 3-4 with its end changed, moved
// up for 5-6, and a cadence in 7-8 that comes home to the tonic.
void melody(const Tune& t, int firstBar, Rng* rng, std::vector<Note>* out) {
    const std::vector<int>& rhythm = rhythms[rng->range(0, static_cast<int>(rhythms.size()) - 1)];
    std::vector<int> contour;
    int d = rng->range(2, 4);
    for (size_t i = 0; i < rhythm.size(); ++i) {
        contour.push_back(d);
        d += rng->range(0, 1) ? rng->range(1, 2) : -rng->range(1, 2);
        d = std::clamp(d, 0, 7);
    }
    for (int pair = 0; pair < 4; ++pair) {
        double beat = (firstBar + pair * 2) * 4.0;
        double pos = 0;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            int bar = firstBar + pair * 2 + static_cast<int>(pos / 8);
            int chord = t.chords[bar % t.chords.size()];
            int c = contour[i] + (pair == 2 ? 2 : 0);
            if (pair == 1 && i + 2 >= rhythm.size())
                c = contour[i] + (i + 1 == rhythm.size() ? -2 : 1);
            if (pair == 3 && i + 1 == rhythm.size())
                c = 7 - chord; // land on the tonic an octave up from the chord's root
            bool strong = static_cast<int>(pos) % 4 == 0;
            if (strong && c % 2)
                c += 1; // chord tones (root, third, fifth) on the strong beats
            double len = rhythm[i] / 2.0;
            out->push_back({beat + pos / 2, len * 0.88, pitchOf(t, chord + c), Voice::Lead, 0.9});
            pos += rhythm[i];
        }
    }
}

void accompaniment(const Tune& t, int bar, std::vector<Note>* out) {
    int chord = t.chords[bar];
    double b = bar * 4.0;
    int bassRoot = pitchOf(t, chord) - 24;
    if (bassRoot < 36)
        bassRoot += 12; // below C2 the triangle bass thins out on small speakers
    const int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int e = 0; e < 8; ++e)
        out->push_back({b + e * 0.5, 0.42, bassRoot + pattern[e], Voice::Bass, e % 2 ? 0.6 : 0.8});
    if (t.arpeggio)
        for (int s = 0; s < 16; ++s) {
            const int tones[4] = {0, 2, 4, 7};
            out->push_back(
                {b + s * 0.25, 0.2, pitchOf(t, chord + tones[s % 4]) - 12, Voice::Arp, 0.5});
        }
    if (t.pad)
        for (int tone : {0, 2, 4})
            out->push_back({b, 3.9, pitchOf(t, chord + tone) - 12, Voice::Pad, 0.55});
    for (int q = 0; q < 4; ++q) {
        double at = b + q;
        switch (t.drums) {
        case 0:
            if (q % 2 == 0)
                out->push_back({at, 0.1, 0, Voice::Kick, 1.0});
            else
                out->push_back({at, 0.1, 0, Voice::Snare, 0.8});
            if (q == 2)
                out->push_back({at + 0.5, 0.1, 0, Voice::Kick, 0.7});
            out->push_back({at, 0.1, 0, Voice::Hat, 0.6});
            out->push_back({at + 0.5, 0.1, 0, Voice::Hat, 0.4});
            break;
        case 1:
            if (q == 0)
                out->push_back({at, 0.1, 0, Voice::Kick, 0.8});
            if (q == 2)
                out->push_back({at, 0.1, 0, Voice::Snare, 0.6});
            out->push_back({at + 0.5, 0.1, 0, Voice::Hat, 0.4});
            break;
        case 2:
            out->push_back({at, 0.1, 0, Voice::Kick, 1.0});
            if (q % 2)
                out->push_back({at, 0.1, 0, Voice::Snare, 0.9});
            for (int s = 0; s < 4; ++s)
                out->push_back({at + s * 0.25, 0.1, 0, Voice::Hat, s % 2 ? 0.3 : 0.5});
            break;
        default:
            break;
        }
    }
}

std::vector<int16_t> compose(const Tune& t) {
    std::vector<Note> notes;
    Rng rng(t.seed);
    int bars = static_cast<int>(t.chords.size());
    for (int first = 0; first < bars; first += 8)
        melody(t, first, &rng, &notes);
    for (int bar = 0; bar < bars; ++bar)
        accompaniment(t, bar, &notes);
    return renderLoop(notes, bars * 4.0, t.bpm, t.seed);
}

void add(ContentSet* out, const char* name, const Tune& t) {
    SoundData sound;
    sound.sampleRate = sampleRate;
    sound.samples = compose(t);
    out->sounds.push_back({name, sound});
}

} // namespace

void addMusic(ContentSet* out) {
    struct Entry {
        const char* name;
        Tune tune;
    };
    // Lead registers sit around middle C to two octaves up; the bass two octaves below.
    const Entry tunes[] = {
        // Stage 1: bright and driving, in G major.
        {"Music0.Wav",
         {67, false, 144, {0, 4, 5, 3, 0, 4, 3, 4, 5, 3, 0, 4, 5, 3, 1, 4}, 0, true, false, 301}},
        // Stage 2: dusk over the sea, D minor, heroic.
        {"Music1.Wav",
         {62, true, 132, {0, 5, 2, 6, 0, 5, 3, 4, 5, 6, 2, 0, 3, 6, 4, 4}, 0, false, true, 302}},
        // Stage 3: the fortress, E minor, urgent.
        {"Music2.Wav",
         {64, true, 156, {0, 0, 5, 6, 0, 3, 4, 4, 5, 6, 0, 0, 3, 5, 4, 4}, 2, true, false, 303}},
        // The menu: a calm anthem in F major.
        {"MENU-B.WAV",
         {65, false, 108, {0, 5, 3, 4, 0, 5, 1, 4, 3, 4, 0, 5, 3, 4, 0, 0}, 1, false, true, 304}},
        // The opening: slow arpeggios in C minor under the rising text.
        {"Open-M.wav", {60, true, 92, {0, 5, 3, 4, 0, 5, 6, 4}, 3, true, true, 305}},
        // The tally: a short victory loop in G major.
        {"C-Music.wav", {67, false, 126, {0, 3, 4, 0, 0, 3, 4, 0}, 1, true, false, 306}},
        // The ending: triumphant and warm, G major.
        {"Ending-B.WAV",
         {67, false, 100, {0, 4, 5, 2, 3, 0, 1, 4, 0, 4, 5, 2, 3, 4, 0, 0}, 1, true, true, 307}},
    };
    for (const Entry& e : tunes)
        add(out, e.name, e.tune);
}

} // namespace kavorind
