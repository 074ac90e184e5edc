#pragma once
// Sound output through SDL2_mixer: one output device, kept open for the whole run once it works,
// and numbered voices that each play one ready sound from its start, once or looping.

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

// Makes sure the output device is open; 1 when sounds can be played. An output that is already
// open is kept as it is (no click, no wait). One whose device went away (an unplugged headset) is
// given up here and the default device opened afresh. After a failure there is no new attempt
// until a device is plugged in, so a machine without sound does not pay for probing at every call.
int platformAudioOpen();
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
// Frees a sound, silencing any voice that plays it. Null is ignored.
void platformAudioFreeSound(PlatformSound* sound);
// The size of a sound in output bytes.
uint32_t platformAudioSoundBytes(const PlatformSound* sound);
// Plays a sound on a voice from its start, cutting off what the voice played; 1 on success.
int platformAudioPlay(int voice, PlatformSound* sound, int looping);
// Silences a voice; 1 on success.
int platformAudioStop(int voice);
// 1 while a voice is sounding.
int platformAudioPlaying(int voice);

// Behaves as if the output device had been unplugged (tests).
void platformAudioMarkLost();

struct PlatformSoundDeleter {
    void operator()(PlatformSound* sound) const { platformAudioFreeSound(sound); }
};

} // namespace kavorind
