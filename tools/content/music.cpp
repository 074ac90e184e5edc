// The game's tunes: each a loop of sections (a theme, an answer, a bridge, the theme again higher)
// with lead, bass, arpeggio or pad and drums. Each section's melody grows from one of the tune's
// two-bar motifs, repeated and varied, so that a theme comes back recognisably without the loop
// being the same few bars over again. Every tune is played round and round, so its last bar leads
// back into its first.
#include "content.h"
#include "loop_join.h"
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

enum class Drums { Driving, Calm, Intense, HalfTime, None };

// One part of a tune: a chord for each bar (scale degrees), the motif the lead grows its melody
// from, how many scale steps higher it sings it, and the band's texture.
struct Section {
    std::vector<int> chords;
    int motif;
    int lift;
    Drums drums;
    bool arpeggio;
    bool pad;
};

struct Tune {
    int root; // MIDI note of the key's tonic (the lead's register)
    bool minor;
    double bpm;
    std::vector<Section> sections;
    uint32_t seed;
};

// A two-bar figure: a rhythm in eighths and the scale step of each of its notes.
struct Motif {
    std::vector<int> rhythm;
    std::vector<int> contour;
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

Motif makeMotif(Rng* rng) {
    Motif m;
    m.rhythm = rhythms[rng->range(0, static_cast<int>(rhythms.size()) - 1)];
    int d = rng->range(2, 4);
    for (size_t i = 0; i < m.rhythm.size(); ++i) {
        m.contour.push_back(d);
        d += rng->range(0, 1) ? rng->range(1, 2) : -rng->range(1, 2);
        d = std::clamp(d, 0, 7);
    }
    return m;
}

// The melody of one section, two bars at a time: the motif, then (in eight bars) the motif with
// its end changed and the motif moved up, and last a cadence that comes home to the tonic. A
// four-bar section plays only the first pair and the cadence.
void melody(const Tune& t, const Section& s, const Motif& m, int firstBar, std::vector<Note>* out) {
    int pairs = static_cast<int>(s.chords.size()) / 2;
    for (int pair = 0; pair < pairs; ++pair) {
        int shape = pairs == 4 ? pair : (pair == 0 ? 0 : 3);
        double beat = (firstBar + pair * 2) * 4.0;
        double pos = 0;
        for (size_t i = 0; i < m.rhythm.size(); ++i) {
            int chord = s.chords[pair * 2 + static_cast<int>(pos / 8)];
            int c = m.contour[i] + s.lift + (shape == 2 ? 2 : 0);
            if (shape == 1 && i + 2 >= m.rhythm.size())
                c = m.contour[i] + s.lift + (i + 1 == m.rhythm.size() ? -2 : 1);
            if (shape == 3 && i + 1 == m.rhythm.size())
                c = 7 - chord; // land on the tonic an octave up from the chord's root
            bool strong = static_cast<int>(pos) % 4 == 0;
            if (strong && c % 2)
                c += 1; // chord tones (root, third, fifth) on the strong beats
            double len = m.rhythm[i] / 2.0;
            out->push_back({beat + pos / 2, len * 0.88, pitchOf(t, chord + c), Voice::Lead, 0.9});
            pos += m.rhythm[i];
        }
    }
}

void drumBeat(Drums drums, double at, int q, std::vector<Note>* out) {
    switch (drums) {
    case Drums::Driving:
        out->push_back({at, 0.1, 0, q % 2 ? Voice::Snare : Voice::Kick, q % 2 ? 0.8 : 1.0});
        if (q == 2)
            out->push_back({at + 0.5, 0.1, 0, Voice::Kick, 0.7});
        out->push_back({at, 0.1, 0, Voice::Hat, 0.6});
        out->push_back({at + 0.5, 0.1, 0, Voice::Hat, 0.4});
        break;
    case Drums::Calm:
        if (q == 0)
            out->push_back({at, 0.1, 0, Voice::Kick, 0.8});
        if (q == 2)
            out->push_back({at, 0.1, 0, Voice::Snare, 0.6});
        out->push_back({at + 0.5, 0.1, 0, Voice::Hat, 0.4});
        break;
    case Drums::Intense:
        out->push_back({at, 0.1, 0, Voice::Kick, 1.0});
        if (q % 2)
            out->push_back({at, 0.1, 0, Voice::Snare, 0.9});
        for (int s = 0; s < 4; ++s)
            out->push_back({at + s * 0.25, 0.1, 0, Voice::Hat, s % 2 ? 0.3 : 0.5});
        break;
    case Drums::HalfTime:
        if (q == 0)
            out->push_back({at, 0.1, 0, Voice::Kick, 0.9});
        if (q == 2)
            out->push_back({at, 0.1, 0, Voice::Snare, 0.8});
        out->push_back({at, 0.1, 0, Voice::Hat, 0.35});
        out->push_back({at + 0.5, 0.1, 0, Voice::Hat, 0.5});
        break;
    case Drums::None:
        break;
    }
}

// The last beat of a section: a snare run over two kicks that swells into the next downbeat,
// softer under a calm tune.
void drumFill(Drums drums, double at, std::vector<Note>* out) {
    double weight = drums == Drums::Calm ? 0.7 : 1.0;
    for (int s = 0; s < 4; ++s)
        out->push_back({at + s * 0.25, 0.1, 0, Voice::Snare, (0.6 + s * 0.1) * weight});
    out->push_back({at, 0.1, 0, Voice::Kick, 0.8 * weight});
    out->push_back({at + 0.5, 0.1, 0, Voice::Kick, 0.9 * weight});
}

void accompaniment(const Tune& t, const Section& s, int bar, int firstBar, std::vector<Note>* out) {
    int chord = s.chords[bar - firstBar];
    double b = bar * 4.0;
    int bassRoot = pitchOf(t, chord) - 24;
    if (bassRoot < 36)
        bassRoot += 12; // below C2 the triangle bass thins out on small speakers
    const int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int e = 0; e < 8; ++e)
        out->push_back({b + e * 0.5, 0.42, bassRoot + pattern[e], Voice::Bass, e % 2 ? 0.6 : 0.8});
    if (s.arpeggio)
        for (int n = 0; n < 16; ++n) {
            const int tones[4] = {0, 2, 4, 7};
            out->push_back(
                {b + n * 0.25, 0.2, pitchOf(t, chord + tones[n % 4]) - 12, Voice::Arp, 0.5});
        }
    if (s.pad)
        for (int tone : {0, 2, 4})
            out->push_back({b, 3.9, pitchOf(t, chord + tone) - 12, Voice::Pad, 0.55});
    bool lastBar = bar - firstBar + 1 == static_cast<int>(s.chords.size());
    for (int q = 0; q < 4; ++q) {
        if (lastBar && q == 3 && s.drums != Drums::None)
            drumFill(s.drums, b + q, out);
        else
            drumBeat(s.drums, b + q, q, out);
    }
}

// The loop runs on into its first bar rather than stopping before it: the last lead note is held
// until two sixteenths before the end, which take up the first bar's opening note.
void leadIntoTheStart(double beats, std::vector<Note>* notes) {
    Note* first = nullptr;
    Note* last = nullptr;
    for (Note& n : *notes)
        if (n.voice == Voice::Lead) {
            if (!first || n.start < first->start)
                first = &n;
            if (!last || n.start > last->start)
                last = &n;
        }
    if (!first)
        return;
    Note opening = *first;
    last->length = std::max(0.25, beats - 0.5 - last->start);
    for (double at : {beats - 0.5, beats - 0.25})
        notes->push_back({at, beats - at, opening.pitch, Voice::Lead, opening.volume});
    // The bass's last eighth is held into the downbeat, at the downbeat's weight.
    for (Note& n : *notes)
        if (n.voice == Voice::Bass && n.start >= beats - 0.5) {
            n.length = beats - n.start;
            n.volume = 0.8;
        }
}

// The loop's length in samples: its beats at the tempo, rounded up to whole ADPCM blocks (which
// slows the tempo by a few hundredths of a percent at most).
size_t loopSamples(double beats, double bpm) {
    double exact = beats * 60.0 / bpm * sampleRate;
    size_t blocks = static_cast<size_t>(std::ceil(exact / adpcmBlockSamples));
    return blocks * adpcmBlockSamples;
}

std::vector<int16_t> compose(const Tune& t) {
    Rng rng(t.seed);
    std::vector<Motif> motifs;
    for (int i = 0; i < 3; ++i)
        motifs.push_back(makeMotif(&rng));
    std::vector<Note> notes;
    int bar = 0;
    for (const Section& s : t.sections) {
        melody(t, s, motifs[s.motif], bar, &notes);
        for (size_t i = 0; i < s.chords.size(); ++i)
            accompaniment(t, s, bar + static_cast<int>(i), bar, &notes);
        bar += static_cast<int>(s.chords.size());
    }
    double beats = bar * 4.0;
    leadIntoTheStart(beats, &notes);
    return renderLoop(notes, beats, loopSamples(beats, t.bpm), t.seed);
}

void add(ContentSet* out, const char* name, const Tune& t) {
    SoundData sound;
    sound.sampleRate = sampleRate;
    sound.samples = compose(t);
    sound.looping = 1;
    out->sounds.push_back({name, sound});
}

// Stage 1: bright and driving, in G major. The theme, its answer, a bridge where the arpeggio
// gives way to a pad and the drums ease off, then the theme higher over harder drums and a last
// turn of the answer that leads back to the start.
Tune stageOne() {
    const std::vector<int> theme = {0, 4, 5, 3, 0, 4, 3, 4}, answer = {5, 3, 0, 4, 5, 3, 1, 4};
    return {67,
            false,
            144,
            {{theme, 0, 0, Drums::Driving, true, false},
             {answer, 1, 0, Drums::Driving, true, false},
             {{3, 4, 2, 5}, 2, 0, Drums::HalfTime, false, true},
             {{3, 4, 1, 4}, 2, 2, Drums::HalfTime, true, true},
             {theme, 0, 2, Drums::Intense, true, false},
             {{5, 3, 1, 4}, 1, 2, Drums::Driving, true, false}},
            301};
}

// Stage 2: dusk over the sea, D minor, heroic. A slower middle with the pad alone, then the
// theme returns with an arpeggio over it.
Tune stageTwo() {
    const std::vector<int> theme = {0, 5, 2, 6, 0, 5, 3, 4}, answer = {5, 6, 2, 0, 3, 6, 4, 4};
    return {62,
            true,
            128,
            {{theme, 0, 0, Drums::Driving, false, true},
             {answer, 1, 0, Drums::Driving, false, true},
             {{3, 3, 0, 0, 5, 5, 4, 4}, 2, -2, Drums::HalfTime, false, true},
             {theme, 0, 2, Drums::Driving, true, true}},
            302};
}

// Stage 3: the fortress, E minor, urgent. The theme and answer twice over, the second time higher
// and harder, around a tense bridge on the sixth and seventh.
Tune stageThree() {
    const std::vector<int> theme = {0, 0, 5, 6, 0, 3, 4, 4}, answer = {5, 6, 0, 0, 3, 5, 4, 4};
    return {64,
            true,
            156,
            {{theme, 0, 0, Drums::Intense, true, false},
             {answer, 1, 0, Drums::Intense, true, false},
             {{5, 5, 6, 6, 5, 5, 4, 4}, 2, 0, Drums::HalfTime, false, true},
             {theme, 0, 2, Drums::Intense, true, true},
             {answer, 1, 2, Drums::Driving, true, false}},
            303};
}

// A tune of one chord progression in two halves, each with its own motif and one texture: the
// shorter loops of the menu and the scenes between stages.
Tune twoHalves(int root, bool minor, double bpm, const std::vector<int>& chords, Drums drums,
               bool arpeggio, bool pad, uint32_t seed) {
    size_t half = chords.size() / 2;
    std::vector<int> first(chords.begin(), chords.begin() + static_cast<ptrdiff_t>(half));
    std::vector<int> second(chords.begin() + static_cast<ptrdiff_t>(half), chords.end());
    return {root,
            minor,
            bpm,
            {{first, 0, 0, drums, arpeggio, pad}, {second, 1, 0, drums, arpeggio, pad}},
            seed};
}

} // namespace

void addMusic(ContentSet* out) {
    // Lead registers sit around middle C to two octaves up; the bass two octaves below.
    add(out, "Music0.Wav", stageOne());
    add(out, "Music1.Wav", stageTwo());
    add(out, "Music2.Wav", stageThree());
    // The menu: a calm anthem in F major.
    add(out, "MENU-B.WAV",
        twoHalves(65, false, 108, {0, 5, 3, 4, 0, 5, 1, 4, 3, 4, 0, 5, 3, 4, 0, 0}, Drums::Calm,
                  false, true, 304));
    // The opening: slow arpeggios in C minor under the rising text.
    add(out, "Open-M.wav",
        twoHalves(60, true, 92, {0, 5, 3, 4, 0, 5, 6, 4}, Drums::None, true, true, 305));
    // The tally: a short victory loop in G major.
    add(out, "C-Music.wav",
        twoHalves(67, false, 126, {0, 3, 4, 0, 0, 3, 4, 0}, Drums::Calm, true, false, 306));
    // The ending: triumphant and warm, G major.
    add(out, "Ending-B.WAV",
        twoHalves(67, false, 100, {0, 4, 5, 2, 3, 0, 1, 4, 0, 4, 5, 2, 3, 4, 0, 0}, Drums::Calm,
                  true, true, 307));
}

} // namespace kavorind
