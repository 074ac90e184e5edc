#pragma once
// Sound output through SDL2_mixer: one output device, kept open for the whole run once it works,
// and numbered voices that each play one ready sound from its start, once or looping.

#include <cstddef>
#include <cstdint>

namespace kavorind {

// One sound converted to the output's own format, ready to play.
struct PlatformSound;

// The layout of PCM samples: 8-bit unsigned or 16-bit signed little-endian, interleaved frames.
struct PlatformPcmFormat {
    int channels = 0;
    int bitsPerSample = 0;
    int sampleRate = 0;
};

// What an attempt to open the output found. A machine without any sound device is told apart from
// one whose device exists but will not be taken (held by another program, a driver fault): the
// first runs silent as a matter of course, the second is worth telling the player about.
// A muted output is never opened at all.
enum PlatformAudioState {
    PlatformAudioReady,
    PlatformAudioAbsent,
    PlatformAudioRefused,
    PlatformAudioMuted
};

// Mutes the output: later opens leave the device alone and answer PlatformAudioMuted. Set before
// the first open; an output already open is closed.
void platformAudioSetMuted(int muted);
// The output's master volume, 0 to 100 (values outside are held to that range); kept for outputs
// opened later too.
void platformAudioSetVolume(int percent);
// The rate and channel count the output opens with: the game's own sounds' format where that loses
// nothing, so that their samples need no resampling when they are made ready to play. 0 for either
// keeps CD quality (44.1 kHz stereo). An output open with another wish is reopened by the next
// platformAudioOpen; platformAudioClose forgets the wish.
void platformAudioPreferFormat(int sampleRate, int channels);
// The output's own words for the last refusal ("" when none).
const char* platformAudioRefusal();

// Makes sure the output device is open. An output that is already open is kept as it is (no click,
// no wait). One whose device went away (an unplugged headset) is given up here and the default
// device opened afresh. After a failure there is no new attempt until a device is plugged in, so a
// machine without sound does not pay for probing at every call: the failure found last is answered
// again.
PlatformAudioState platformAudioOpen();
// Closes the output for good and forgets every voice (tests and tools that need the captured
// output complete; the game keeps its output until the process ends).
void platformAudioClose();
// The format the output plays; 0 when it is not open.
int platformAudioOutputFormat(PlatformPcmFormat* out);

// Sets the number of voices, all silent and without a sound; 1 on success.
int platformAudioSetVoices(int count);
// Converts PCM samples into a sound of the output's format; null when the output is not open,
// the format cannot be converted or the result would not fit in memory.
PlatformSound* platformAudioMakeSound(const PlatformPcmFormat& format, const uint8_t* bytes,
                                      uint32_t size);
// Decodes a whole RIFF WAVE file held in memory (compressed and float formats, 24- and 32-bit PCM:
// whatever SDL's wave decoder reads) into a sound of the output's format; null when the output is
// not open or the file cannot be decoded or converted.
PlatformSound* platformAudioDecodeWave(const uint8_t* file, size_t size);
// Frees a sound, silencing any voice that plays it. Null is ignored.
void platformAudioFreeSound(PlatformSound* sound);
// Plays a sound on a voice from its start, cutting off what the voice played; 1 on success.
int platformAudioPlay(int voice, PlatformSound* sound, int looping);
// Silences a voice; 1 on success.
int platformAudioStop(int voice);
// 1 while a voice is sounding.
int platformAudioPlaying(int voice);

// Holds every voice where it is (1) or lets them go on (0), beneath the voices' own calls: a voice
// started while held starts held. For the shell's pause, which the game's sound calls never see.
void platformAudioPause(int paused);
int platformAudioPaused();

// Behaves as if the output device had been unplugged (tests).
void platformAudioMarkLost();

struct PlatformSoundDeleter {
    void operator()(PlatformSound* sound) const { platformAudioFreeSound(sound); }
};

} // namespace kavorind
