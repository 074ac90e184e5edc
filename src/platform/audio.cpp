#include "platform/audio.h"

#include "platform/audio_driver_quiet.h"
#include "platform/wave_decoder.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <string>

namespace kavorind {

struct PlatformSound {
    Mix_Chunk* chunk = nullptr;
};

namespace {

// Unless the game asks for its sounds' own format: CD rate, 16-bit stereo. 1024 frames (23 ms at
// 44.1 kHz) keep effects close to the picture; a slower output takes proportionally fewer.
constexpr int defaultRate = 44100;
constexpr int defaultChannels = 2;
constexpr int outputFramesAtDefaultRate = 1024;
// The limits a content check tells authors about (platform/wave_decoder.h).
constexpr uint64_t maxSoundBytes = maxConvertedSoundBytes;
constexpr size_t maxDecodedFileBytes = maxDecodedWaveFileBytes;

struct PlatformAudio {
    int outputOpen = 0;
    int subsystemUp = 0;
    // Set when an open failed; `failure` is what it found, answered until a device arrives.
    int gaveUp = 0;
    PlatformAudioState failure = PlatformAudioAbsent;
    int voiceCount = 0;
    int muted = 0;
    int paused = 0; // the shell holds every voice where it is while the game is paused
    int volumePercent = 100;
    // The format asked for, and the one the open output was asked for.
    int wishedRate = defaultRate;
    int wishedChannels = defaultChannels;
    int openedRate = 0;
    int openedChannels = 0;
    std::string refusal;
    // Set from SDL's threads when the output device disappears or a new one arrives.
    std::atomic<int> outputLost{0};
    std::atomic<int> deviceArrived{0};
};

PlatformAudio platformAudio;

int SDLCALL watchDevices(void*, SDL_Event* event) {
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture)
        platformAudio.outputLost = 1;
    if (event->type == SDL_AUDIODEVICEADDED && !event->adevice.iscapture)
        platformAudio.deviceArrived = 1;
    return 0;
}

void closeOutput() {
    if (platformAudio.outputOpen) {
        // The mixer keeps its voice count across a close while freeing the voices: drop them first.
        Mix_HaltChannel(-1);
        Mix_AllocateChannels(0);
        Mix_CloseAudio();
    }
    platformAudio.outputOpen = 0;
    platformAudio.voiceCount = 0;
    platformAudio.outputLost = 0;
}

int startSubsystem() {
    if (platformAudio.subsystemUp)
        return 1;
    platformQuietenAudioDriver();
    SDL_SetMainReady(); // as platformInit does: sound may start before the window
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    platformAudio.subsystemUp = 1;
    SDL_DelEventWatch(watchDevices, nullptr);
    SDL_AddEventWatch(watchDevices, nullptr);
    return 1;
}

int masterVolume() {
    return platformAudio.volumePercent * MIX_MAX_VOLUME / 100;
}

// No audio driver that starts, or one that lists no output at all, means a machine without sound.
// A driver that cannot list its devices (-1) may still open its default one, so it is tried.
PlatformAudioState openOutput() {
    if (!startSubsystem() || SDL_GetNumAudioDevices(0) == 0)
        return PlatformAudioAbsent;
    int rate = platformAudio.wishedRate;
    int frames = outputFramesAtDefaultRate;
    while (frames > 256 && frames * defaultRate / 2 >= outputFramesAtDefaultRate * rate)
        frames /= 2;
    if (Mix_OpenAudio(rate, AUDIO_S16SYS, platformAudio.wishedChannels, frames) != 0) {
        platformAudio.refusal = Mix_GetError();
        return PlatformAudioRefused;
    }
    Mix_AllocateChannels(0);
    Mix_MasterVolume(masterVolume());
    platformAudio.openedRate = rate;
    platformAudio.openedChannels = platformAudio.wishedChannels;
    platformAudio.outputOpen = 1;
    platformAudio.outputLost = 0;
    return PlatformAudioReady;
}

// Someone shut SDL down underneath us (SDL_Quit): what we hold refers to nothing any more.
void forgetIfSdlWasQuit() {
    if (platformAudio.subsystemUp && !SDL_WasInit(SDL_INIT_AUDIO)) {
        closeOutput();
        platformAudio.subsystemUp = 0;
        platformAudio.gaveUp = 0;
    }
}

int openedAsWished() {
    return platformAudio.openedRate == platformAudio.wishedRate &&
           platformAudio.openedChannels == platformAudio.wishedChannels;
}

int voiceValid(int voice) {
    return platformAudio.outputOpen && voice >= 0 && voice < platformAudio.voiceCount;
}

// Wraps converted samples (allocated with SDL_malloc) as a mixer chunk, which then owns them.
PlatformSound* wrapSamples(Uint8* samples, int size) {
    Mix_Chunk* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (size <= 0 || !chunk) {
        SDL_free(samples);
        SDL_free(chunk);
        return nullptr;
    }
    // The mixer frees both the samples and the chunk when the chunk is marked allocated.
    chunk->allocated = 1;
    chunk->abuf = samples;
    chunk->alen = static_cast<Uint32>(size);
    chunk->volume = MIX_MAX_VOLUME;
    return new PlatformSound{chunk};
}

// Converts samples of any format SDL knows into the output's format.
PlatformSound* convertToOutput(SDL_AudioFormat format, int channels, int rate, const Uint8* bytes,
                               uint32_t size) {
    int outRate = 0;
    int outChannels = 0;
    Uint16 output = 0;
    if (!platformAudio.outputOpen || !bytes || !Mix_QuerySpec(&outRate, &output, &outChannels))
        return nullptr;
    if (channels < 1 || channels > 8 || rate <= 0)
        return nullptr;
    // Whole frames only: the converter must not read a partial frame at the end.
    size -= size % static_cast<uint32_t>(channels * SDL_AUDIO_BITSIZE(format) / 8);
    if (size == 0)
        return nullptr;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(channels), rate, output,
                          static_cast<Uint8>(outChannels), outRate) < 0)
        return nullptr;
    uint64_t workBytes = static_cast<uint64_t>(size) * static_cast<uint64_t>(cvt.len_mult);
    if (workBytes > maxSoundBytes)
        return nullptr;
    cvt.len = static_cast<int>(size);
    cvt.buf = static_cast<Uint8*>(SDL_malloc(static_cast<size_t>(workBytes)));
    if (!cvt.buf)
        return nullptr;
    std::memcpy(cvt.buf, bytes, size);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        SDL_free(cvt.buf);
        return nullptr;
    }
    int converted = cvt.needed ? cvt.len_cvt : cvt.len;
    converted -= converted % (SDL_AUDIO_BITSIZE(output) / 8 * outChannels);
    return wrapSamples(cvt.buf, converted);
}

} // namespace

PlatformAudioState platformAudioOpen() {
    if (platformAudio.muted)
        return PlatformAudioMuted;
    forgetIfSdlWasQuit();
    if (platformAudio.outputOpen && (platformAudio.outputLost || !openedAsWished()))
        closeOutput();
    if (platformAudio.outputOpen)
        return PlatformAudioReady;
    if (platformAudio.gaveUp && !platformAudio.deviceArrived.exchange(0))
        return platformAudio.failure;
    platformAudio.deviceArrived = 0;
    PlatformAudioState state = openOutput();
    platformAudio.gaveUp = state != PlatformAudioReady;
    platformAudio.failure = state;
    return state;
}

void platformAudioSetMuted(int muted) {
    platformAudio.muted = muted ? 1 : 0;
    if (platformAudio.muted)
        closeOutput();
}

void platformAudioSetVolume(int percent) {
    platformAudio.volumePercent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    if (platformAudio.outputOpen)
        Mix_MasterVolume(masterVolume());
}

void platformAudioPreferFormat(int sampleRate, int channels) {
    platformAudio.wishedRate = sampleRate > 0 ? sampleRate : defaultRate;
    platformAudio.wishedChannels = channels > 0 ? channels : defaultChannels;
}

const char* platformAudioRefusal() {
    return platformAudio.refusal.c_str();
}

void platformAudioClose() {
    forgetIfSdlWasQuit();
    closeOutput();
    if (platformAudio.subsystemUp) {
        SDL_DelEventWatch(watchDevices, nullptr);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    platformAudio.subsystemUp = 0;
    platformAudio.gaveUp = 0;
    platformAudio.deviceArrived = 0;
    platformAudioPreferFormat(0, 0);
}

int platformAudioOutputFormat(PlatformPcmFormat* out) {
    int rate = 0;
    int channels = 0;
    Uint16 format = 0;
    if (!platformAudio.outputOpen || !Mix_QuerySpec(&rate, &format, &channels))
        return 0;
    out->channels = channels;
    out->bitsPerSample = SDL_AUDIO_BITSIZE(format);
    out->sampleRate = rate;
    return 1;
}

int platformAudioSetVoices(int count) {
    if (!platformAudio.outputOpen || count < 0)
        return 0;
    Mix_HaltChannel(-1);
    platformAudio.voiceCount = Mix_AllocateChannels(count);
    return platformAudio.voiceCount == count;
}

PlatformSound* platformAudioMakeSound(const PlatformPcmFormat& format, const uint8_t* bytes,
                                      uint32_t size) {
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return nullptr;
    SDL_AudioFormat sdlFormat = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    return convertToOutput(sdlFormat, format.channels, format.sampleRate, bytes, size);
}

PlatformSound* platformAudioDecodeWave(const uint8_t* file, size_t size) {
    if (!platformAudio.outputOpen || !file || size > maxDecodedFileBytes)
        return nullptr;
    SDL_RWops* source = SDL_RWFromConstMem(file, static_cast<int>(size));
    if (!source)
        return nullptr;
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(source, 1, &spec, &samples, &length))
        return nullptr;
    PlatformSound* sound = convertToOutput(spec.format, spec.channels, spec.freq, samples, length);
    SDL_FreeWAV(samples);
    return sound;
}

void platformAudioFreeSound(PlatformSound* sound) {
    if (!sound)
        return;
    Mix_FreeChunk(sound->chunk);
    delete sound;
}

int platformAudioPlay(int voice, PlatformSound* sound, int looping) {
    if (!voiceValid(voice) || !sound)
        return 0;
    if (Mix_PlayChannel(voice, sound->chunk, looping ? -1 : 0) != voice)
        return 0;
    if (platformAudio.paused)
        Mix_Pause(voice);
    return 1;
}

int platformAudioStop(int voice) {
    if (!voiceValid(voice))
        return 0;
    Mix_HaltChannel(voice);
    return 1;
}

int platformAudioPlaying(int voice) {
    return voiceValid(voice) && Mix_Playing(voice) ? 1 : 0;
}

void platformAudioPause(int paused) {
    platformAudio.paused = paused ? 1 : 0;
    if (!platformAudio.outputOpen)
        return;
    if (platformAudio.paused)
        Mix_Pause(-1);
    else
        Mix_Resume(-1);
}

int platformAudioPaused() {
    return platformAudio.paused;
}

void platformAudioMarkLost() {
    platformAudio.outputLost = 1;
}

} // namespace kavorind
