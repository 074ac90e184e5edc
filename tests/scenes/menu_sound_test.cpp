// The menu's music and selection blip, heard in what the mixer really sends out: SDL's "disk"
// audio driver writes the mixed stream to a file at the pace of a real device.

#include "../test_content.h"
#include "input/key_state.h"
#include "platform/audio.h"
#include "platform/keyboard.h"
#include "scenes/menu_scene.h"
#include "sound/sound_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

int upHeld = 0;
int fakeKeyboard(int code) {
    return code == VK_UP ? upHeld : 0;
}

struct MenuSoundTest : ::testing::Test {
    fs::path folder;
    fs::path capture;
    fs::path previous;

    void SetUp() override {
        folder = fs::temp_directory_path() / ("kavorind-menu-sound-" + std::to_string(getpid()));
        capture = folder / "mix.raw";
        ASSERT_EQ(writeTestContent(folder.string()), 1);
        previous = fs::current_path();
        fs::current_path(folder);
        platformAudioClose();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
        platformSetKeySource(fakeKeyboard);
        clearKeys();
    }
    void TearDown() override {
        menuStop();
        platformAudioClose();
        platformSetKeySource(nullptr);
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    size_t captured() {
        std::error_code problem;
        auto size = fs::file_size(capture, problem);
        return problem ? 0 : static_cast<size_t>(size);
    }
    // Waits until the output has taken in ms more milliseconds of 44.1 kHz 16-bit stereo.
    size_t runFor(int ms) {
        size_t target = captured() + 44100 * 4 * static_cast<size_t>(ms) / 1000;
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (captured() < target && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return captured();
    }
    // The loudest sample between two capture offsets.
    int peakBetween(size_t from, size_t to) {
        std::ifstream file(capture, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
        int peak = 0;
        for (size_t i = from & ~size_t{1}; i + 1 < to && i + 1 < bytes.size(); i += 2) {
            int sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                              static_cast<uint8_t>(bytes[i + 1]) << 8);
            peak = std::max(peak, std::abs(sample));
        }
        return peak;
    }
};

} // namespace

TEST_F(MenuSoundTest, MusicComesOutOfTheMixAndUpPlaysTheBlip) {
    ASSERT_EQ(menuStart(), 1);
    ASSERT_EQ(soundDevice.hasDevice(), 1);
    size_t musicFrom = runFor(100);
    size_t musicTo = runFor(400);
    EXPECT_GT(peakBetween(musicFrom, musicTo), 4000);

    // With the music silenced, the only sound left is the blip that Up plays.
    soundDevice.stop(0);
    size_t quietFrom = runFor(300);
    size_t quietTo = runFor(200);
    EXPECT_LT(peakBetween(quietFrom, quietTo), 100);
    upHeld = 1;
    ASSERT_EQ(menuUpdate(), 1);
    EXPECT_EQ(menuScene.selection, 1);
    size_t blipTo = runFor(300);
    EXPECT_GT(peakBetween(quietTo, blipTo), 4000);
}

// The menu's clips are read once and stay converted: a second visit reuses the first one's buffers.
TEST_F(MenuSoundTest, ASecondVisitReusesTheFirstVisitsConvertedClips) {
    ASSERT_EQ(menuStart(), 1);
    ASSERT_EQ(soundDevice.hasDevice(), 1);
    PlatformSound* music = soundDevice.buffers[0].get();
    PlatformSound* blip = soundDevice.buffers[1].get();
    ASSERT_NE(music, nullptr);
    ASSERT_NE(blip, nullptr);
    menuStop();
    ASSERT_EQ(menuStart(), 1);
    EXPECT_EQ(soundDevice.buffers[0].get(), music);
    EXPECT_EQ(soundDevice.buffers[1].get(), blip);
    EXPECT_EQ(platformAudioPlaying(0), 1);
}

} // namespace kavorind
