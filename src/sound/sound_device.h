#pragma once
#include "platform/audio.h"
#include "sound/wave_clip.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kavorind {

struct PlatformWindow;

// Channel tables larger than this are refused; the busiest scene uses 9.
constexpr uint32_t maxSoundChannels = 256;

// The game's connection to the sound output and its table of numbered channels. Each scene with
// sound tears it down and opens it again with its own channel layout. The physical output stays
// open underneath, so a scene change neither clicks nor waits for the device.
struct SoundDevice {
    int deviceOpen = 0; // 1 while the device holds the output; 0 when there is none
    PlatformWindow* window = nullptr;
    uint32_t channelCount = 0;
    std::vector<SoundBuffer> buffers; // one per channel (shared with its clip), null when empty
    std::vector<uint32_t> sizes;      // the clip's sample size per filled channel, else 0

    SoundDevice() = default;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;
    ~SoundDevice();

    // Takes the output for the window; 1 when it is ready. 1 also when there is no sound device at
    // all: the game then runs silent, and every channel operation below returns 0. 0 only when a
    // device exists but will not be taken (the caller then skips its channel set-up; the channel
    // operations return 0 all the same).
    int open(PlatformWindow* window);
    // Makes count empty channels, dropping any earlier ones; 0 when count is beyond the cap.
    int setChannelCount(uint32_t count);
    // Puts the clip into the channel, replacing what it held; the clip may be released at once.
    // The clip is converted to the output's format on its first assign and keeps the result, so
    // that later assigns (another scene's visit, another stage) cost no conversion. Any format the
    // output can decode plays; one it cannot leaves the channel empty (0).
    int assignClip(const WaveClip& clip, uint32_t channel);
    // Plays the channel from its start, once or looping; a second play restarts it.
    int play(uint32_t channel, int looping);
    // Silences the channel; the next play starts it from the beginning.
    int stop(uint32_t channel);
    // Releases every buffer and the output, and clears every field; always 1.
    int releaseAll();
    int hasDevice() const { return deviceOpen; }
};

// The one sound device of the program.
extern SoundDevice soundDevice;

// The player's choice: muted (the output device is never opened) and the volume, 0 to 100. Made
// before the first open.
void chooseSoundOutput(int muted, int volumePercent);
// Asks for an output in the richest rate and channel count among the clips' 8- and 16-bit PCM
// (at most 48 kHz stereo), which loses nothing of them and spares their assigns any resampling;
// CD quality when there is none. Made before the device opens; an output open in another format
// is reopened at the next open.
void chooseSoundFormat(std::span<const WaveClip* const> clips);
// Says on stderr, in one line, why the game will be silent: no device found, or one that refused
// in its own words. Nothing when the output works or was muted by choice.
void tellSilentOutput();

} // namespace kavorind
