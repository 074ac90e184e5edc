#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstring>

namespace kavorind {

struct PlatformSound {
    Mix_Chunk* chunk = nullptr;
};

namespace {

// CD rate, 16-bit stereo; 1024 frames (23 ms) keep effects close to the picture.
constexpr int outputRate = 44100;
constexpr int outputChannels = 2;
constexpr int outputFrames = 1024;
// A converted sound larger than this is refused (about twelve minutes of CD-quality stereo).
constexpr uint64_t maxSoundBytes = 128u << 20;

int outputOpen = 0;
int subsystemUp = 0;
int gaveUp = 0;
int voiceCount = 0;
// Set from SDL's threads when the output device disappears or a new one arrives.
std::atomic<int> outputLost{0};
std::atomic<int> deviceArrived{0};

int SDLCALL watchDevices(void*, SDL_Event* event) {
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture)
        outputLost = 1;
    if (event->type == SDL_AUDIODEVICEADDED && !event->adevice.iscapture)
        deviceArrived = 1;
    return 0;
}

void closeOutput() {
    if (outputOpen) {
        // The mixer keeps its voice count across a close while freeing the voices: drop them first.
        Mix_HaltChannel(-1);
        Mix_AllocateChannels(0);
        Mix_CloseAudio();
    }
    outputOpen = 0;
    voiceCount = 0;
    outputLost = 0;
}

int openOutput() {
    if (!subsystemUp) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return 0;
        subsystemUp = 1;
        SDL_DelEventWatch(watchDevices, nullptr);
        SDL_AddEventWatch(watchDevices, nullptr);
    }
    if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, outputChannels, outputFrames) != 0)
        return 0;
    Mix_AllocateChannels(0);
    outputOpen = 1;
    outputLost = 0;
    return 1;
}

// Someone shut SDL down underneath us (SDL_Quit): what we hold refers to nothing any more.
void forgetIfSdlWasQuit() {
    if (subsystemUp && !SDL_WasInit(SDL_INIT_AUDIO)) {
        closeOutput();
        subsystemUp = 0;
        gaveUp = 0;
    }
}

int voiceValid(int voice) {
    return outputOpen && voice >= 0 && voice < voiceCount;
}

SDL_AudioFormat sdlFormat(int bitsPerSample) {
    return bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

} // namespace

int platformAudioOpen() {
    forgetIfSdlWasQuit();
    if (outputOpen && outputLost)
        closeOutput();
    if (outputOpen)
        return 1;
    if (gaveUp && !deviceArrived.exchange(0))
        return 0;
    deviceArrived = 0;
    gaveUp = !openOutput();
    return outputOpen;
}

void platformAudioClose() {
    forgetIfSdlWasQuit();
    closeOutput();
    if (subsystemUp) {
        SDL_DelEventWatch(watchDevices, nullptr);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    subsystemUp = 0;
    gaveUp = 0;
    deviceArrived = 0;
}

int platformAudioOutputFormat(PlatformPcmFormat* out) {
    int rate = 0;
    int channels = 0;
    Uint16 format = 0;
    if (!outputOpen || !Mix_QuerySpec(&rate, &format, &channels))
        return 0;
    out->channels = channels;
    out->bitsPerSample = SDL_AUDIO_BITSIZE(format);
    out->sampleRate = rate;
    return 1;
}

int platformAudioSetVoices(int count) {
    if (!outputOpen || count < 0)
        return 0;
    Mix_HaltChannel(-1);
    voiceCount = Mix_AllocateChannels(count);
    return voiceCount == count;
}

PlatformSound* platformAudioMakeSound(const PlatformPcmFormat& format, const uint8_t* bytes,
                                      uint32_t size) {
    int rate = 0;
    int channels = 0;
    Uint16 output = 0;
    if (!outputOpen || !bytes || !Mix_QuerySpec(&rate, &output, &channels))
        return nullptr;
    if ((format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.channels < 1 ||
        format.channels > 8 || format.sampleRate <= 0)
        return nullptr;
    // Whole frames only: the converter must not read a partial frame at the end.
    size -= size % static_cast<uint32_t>(format.channels * format.bitsPerSample / 8);
    if (size == 0)
        return nullptr;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, sdlFormat(format.bitsPerSample),
                          static_cast<Uint8>(format.channels), format.sampleRate, output,
                          static_cast<Uint8>(channels), rate) < 0)
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
    int frameBytes = SDL_AUDIO_BITSIZE(output) / 8 * channels;
    converted -= converted % frameBytes;
    Mix_Chunk* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (converted <= 0 || !chunk) {
        SDL_free(cvt.buf);
        SDL_free(chunk);
        return nullptr;
    }
    // The mixer frees both the samples and the chunk when the chunk is marked allocated.
    chunk->allocated = 1;
    chunk->abuf = cvt.buf;
    chunk->alen = static_cast<Uint32>(converted);
    chunk->volume = MIX_MAX_VOLUME;
    return new PlatformSound{chunk};
}

void platformAudioFreeSound(PlatformSound* sound) {
    if (!sound)
        return;
    Mix_FreeChunk(sound->chunk);
    delete sound;
}

uint32_t platformAudioSoundBytes(const PlatformSound* sound) {
    return sound ? sound->chunk->alen : 0;
}

int platformAudioPlay(int voice, PlatformSound* sound, int looping) {
    if (!voiceValid(voice) || !sound)
        return 0;
    return Mix_PlayChannel(voice, sound->chunk, looping ? -1 : 0) == voice;
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

void platformAudioMarkLost() {
    outputLost = 1;
}

} // namespace kavorind
