// The music the game loops: each stage's loop lasts a minute or more, every loop is a whole number
// of the browser build's ADPCM blocks, and its end joins its start without a drop or a click. The
// check the generator applies is tried on clips made to fail it, so that it can fail.
#include "content/generated_content.h"

#include "content/loop_join.h"
#include "sound/wave_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace kavorind {

using namespace generated;

namespace {

const char* const stageLoops[] = {"Music0.Wav", "Music1.Wav", "Music2.Wav"};
// Every clip a scene plays round and round.
const char* const allLoops[] = {"Music0.Wav", "Music1.Wav",  "Music2.Wav",  "MENU-B.WAV",
                                "Open-M.wav", "C-Music.wav", "Ending-B.WAV"};
constexpr int rate = 22050;

// The clip's samples; empty unless it is mono 16-bit PCM at the game's rate.
std::vector<int16_t> samplesOf(const std::string& name) {
    WaveClip clip;
    if (!clip.load((folder() + "/" + name).c_str()) || !clip.hasSamples())
        return {};
    const WaveFormat* f = clip.format();
    if (f->formatTag != WAVE_FORMAT_PCM || f->channels != 1 || f->bitsPerSample != 16 ||
        f->samplesPerSec != rate)
        return {};
    std::vector<int16_t> samples(clip.sampleSize() / 2);
    std::memcpy(samples.data(), clip.samples(), samples.size() * 2);
    return samples;
}

// How far the clip differs from itself moved on by `lag` samples (round the loop), relative to its
// level: near 0 when it repeats every `lag` samples.
double differenceAtLag(const std::vector<int16_t>& s, size_t lag) {
    double diff = 0, level = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double d = static_cast<double>(s[i]) - s[(i + lag) % s.size()];
        diff += d * d;
        level += static_cast<double>(s[i]) * s[i];
    }
    return std::sqrt(diff / std::max(level, 1.0));
}

// A steady tone of whole cycles over the clip, so that it loops perfectly.
std::vector<int16_t> steadyTone(size_t length, double cycles, double phase) {
    std::vector<int16_t> s(length);
    for (size_t i = 0; i < length; ++i)
        s[i] = static_cast<int16_t>(std::lround(
            12000 * std::sin(2 * M_PI * cycles * static_cast<double>(i) / length + phase)));
    return s;
}

} // namespace

// One run of the generator for both checks (it takes seconds). A minute that is the same 15 or 30
// seconds over again would match itself a quarter, a third or half of the way round.
TEST(MusicLoops, StageLoopsLastAMinuteAndEveryLoopJoinsItsStart) {
    ASSERT_FALSE(folder().empty());
    for (const char* name : stageLoops) {
        std::vector<int16_t> s = samplesOf(name);
        EXPECT_GE(s.size(), 60u * rate) << name;
        for (size_t parts : {2u, 3u, 4u})
            EXPECT_GT(differenceAtLag(s, s.size() / parts), 0.5) << name << " repeats in " << parts;
    }
    for (const char* name : allLoops) {
        std::vector<int16_t> s = samplesOf(name);
        ASSERT_FALSE(s.empty()) << name << " is not mono 16-bit at " << rate << " Hz";
        std::string why;
        EXPECT_EQ(checkLoop(s, rate, &why), 1) << name << ": " << why;
        LoopJoin j = measureLoopJoin(s, rate);
        std::printf("%-13s %6.2f s  end %6.1f dB  start %6.1f dB  join step %5d  p99 step %5d\n",
                    name, static_cast<double>(s.size()) / rate, j.endDb, j.startDb, j.joinStep,
                    j.usualStep);
    }
}

TEST(LoopJoin, PassesASteadyToneAndRefusesAFadeAClickOrABrokenBlock) {
    const size_t length = 20 * adpcmBlockSamples;
    std::string why;
    EXPECT_EQ(checkLoop(steadyTone(length, 400, 0), rate, &why), 1) << why;

    std::vector<int16_t> faded = steadyTone(length, 400, 0);
    const size_t fade = rate / 5; // the last 200 ms fall to silence
    for (size_t i = 0; i < fade; ++i)
        faded[length - fade + i] =
            static_cast<int16_t>(faded[length - fade + i] * static_cast<double>(fade - i) / fade);
    why.clear();
    EXPECT_EQ(checkLoop(faded, rate, &why), 0);
    EXPECT_NE(why.find("ends at"), std::string::npos) << why;

    // Half a cycle too many: the end comes back at the opposite peak from the start.
    std::vector<int16_t> clicking = steadyTone(length, 400.5, M_PI / 2);
    why.clear();
    EXPECT_EQ(checkLoop(clicking, rate, &why), 0);
    EXPECT_NE(why.find("clicks"), std::string::npos) << why;

    std::vector<int16_t> ragged = steadyTone(length + 1, 400, 0);
    why.clear();
    EXPECT_EQ(checkLoop(ragged, rate, &why), 0);
    EXPECT_NE(why.find("blocks"), std::string::npos) << why;
}

} // namespace kavorind
