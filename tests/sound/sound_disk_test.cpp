// What the mixer really sends to the output, captured through SDL's "disk" audio driver, which
// writes the mixed stream to a file at the pace of a real device.

#include "platform/audio.h"
#include "sound/sound_device.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// Loudness is judged over 10 ms blocks: a block sounds when a sample in it reaches this level.
constexpr int soundingLevel = 2000;

class SoundDiskTest : public ::testing::Test {
  protected:
    SoundDevice device;
    std::string capture;
    PlatformPcmFormat output;
    size_t bytesPerSecond = 0;
    int loudest = 0; // the loudest sample soundingBlocks found

    void SetUp() override {
        platformAudioClose();
        capture =
            (fs::temp_directory_path() / ("kavorind-sound-" + std::to_string(::getpid()) + ".raw"))
                .string();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
        ASSERT_EQ(device.open(nullptr), 1);
        ASSERT_EQ(device.hasDevice(), 1);
        ASSERT_EQ(platformAudioOutputFormat(&output), 1);
        ASSERT_EQ(output.bitsPerSample, 16);
        bytesPerSecond = static_cast<size_t>(output.sampleRate * output.channels * 2);
    }
    void TearDown() override {
        chooseSoundOutput(0, 100);
        device.releaseAll();
        platformAudioClose();
        std::error_code ignored;
        fs::remove(capture, ignored);
    }

    size_t capturedBytes() {
        std::error_code problem;
        uintmax_t size = fs::file_size(capture, problem);
        return problem ? 0 : static_cast<size_t>(size);
    }
    // Waits until the output has taken in `ms` more milliseconds of sound; the capture position
    // it reached is returned. Fails the test rather than hang when the output stalls.
    size_t runFor(int ms) {
        size_t target = capturedBytes() + bytesPerSecond * static_cast<size_t>(ms) / 1000;
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (capturedBytes() < target) {
            if (std::chrono::steady_clock::now() > giveUp) {
                ADD_FAILURE() << "the output stopped taking sound";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return capturedBytes();
    }
    // Closes the output and tells, per 10 ms block of the capture, whether it sounds.
    std::vector<int> soundingBlocks() {
        device.releaseAll();
        platformAudioClose();
        std::ifstream file(capture, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
        size_t blockBytes = bytesPerSecond / 100;
        std::vector<int> blocks;
        for (size_t start = 0; start + blockBytes <= bytes.size(); start += blockBytes) {
            int peak = 0;
            for (size_t i = start; i + 1 < start + blockBytes; i += 2) {
                int sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                  static_cast<uint8_t>(bytes[i + 1]) << 8);
                peak = std::max(peak, std::abs(sample));
            }
            blocks.push_back(peak >= soundingLevel);
            loudest = std::max(loudest, peak);
        }
        return blocks;
    }
    size_t blockAt(size_t captureOffset) const { return captureOffset / (bytesPerSecond / 100); }
};

// The lengths, in blocks, of the runs of sounding blocks.
std::vector<int> soundingRuns(const std::vector<int>& blocks) {
    std::vector<int> runs;
    int length = 0;
    for (int sounding : blocks) {
        if (sounding)
            ++length;
        else if (length) {
            runs.push_back(length);
            length = 0;
        }
    }
    if (length)
        runs.push_back(length);
    return runs;
}

TEST_F(SoundDiskTest, PlayedClipComesOutOnceAndEnds) {
    ASSERT_EQ(device.setChannelCount(2), 1);
    WaveClip clip;
    loadTone(clip, 200, 200);
    ASSERT_EQ(device.assignClip(clip, 1), 1);
    clip.release();
    runFor(100);
    ASSERT_EQ(device.play(1, 0), 1);
    runFor(800);
    std::vector<int> runs = soundingRuns(soundingBlocks());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_GE(runs[0], 19); // 200 ms, give or take the blocks at its edges
    EXPECT_LE(runs[0], 21);
}

// Each decoded clip comes out once, as long as it is: 200 ms of tone (the ADPCM clip: 9 blocks of
// 505 samples, 206 ms of a steady level).
TEST_F(SoundDiskTest, DecodedClipsComeOutAsLongAsTheyAre) {
    const std::vector<std::vector<uint8_t>> files{floatToneFile(200, 200), pcm24ToneFile(200, 200),
                                                  imaAdpcmFile(9, 1)};
    ASSERT_EQ(device.setChannelCount(static_cast<uint32_t>(files.size())), 1);
    for (uint32_t channel = 0; channel < files.size(); ++channel) {
        WaveClip clip;
        ASSERT_EQ(clip.loadFromMemory(files[channel]), 1);
        ASSERT_EQ(device.assignClip(clip, channel), 1);
    }
    runFor(100);
    for (uint32_t channel = 0; channel < files.size(); ++channel) {
        ASSERT_EQ(device.play(channel, 0), 1);
        runFor(500);
    }
    std::vector<int> runs = soundingRuns(soundingBlocks());
    // Samples read in the wrong encoding would come out far louder or quieter than written.
    EXPECT_GT(loudest, 10000);
    EXPECT_LT(loudest, 15000);
    ASSERT_EQ(runs.size(), files.size());
    for (int run : runs) {
        EXPECT_GE(run, 19);
        EXPECT_LE(run, 22);
    }
}

TEST_F(SoundDiskTest, LoopingClipKeepsSoundingUntilStopped) {
    ASSERT_EQ(device.setChannelCount(1), 1);
    WaveClip clip;
    loadTone(clip, 100, 100);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    ASSERT_EQ(device.play(0, 1), 1);
    runFor(600);
    ASSERT_EQ(device.stop(0), 1);
    size_t stoppedAt = capturedBytes();
    runFor(600);
    std::vector<int> blocks = soundingBlocks();
    std::vector<int> runs = soundingRuns(blocks);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_GE(runs[0], 50); // a clip of 10 blocks, still going after 50
    // What was mixed before the stop may still be on its way out; after that, silence.
    size_t quietFrom = blockAt(stoppedAt + bytesPerSecond / 4);
    ASSERT_LT(quietFrom, blocks.size());
    for (size_t i = quietFrom; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i], 0) << "block " << i;
}

TEST_F(SoundDiskTest, SecondPlayRestartsFromTheStart) {
    ASSERT_EQ(device.setChannelCount(1), 1);
    WaveClip clip;
    loadTone(clip, 100, 1000); // a short burst, then a long quiet tail
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    ASSERT_EQ(device.play(0, 0), 1);
    runFor(400);
    ASSERT_EQ(device.play(0, 0), 1);
    runFor(600);
    std::vector<int> runs = soundingRuns(soundingBlocks());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GE(runs[1], 9);
    EXPECT_LE(runs[1], 11);
}

TEST_F(SoundDiskTest, OutputStaysOpenFromSceneToScene) {
    WaveClip clip;
    loadTone(clip, 100, 100);
    for (int scene = 0; scene < 2; ++scene) {
        device.releaseAll();
        ASSERT_EQ(device.open(nullptr), 1);
        ASSERT_EQ(device.setChannelCount(1), 1);
        ASSERT_EQ(device.assignClip(clip, 0), 1);
        ASSERT_EQ(device.play(0, 0), 1);
        runFor(300);
    }
    // Re-opening the output would have started a new capture file without the first sound.
    EXPECT_EQ(soundingRuns(soundingBlocks()).size(), 2u);
}

TEST_F(SoundDiskTest, LostOutputIsOpenedAfreshForTheNextScene) {
    ASSERT_EQ(device.setChannelCount(1), 1);
    WaveClip clip;
    loadTone(clip, 100, 100);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    runFor(500);
    platformAudioMarkLost();
    device.releaseAll();
    ASSERT_EQ(device.open(nullptr), 1);
    ASSERT_EQ(device.hasDevice(), 1);
    EXPECT_LT(capturedBytes(), bytesPerSecond / 4); // a new output, a new capture
    ASSERT_EQ(device.setChannelCount(1), 1);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    ASSERT_EQ(device.play(0, 0), 1);
    runFor(300);
    EXPECT_EQ(soundingRuns(soundingBlocks()).size(), 1u);
}

// The volume scales what the mixer sends out: at 50 the tone comes out at half its level.
TEST_F(SoundDiskTest, VolumeScalesTheOutput) {
    chooseSoundOutput(0, 50);
    ASSERT_EQ(device.setChannelCount(1), 1);
    WaveClip clip;
    loadTone(clip, 200, 200, 12000);
    ASSERT_EQ(device.assignClip(clip, 0), 1);
    ASSERT_EQ(device.play(0, 0), 1);
    runFor(500);
    soundingBlocks();
    // At full volume the same tone peaks above 10000 (its edges overshoot a little once resampled).
    EXPECT_GT(loudest, 5000);
    EXPECT_LT(loudest, 8000);
}

// Muted, the output device is never opened: the disk driver writes no file at all.
TEST(SoundMute, MutedOutputOpensNoDevice) {
    platformAudioClose();
    std::string capture =
        (fs::temp_directory_path() / ("kavorind-mute-" + std::to_string(::getpid()) + ".raw"))
            .string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    chooseSoundOutput(1, 100);
    SoundDevice device;
    EXPECT_EQ(device.open(nullptr), 1) << "a muted game runs on, silent";
    EXPECT_EQ(device.hasDevice(), 0);
    EXPECT_EQ(platformAudioOpen(), PlatformAudioMuted);
    EXPECT_FALSE(fs::exists(capture));
    chooseSoundOutput(0, 100);
    EXPECT_EQ(device.open(nullptr), 1);
    EXPECT_EQ(device.hasDevice(), 1) << "unmuted, the same device opens";
    device.releaseAll();
    platformAudioClose();
    fs::remove(capture);
}

} // namespace

} // namespace kavorind
