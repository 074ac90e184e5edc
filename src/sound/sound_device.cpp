#include "sound/sound_device.h"

#include "sound/sound_calls.h"
#include "sound/wave_writer.h"

#include <algorithm>
#include <cstdio>

namespace kavorind {

SoundDevice soundDevice;

namespace {

int channelReady(const SoundDevice& device, uint32_t channel) {
    return device.deviceOpen && channel < device.channelCount && device.buffers[channel];
}

// Frees the buffers in channel order and clears every field; the output itself stays open for the
// next scene.
void clearDevice(SoundDevice& device) {
    for (SoundBuffer& buffer : device.buffers)
        buffer.reset();
    if (device.deviceOpen)
        platformAudioSetVoices(0);
    device.buffers.clear();
    device.sizes.clear();
    device.channelCount = 0;
    device.window = nullptr;
    device.deviceOpen = 0;
}

int isPlainPcm(const WaveFormat& format) {
    return format.formatTag == WAVE_FORMAT_PCM &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16);
}

// 8- and 16-bit PCM is converted straight from the clip's samples. Every other format goes through
// the output's wave decoder, which reads whole files: one is put together from the clip's "fmt "
// chunk and samples. What neither can take leaves the channel empty.
SoundBuffer makeBuffer(const WaveClip& clip) {
    const WaveFormat& format = *clip.format();
    if (isPlainPcm(format)) {
        PlatformPcmFormat pcm{format.channels, format.bitsPerSample,
                              static_cast<int>(format.samplesPerSec)};
        return SoundBuffer(platformAudioMakeSound(pcm, clip.samples(), clip.sampleSize()),
                           PlatformSoundDeleter{});
    }
    std::vector<uint8_t> file =
        waveFileFromChunks(clip.formatChunk(), {clip.samples(), clip.sampleSize()});
    if (file.empty())
        return nullptr;
    return SoundBuffer(platformAudioDecodeWave(file.data(), file.size()), PlatformSoundDeleter{});
}

// The clip's buffer for the output as it is now: the one kept from an earlier assign, or a new one
// that the clip then keeps.
SoundBuffer bufferFor(const WaveClip& clip) {
    PlatformPcmFormat output;
    if (!platformAudioOutputFormat(&output))
        return nullptr;
    SoundBuffer buffer = clip.keptBuffer(output);
    if (buffer)
        return buffer;
    buffer = makeBuffer(clip);
    if (buffer)
        clip.keepBuffer(buffer, output);
    return buffer;
}

} // namespace

// At exit nothing may be reported any more: whoever watched the calls may be gone already.
SoundDevice::~SoundDevice() {
    for (SoundBuffer& buffer : buffers)
        buffer.reset();
}

int SoundDevice::open(PlatformWindow* newWindow) {
    // Every caller releases first; a device opened twice still starts afresh.
    if (deviceOpen || channelCount)
        clearDevice(*this);
    PlatformAudioState state = platformAudioOpen();
    deviceOpen = state == PlatformAudioReady ? 1 : 0;
    window = newWindow;
    return state == PlatformAudioRefused ? 0 : 1;
}

int SoundDevice::setChannelCount(uint32_t count) {
    buffers.clear();
    sizes.clear();
    channelCount = 0;
    if (count > maxSoundChannels)
        return 0;
    if (deviceOpen && !platformAudioSetVoices(static_cast<int>(count)))
        return 0;
    buffers.resize(count);
    sizes.assign(count, 0);
    channelCount = count;
    return 1;
}

int SoundDevice::assignClip(const WaveClip& clip, uint32_t channel) {
    SoundCall call{SoundOpAssign, channel, clip.sampleSize()};
    if (!deviceOpen || channel >= channelCount || !clip.hasSamples())
        return reportSoundCall(call);
    buffers[channel].reset();
    sizes[channel] = 0;
    buffers[channel] = bufferFor(clip);
    if (!buffers[channel])
        return reportSoundCall(call);
    sizes[channel] = clip.sampleSize();
    call.ok = 1;
    return reportSoundCall(call);
}

int SoundDevice::play(uint32_t channel, int looping) {
    SoundCall call{SoundOpPlay, channel, 0, looping};
    if (channelReady(*this, channel))
        call.ok = platformAudioPlay(static_cast<int>(channel), buffers[channel].get(), looping);
    return reportSoundCall(call);
}

int SoundDevice::stop(uint32_t channel) {
    SoundCall call{SoundOpStop, channel};
    if (channelReady(*this, channel))
        call.ok = platformAudioStop(static_cast<int>(channel));
    return reportSoundCall(call);
}

void chooseSoundOutput(int muted, int volumePercent) {
    platformAudioSetMuted(muted);
    platformAudioSetVolume(volumePercent);
}

void chooseSoundFormat(std::span<const WaveClip* const> clips) {
    // Beyond 48 kHz stereo the ear gains nothing and the mixer only works harder.
    constexpr uint32_t richestRate = 48000;
    constexpr uint16_t richestChannels = 2;
    uint32_t rate = 0;
    uint16_t channels = 0;
    for (const WaveClip* clip : clips) {
        if (!clip || !clip->hasSamples() || !isPlainPcm(*clip->format()))
            continue;
        // Copied out of the packed format record: std::min takes references.
        uint32_t clipRate = clip->format()->samplesPerSec;
        uint16_t clipChannels = clip->format()->channels;
        rate = std::max(rate, std::min(clipRate, richestRate));
        channels = std::max(channels, std::min(clipChannels, richestChannels));
    }
    if (!rate || !channels)
        rate = channels = 0;
    platformAudioPreferFormat(static_cast<int>(rate), channels);
}

void tellSilentOutput() {
    PlatformAudioState state = platformAudioOpen();
    if (state == PlatformAudioAbsent)
        std::fprintf(stderr, "Kavorind: no sound device found; the game runs silent.\n");
    else if (state == PlatformAudioRefused)
        std::fprintf(stderr,
                     "Kavorind: the sound device refused to open (%s); the game runs silent.\n",
                     platformAudioRefusal());
}

int SoundDevice::releaseAll() {
    clearDevice(*this);
    return reportSoundCall(SoundCall{SoundOpReleaseAll, 0, 0, 0, 1});
}

} // namespace kavorind
