#include "sound/sound_device.h"

#include "sound/sound_calls.h"
#include "sound/wave_writer.h"

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

// 8- and 16-bit PCM is converted straight from the clip's samples. Every other format goes through
// the output's wave decoder, which reads whole files: one is put together from the clip's "fmt "
// chunk and samples. What neither can take leaves the channel empty.
SoundBuffer makeBuffer(const WaveClip& clip) {
    const WaveFormat& format = *clip.format();
    if (format.formatTag == WAVE_FORMAT_PCM &&
        (format.bitsPerSample == 8 || format.bitsPerSample == 16)) {
        PlatformPcmFormat pcm{format.channels, format.bitsPerSample,
                              static_cast<int>(format.samplesPerSec)};
        return SoundBuffer(platformAudioMakeSound(pcm, clip.samples(), clip.sampleSize()));
    }
    std::vector<uint8_t> file =
        waveFileFromChunks(clip.formatChunk(), {clip.samples(), clip.sampleSize()});
    if (file.empty())
        return nullptr;
    return SoundBuffer(platformAudioDecodeWave(file.data(), file.size()));
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
    buffers[channel] = makeBuffer(clip);
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
