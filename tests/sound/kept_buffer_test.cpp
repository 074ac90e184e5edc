// A clip is converted for the output once and keeps the result; the output opens in the clips'
// own format where that loses nothing of them.

#include "platform/audio.h"
#include "sound/sound_device.h"
#include "sound/wave_writer.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kavorind {

namespace {

// A short silent clip of the given PCM format.
void loadSilence(WaveClip& clip, int channels, uint32_t rate, int bits = 16) {
    std::vector<int16_t> samples(static_cast<size_t>(channels) * (rate / 10), 0);
    ASSERT_EQ(clip.loadFromMemory(waveFileBytes(describeWave(samples, channels, rate, bits))), 1);
}

class KeptBufferTest : public ::testing::Test {
  protected:
    SoundDevice device;

    void SetUp() override {
        platformAudioClose();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override {
        device.releaseAll();
        platformAudioClose();
    }
    // Opens the device as a scene does, with `channels` empty channels.
    void visit(uint32_t channels) {
        device.releaseAll();
        ASSERT_EQ(device.open(nullptr), 1);
        ASSERT_EQ(device.hasDevice(), 1);
        ASSERT_EQ(device.setChannelCount(channels), 1);
    }
    PlatformPcmFormat output() {
        PlatformPcmFormat format;
        EXPECT_EQ(platformAudioOutputFormat(&format), 1);
        return format;
    }
};

TEST_F(KeptBufferTest, LaterVisitsAndChannelsShareTheFirstConversion) {
    WaveClip clip;
    loadTone(clip, 200, 200);
    visit(2);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    PlatformSound* first = device.buffers[0].get();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(clip.keptBuffer(output()).get(), first);
    ASSERT_EQ(device.assignClip(clip, 1), 1);
    EXPECT_EQ(device.buffers[1].get(), first);

    // The next scene's visit: the output stays open, so the clip's buffer is used as it is.
    visit(1);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    EXPECT_EQ(device.buffers[0].get(), first);
    EXPECT_EQ(device.play(0, 0), 1);
    EXPECT_EQ(platformAudioPlaying(0), 1);
}

TEST_F(KeptBufferTest, AReleasedClipLeavesTheChannelItsBufferAndAReloadConvertsAfresh) {
    WaveClip clip;
    loadTone(clip, 500, 500);
    visit(1);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    clip.release();
    EXPECT_EQ(device.buffers[0].use_count(), 1);
    EXPECT_EQ(device.play(0, 1), 1);
    EXPECT_EQ(platformAudioPlaying(0), 1);

    // A clip read again is another sound: nothing kept by the old one may stand in for it.
    WaveClip other;
    loadTone(other, 100, 100);
    ASSERT_EQ(device.assignClip(other, 0), 1);
    EXPECT_NE(device.buffers[0].get(), nullptr);
    EXPECT_EQ(other.keptBuffer(output()), device.buffers[0]);
    EXPECT_FALSE(clip.keptBuffer(output()));
}

TEST_F(KeptBufferTest, AnOutputOfAnotherFormatGetsItsOwnConversion) {
    WaveClip clip;
    loadTone(clip, 200, 200);
    visit(1);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    PlatformPcmFormat before = output();
    SoundBuffer kept = device.buffers[0];

    platformAudioPreferFormat(22050, 1);
    visit(1);
    PlatformPcmFormat after = output();
    ASSERT_EQ(after.sampleRate, 22050);
    ASSERT_EQ(after.channels, 1);
    EXPECT_FALSE(clip.keptBuffer(after));
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    EXPECT_NE(device.buffers[0], kept);
    EXPECT_EQ(clip.keptBuffer(after), device.buffers[0]);
    EXPECT_FALSE(clip.keptBuffer(before));
}

TEST_F(KeptBufferTest, TheOutputOpensInTheRichestFormatOfTheClips) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, uint32_t>> clips; // channels, rate
        int rate;
        int channels;
    };
    const Case cases[] = {
        {"the game's own: mono 22.05 kHz", {{1, 22050}, {1, 22050}}, 22050, 1},
        {"one stereo clip makes it stereo", {{1, 22050}, {2, 11025}}, 22050, 2},
        {"the fastest rate wins", {{1, 11025}, {1, 44100}}, 44100, 1},
        {"no faster than 48 kHz", {{1, 96000}}, 48000, 1},
        {"no clips: CD quality", {}, 44100, 2},
    };
    for (const Case& c : cases) {
        std::vector<WaveClip> clips(c.clips.size());
        std::vector<const WaveClip*> pointers;
        for (size_t i = 0; i < clips.size(); ++i) {
            loadSilence(clips[i], c.clips[i].first, c.clips[i].second);
            pointers.push_back(&clips[i]);
        }
        chooseSoundFormat(pointers);
        visit(1);
        PlatformPcmFormat format = output();
        EXPECT_EQ(format.sampleRate, c.rate) << c.what;
        EXPECT_EQ(format.channels, c.channels) << c.what;
        EXPECT_EQ(format.bitsPerSample, 16) << c.what;
    }
}

TEST_F(KeptBufferTest, EmptyAndUndecodedClipsDoNotChooseTheFormat) {
    WaveClip empty;
    WaveClip mono;
    loadSilence(mono, 1, 22050, 8);
    WaveClip floatTone;
    ASSERT_EQ(floatTone.loadFromMemory(floatToneFile(100, 100)), 1);
    const WaveClip* clips[] = {&empty, nullptr, &floatTone, &mono};
    chooseSoundFormat(clips);
    visit(1);
    EXPECT_EQ(output().sampleRate, 22050);
    EXPECT_EQ(output().channels, 1);
    // The float clip still plays, converted by the decoder to the chosen output.
    EXPECT_EQ(device.assignClip(floatTone, 0), 1);
}

} // namespace

} // namespace kavorind
