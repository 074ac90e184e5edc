#include "platform/wave_decoder.h"

#include <SDL.h>

namespace kavorind {

int platformWaveDecodes(std::span<const uint8_t> file, std::string* why) {
    if (file.size() > maxDecodedWaveFileBytes) {
        *why = "larger than the decoder's 32 MiB";
        return 0;
    }
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &samples, &length)) {
        *why = SDL_GetError();
        return 0;
    }
    SDL_FreeWAV(samples);
    // The same limits as the conversion to the output's format.
    uint32_t frameBytes = spec.channels * SDL_AUDIO_BITSIZE(spec.format) / 8u;
    if (spec.channels < 1 || spec.channels > 8)
        *why = "it decodes to " + std::to_string(spec.channels) + " channels";
    else if (spec.freq <= 0)
        *why = "it decodes to a rate of 0";
    else if (length < frameBytes)
        *why = "it decodes to no samples";
    else
        return 1;
    return 0;
}

int platformDecodeWave16(std::span<const uint8_t> file, std::vector<int16_t>* samples,
                         int* channels, int* sampleRate, std::string* why) {
    if (file.size() > maxDecodedWaveFileBytes) {
        *why = "larger than the decoder's 32 MiB";
        return 0;
    }
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    SDL_AudioSpec spec{};
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &bytes, &length)) {
        *why = SDL_GetError();
        return 0;
    }
    const int sixteenBits = spec.format == AUDIO_S16SYS;
    if (sixteenBits) {
        samples->resize(length / 2);
        SDL_memcpy(samples->data(), bytes, samples->size() * 2);
        *channels = spec.channels;
        *sampleRate = spec.freq;
    } else {
        *why = "it decodes to samples other than signed 16 bits";
    }
    SDL_FreeWAV(bytes);
    return sixteenBits;
}

} // namespace kavorind
