// The waves `check` names as silent are the ones the game's sound output would refuse: plain PCM
// it converts itself, every other format as its wave decoder takes it or not.
#include "game/content_check.h"
#include "platform/byte_io.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

struct WaveShape {
    uint16_t tag = WAVE_FORMAT_PCM;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 8;
    uint16_t blockAlign = 0; // 0: channels x bytes per sample
    uint32_t dataBytes = 64;
};

std::vector<uint8_t> waveFile(const WaveShape& shape) {
    uint16_t align = shape.blockAlign ? shape.blockAlign
                                      : static_cast<uint16_t>(shape.channels * shape.bits / 8);
    std::vector<uint8_t> bytes;
    ByteWriter write(&bytes);
    write.bytes("RIFF", 4);
    write.u32(4 + 8 + 18 + 8 + shape.dataBytes);
    write.bytes("WAVEfmt ", 8);
    write.u32(18);
    write.u16(shape.tag);
    write.u16(shape.channels);
    write.u32(shape.rate);
    write.u32(shape.rate * align);
    write.u16(align);
    write.u16(shape.bits);
    write.u16(0);
    write.bytes("data", 4);
    write.u32(shape.dataBytes);
    bytes.resize(bytes.size() + shape.dataBytes, 0x80);
    return bytes;
}

std::string silenceOf(const WaveShape& shape) {
    WaveClip clip;
    EXPECT_EQ(clip.loadFromMemory(waveFile(shape)), 1);
    return whyWaveIsSilent(clip);
}

} // namespace

TEST(WaveSilence, PlainPcmTheOutputCannotConvertIsNamed) {
    EXPECT_EQ(silenceOf({}), "");
    EXPECT_EQ(silenceOf({.channels = 2, .bits = 16}), "");
    EXPECT_EQ(silenceOf({.channels = 0, .blockAlign = 1}), "0 channels: it plays silent");
    EXPECT_EQ(silenceOf({.channels = 9}), "9 channels; the game plays 1 to 8: it plays silent");
    EXPECT_EQ(silenceOf({.rate = 0}), "a sample rate of 0: it plays silent");
    EXPECT_EQ(silenceOf({.rate = 0x80000000u}), "a sample rate of 2147483648: it plays silent");
    EXPECT_EQ(silenceOf({.dataBytes = 0}),
              "its \"data\" chunk holds no whole sample frame: it plays silent");
    // A block alignment smaller than a frame keeps bytes that make no whole frame.
    EXPECT_EQ(silenceOf({.channels = 2, .bits = 16, .blockAlign = 1, .dataBytes = 3}),
              "less than one sample frame of data: it plays silent");
}

TEST(WaveSilence, OtherFormatsAreAskedOfTheDecoder) {
    // 24-bit PCM and 32-bit floats decode; 7-bit PCM and an ADPCM block of 0 bytes do not.
    EXPECT_EQ(silenceOf({.bits = 24, .dataBytes = 300}), "");
    EXPECT_EQ(silenceOf({.tag = 3, .bits = 32, .dataBytes = 256}), "");
    std::string sevenBits = silenceOf({.bits = 7, .blockAlign = 1});
    EXPECT_EQ(sevenBits.rfind("7-bit PCM, which the game cannot decode (", 0), 0u) << sevenBits;
    EXPECT_NE(sevenBits.find("): it plays silent"), std::string::npos) << sevenBits;
    std::string adpcm = silenceOf({.tag = 2, .bits = 4, .blockAlign = 0});
    EXPECT_EQ(adpcm.rfind("format tag 2, which the game cannot decode (", 0), 0u) << adpcm;
}

} // namespace kavorind
