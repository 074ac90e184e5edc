#include "platform/audio.h"
#include "sound/sound_calls.h"
#include "sound/sound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace kavorind {

namespace {

std::vector<SoundCall> seenCalls;
void collectCall(const SoundCall& call) {
    seenCalls.push_back(call);
}

// Each test starts with the output closed, on SDL's dummy driver unless it asks otherwise.
class SoundDeviceTest : public ::testing::Test {
  protected:
    SoundDevice device;

    void SetUp() override {
        platformAudioClose();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override {
        setSoundCallObserver(nullptr);
        device.releaseAll();
        platformAudioClose();
    }
    void openWith(uint32_t channels) {
        ASSERT_EQ(device.open(nullptr), 1);
        ASSERT_EQ(device.hasDevice(), 1);
        ASSERT_EQ(device.setChannelCount(channels), 1);
    }
};

TEST_F(SoundDeviceTest, ChannelNumbersAtOrPastTheCountAreRefused) {
    openWith(2);
    WaveClip clip;
    loadTone(clip, 500, 500);
    EXPECT_EQ(device.assignClip(clip, 2), 0);
    EXPECT_EQ(device.assignClip(clip, 0xFFFFFFFFu), 0);
    ASSERT_EQ(device.assignClip(clip, 1), 1);
    EXPECT_EQ(device.play(2, 0), 0);
    EXPECT_EQ(device.stop(2), 0);
    EXPECT_EQ(device.play(0xFFFFFFFFu, 1), 0);
    EXPECT_EQ(platformAudioPlaying(0) + platformAudioPlaying(1), 0);
}

TEST_F(SoundDeviceTest, EmptyChannelsAndEmptyClips) {
    openWith(2);
    EXPECT_EQ(device.play(0, 0), 0);
    EXPECT_EQ(device.stop(0), 0);
    WaveClip empty;
    EXPECT_EQ(device.assignClip(empty, 0), 0);
    EXPECT_EQ(device.play(0, 0), 0);
    // An empty clip leaves what the channel held untouched.
    WaveClip clip;
    loadTone(clip, 500, 2000);
    ASSERT_EQ(device.assignClip(clip, 1), 1);
    EXPECT_EQ(device.assignClip(empty, 1), 0);
    EXPECT_EQ(device.sizes[1], clip.sampleSize());
    EXPECT_EQ(device.play(1, 1), 1);
    EXPECT_EQ(platformAudioPlaying(1), 1);
}

TEST_F(SoundDeviceTest, PlayStopAndReplace) {
    openWith(1);
    WaveClip longClip;
    loadTone(longClip, 2000, 4000);
    WaveClip shortClip;
    loadTone(shortClip, 100, 100);
    ASSERT_EQ(device.assignClip(longClip, 0), 1);
    // The channel holds its own copy: the clip can go at once.
    longClip.release();
    ASSERT_EQ(device.play(0, 1), 1);
    EXPECT_EQ(platformAudioPlaying(0), 1);
    EXPECT_EQ(device.stop(0), 1);
    EXPECT_EQ(platformAudioPlaying(0), 0);
    // Stopping again, and replacing a sounding buffer, are fine; the old sound is cut off.
    EXPECT_EQ(device.stop(0), 1);
    ASSERT_EQ(device.play(0, 1), 1);
    ASSERT_EQ(device.assignClip(shortClip, 0), 1);
    EXPECT_EQ(platformAudioPlaying(0), 0);
    EXPECT_EQ(device.sizes[0], shortClip.sampleSize());
    EXPECT_EQ(device.play(0, 1), 1);
    EXPECT_EQ(platformAudioPlaying(0), 1);
}

TEST_F(SoundDeviceTest, ReleaseAllGivesAFreshDeviceAtTheNextOpen) {
    SoundDevice never;
    EXPECT_EQ(never.releaseAll(), 1);
    openWith(3);
    WaveClip clip;
    loadTone(clip, 1000, 1000);
    ASSERT_EQ(device.assignClip(clip, 2), 1);
    ASSERT_EQ(device.play(2, 1), 1);
    EXPECT_EQ(device.releaseAll(), 1);
    EXPECT_EQ(device.hasDevice(), 0);
    EXPECT_EQ(device.channelCount, 0u);
    EXPECT_EQ(device.play(2, 1), 0);
    EXPECT_EQ(device.releaseAll(), 1);
    // The next scene has one channel: the old channel 2 is gone and nothing sounds.
    openWith(1);
    EXPECT_EQ(platformAudioPlaying(0), 0);
    EXPECT_EQ(device.play(0, 0), 0);
    EXPECT_EQ(device.play(2, 0), 0);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    EXPECT_EQ(device.play(0, 0), 1);
}

TEST_F(SoundDeviceTest, OpeningTwiceStartsAfresh) {
    openWith(2);
    WaveClip clip;
    loadTone(clip, 1000, 1000);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    EXPECT_EQ(device.open(nullptr), 1);
    EXPECT_EQ(device.channelCount, 0u);
    EXPECT_EQ(device.play(0, 0), 0);
}

TEST_F(SoundDeviceTest, ChannelTableAboveTheCapIsRefused) {
    openWith(2);
    EXPECT_EQ(device.setChannelCount(maxSoundChannels + 1), 0);
    EXPECT_EQ(device.channelCount, 0u);
    EXPECT_EQ(device.setChannelCount(9), 1);
    EXPECT_EQ(device.buffers.size(), 9u);
}

TEST_F(SoundDeviceTest, FormatsBeyondSixteenBitPcmAreDecodedAndPlay) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
    };
    const std::vector<Case> cases{
        {"32-bit float", floatToneFile(500, 500)},
        {"24-bit PCM", pcm24ToneFile(500, 500)},
        {"IMA ADPCM", imaAdpcmFile(20, 0)},
    };
    openWith(static_cast<uint32_t>(cases.size()));
    for (uint32_t channel = 0; channel < cases.size(); ++channel) {
        const Case& c = cases[channel];
        WaveClip clip;
        ASSERT_EQ(clip.loadFromMemory(c.file), 1) << c.what;
        EXPECT_EQ(device.assignClip(clip, channel), 1) << c.what;
        EXPECT_EQ(device.sizes[channel], clip.sampleSize()) << c.what;
        clip.release();
        EXPECT_EQ(device.play(channel, 1), 1) << c.what;
        EXPECT_EQ(platformAudioPlaying(static_cast<int>(channel)), 1) << c.what;
    }
}

// Loading is safe for any format tag; what the output cannot decode leaves the channel empty, even
// one that held a clip before.
TEST_F(SoundDeviceTest, UndecodableClipsLeaveTheChannelEmpty) {
    std::vector<uint8_t> tooManySamplesPerBlock{2, 0, 0xF9, 0x01}; // 505 in 32-byte blocks
    struct Case {
        const char* what;
        std::vector<uint8_t> fmt;
    };
    const std::vector<Case> cases{
        {"unknown format tag", fmtPayload(1, 22050, 16, {}, 0x7777)},
        {"MS ADPCM without its coefficients", fmtPayload(1, 22050, 4, {}, 2, 256)},
        {"IMA ADPCM with more samples than its blocks hold",
         fmtPayload(1, 22050, 4, tooManySamplesPerBlock, 0x11, 32)},
        {"IMA ADPCM of 3 bits", fmtPayload(1, 22050, 3, {2, 0, 0xF9, 0x01}, 0x11, 256)},
        {"64-bit float", fmtPayload(1, 22050, 64, {}, 3)},
        {"12-bit PCM", fmtPayload(1, 22050, 12, {}, 1, 2)},
    };
    openWith(1);
    WaveClip tone;
    loadTone(tone, 500, 500);
    for (const Case& c : cases) {
        ASSERT_EQ(device.assignClip(tone, 0), 1);
        WaveClip clip;
        ASSERT_EQ(clip.loadFromMemory(
                      RiffBuilder().chunk("fmt ", c.fmt).chunk("data", countingBytes(512)).file()),
                  1)
            << c.what;
        EXPECT_EQ(device.assignClip(clip, 0), 0) << c.what;
        EXPECT_EQ(device.sizes[0], 0u) << c.what;
        EXPECT_EQ(device.play(0, 0), 0) << c.what;
        EXPECT_EQ(platformAudioPlaying(0), 0) << c.what;
    }
}

TEST_F(SoundDeviceTest, WithoutAnOutputTheGameRunsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(device.open(nullptr), 1);
    EXPECT_EQ(device.hasDevice(), 0);
    EXPECT_EQ(device.setChannelCount(9), 1);
    WaveClip clip;
    loadTone(clip, 100, 100);
    for (uint32_t channel = 0; channel < 9; ++channel) {
        EXPECT_EQ(device.assignClip(clip, channel), 0);
        EXPECT_EQ(device.play(channel, 1), 0);
        EXPECT_EQ(device.stop(channel), 0);
    }
    EXPECT_EQ(device.releaseAll(), 1);
    // A second scene does not try the missing device again.
    EXPECT_EQ(device.open(nullptr), 1);
    EXPECT_EQ(device.hasDevice(), 0);
}

// A device that is there but cannot be taken (here the disk driver, whose file cannot be made) is
// not the same as no device: the scene hears of it, and it is not asked again until a device
// arrives.
TEST_F(SoundDeviceTest, ADeviceThatRefusesMakesOpenFail) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-kavorind-folder/capture.raw", 1);
    EXPECT_EQ(device.open(nullptr), 0);
    EXPECT_EQ(device.hasDevice(), 0);
    EXPECT_EQ(device.setChannelCount(1), 1);
    WaveClip clip;
    loadTone(clip, 100, 100);
    EXPECT_EQ(device.assignClip(clip, 0), 0);
    EXPECT_EQ(device.play(0, 0), 0);
    device.releaseAll();
    std::string capture = ::testing::TempDir() + "kavorind-refusal-" + std::to_string(::getpid());
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    EXPECT_EQ(device.open(nullptr), 0);
    EXPECT_EQ(device.hasDevice(), 0);
    // A fresh start (a new run) tries again, and now succeeds.
    device.releaseAll();
    platformAudioClose();
    EXPECT_EQ(device.open(nullptr), 1);
    EXPECT_EQ(device.hasDevice(), 1);
    device.releaseAll();
    platformAudioClose();
    std::remove(capture.c_str());
}

TEST_F(SoundDeviceTest, LostOutputKeepsTheGameGoingAndIsReopened) {
    openWith(1);
    WaveClip clip;
    loadTone(clip, 1000, 1000);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    ASSERT_EQ(device.play(0, 1), 1);
    platformAudioMarkLost();
    EXPECT_EQ(device.play(0, 1), 1);
    EXPECT_EQ(device.stop(0), 1);
    device.releaseAll();
    openWith(1);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    EXPECT_EQ(device.play(0, 0), 1);
    EXPECT_EQ(platformAudioPlaying(0), 1);
}

TEST_F(SoundDeviceTest, EveryChannelCallIsReportedWithItsResult) {
    seenCalls.clear();
    setSoundCallObserver(collectCall);
    WaveClip clip;
    loadTone(clip, 100, 100);
    device.releaseAll();
    openWith(2);
    device.assignClip(clip, 0);
    device.assignClip(clip, 5);
    device.play(0, 1);
    device.play(1, 0);
    device.stop(0);
    ASSERT_EQ(seenCalls.size(), 6u);
    EXPECT_EQ(seenCalls[0].op, SoundOpReleaseAll);
    EXPECT_EQ(seenCalls[0].ok, 1);
    EXPECT_EQ(seenCalls[1].op, SoundOpAssign);
    EXPECT_EQ(seenCalls[1].bytes, clip.sampleSize());
    EXPECT_EQ(seenCalls[1].ok, 1);
    EXPECT_EQ(seenCalls[2].channel, 5u);
    EXPECT_EQ(seenCalls[2].ok, 0);
    EXPECT_EQ(seenCalls[3].op, SoundOpPlay);
    EXPECT_EQ(seenCalls[3].looping, 1);
    EXPECT_EQ(seenCalls[3].ok, 1);
    EXPECT_EQ(seenCalls[4].channel, 1u);
    EXPECT_EQ(seenCalls[4].ok, 0);
    EXPECT_EQ(seenCalls[5].op, SoundOpStop);
    EXPECT_EQ(seenCalls[5].ok, 1);
}

} // namespace

} // namespace kavorind
