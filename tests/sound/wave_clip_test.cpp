#include "riff_builder.h"
#include "sound/wave_clip.h"
#include "sound/wave_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace kavorind {

namespace {

int loadFile(WaveClip& clip, const std::vector<uint8_t>& file) {
    return clip.loadFromMemory(file);
}

void expectEmpty(const WaveClip& clip) {
    EXPECT_EQ(clip.hasSamples(), 0);
    EXPECT_EQ(clip.samples(), nullptr);
    EXPECT_EQ(clip.sampleSize(), 0u);
    WaveFormat zero;
    EXPECT_EQ(std::memcmp(clip.format(), &zero, sizeof zero), 0);
}

std::vector<uint8_t> clipBytes(const WaveClip& clip) {
    return std::vector<uint8_t>(clip.samples(), clip.samples() + clip.sampleSize());
}

// A valid stereo 16-bit file: what every mutation below starts from.
std::vector<uint8_t> validFile() {
    return RiffBuilder()
        .chunk("fmt ", fmtPayload(2, 22050, 16))
        .chunk("data", countingBytes(400))
        .file();
}

// A file with this "fmt " payload and 64 sample bytes.
std::vector<uint8_t> withFormat(std::vector<uint8_t> fmt) {
    return RiffBuilder().chunk("fmt ", fmt).chunk("data", countingBytes(64)).file();
}

// The valid file with one 32-bit field replaced.
std::vector<uint8_t> patched(size_t offset, uint32_t value) {
    std::vector<uint8_t> file = validFile();
    for (int i = 0; i < 4; ++i)
        file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return file;
}

TEST(WaveClipRead, WrittenFileRoundTrips) {
    std::vector<int16_t> samples{0, 1000, -1000, 32767, -32768, 5, 6, 7};
    for (int bits : {8, 16}) {
        for (int channels : {1, 2}) {
            WaveDescription wave = describeWave(samples, channels, 11025, bits);
            WaveClip clip;
            ASSERT_EQ(loadFile(clip, waveFileBytes(wave)), 1) << bits << " bits " << channels;
            EXPECT_EQ(clip.format()->formatTag, WAVE_FORMAT_PCM);
            EXPECT_EQ(clip.format()->channels, channels);
            EXPECT_EQ(clip.format()->samplesPerSec, 11025u);
            EXPECT_EQ(clip.format()->avgBytesPerSec, 11025u * channels * bits / 8);
            EXPECT_EQ(clip.format()->blockAlign, channels * bits / 8);
            EXPECT_EQ(clip.format()->bitsPerSample, bits);
            EXPECT_EQ(clipBytes(clip), wave.data);
        }
    }
    // 8-bit samples are unsigned around 128.
    EXPECT_EQ(describeWave({0, -32768, 32767}, 1, 8000, 8).data,
              (std::vector<uint8_t>{128, 0, 255}));
}

TEST(WaveClipRead, WriterRefusesWhatItCannotDescribe) {
    WaveDescription wave = describeWave({1, 2, 3}, 1, 8000);
    EXPECT_FALSE(waveFileBytes(wave).empty());
    wave.channels = 2; // three 16-bit samples are not whole stereo frames
    EXPECT_TRUE(waveFileBytes(wave).empty());
    wave = describeWave({1, 2}, 3, 8000);
    EXPECT_TRUE(waveFileBytes(wave).empty());
    wave = describeWave({1, 2}, 1, 0);
    EXPECT_TRUE(waveFileBytes(wave).empty());
    wave = describeWave({1, 2}, 1, 8000, 12);
    EXPECT_TRUE(waveFileBytes(wave).empty());
}

TEST(WaveClipRead, FormatChunksOf16And18And40BytesLoad) {
    std::vector<uint8_t> data = countingBytes(64);
    WaveClip plain;
    ASSERT_EQ(
        loadFile(plain,
                 RiffBuilder().chunk("fmt ", fmtPayload(2, 22050, 16)).chunk("data", data).file()),
        1);
    EXPECT_EQ(plain.format()->extraSize, 0);
    EXPECT_EQ(clipBytes(plain), data);

    WaveClip extended;
    ASSERT_EQ(loadFile(extended, RiffBuilder()
                                     .chunk("fmt ", fmtPayload(2, 22050, 16, {0, 0}))
                                     .chunk("data", data)
                                     .file()),
              1);
    EXPECT_EQ(std::memcmp(extended.format(), plain.format(), 16), 0);
    EXPECT_EQ(clipBytes(extended), data);

    // A 40-byte record (22 extra bytes) is skipped whole: the data after it is found intact.
    std::vector<uint8_t> extra{22, 0};
    extra.resize(24, 0x44);
    WaveClip large;
    ASSERT_EQ(loadFile(large, RiffBuilder()
                                  .chunk("fmt ", fmtPayload(2, 22050, 16, extra))
                                  .chunk("data", data)
                                  .file()),
              1);
    EXPECT_EQ(large.format()->extraSize, 22);
    EXPECT_EQ(clipBytes(large), data);
}

TEST(WaveClipRead, OtherChunksAreSkippedWithTheirPadByte) {
    std::vector<uint8_t> data = countingBytes(32);
    WaveClip clip;
    // LIST between "fmt " and "data", an odd-sized chunk with its pad byte, one before "fmt ".
    std::vector<uint8_t> file = RiffBuilder()
                                    .chunk("junk", countingBytes(5))
                                    .chunk("fmt ", fmtPayload(1, 8000, 8))
                                    .chunk("LIST", countingBytes(26))
                                    .chunk("odd!", countingBytes(7))
                                    .chunk("data", data)
                                    .chunk("cue ", countingBytes(3))
                                    .file();
    ASSERT_EQ(loadFile(clip, file), 1);
    EXPECT_EQ(clipBytes(clip), data);
    // An odd "fmt " chunk is followed by its pad byte too.
    ASSERT_EQ(loadFile(clip, RiffBuilder()
                                 .chunk("fmt ", fmtPayload(1, 8000, 8, {1, 0, 9}))
                                 .chunk("data", data)
                                 .file()),
              1);
    EXPECT_EQ(clipBytes(clip), data);
}

TEST(WaveClipRead, EmptyDataLoadsWithoutSamples) {
    WaveClip clip;
    ASSERT_EQ(
        loadFile(clip,
                 RiffBuilder().chunk("fmt ", fmtPayload(1, 8000, 16)).chunk("data", {}).file()),
        1);
    EXPECT_EQ(clip.sampleSize(), 0u);
    EXPECT_EQ(clip.hasSamples(), 0);
    EXPECT_EQ(clip.format()->samplesPerSec, 8000u);
}

TEST(WaveClipRead, DataIsCutToWholeFrames) {
    WaveClip clip;
    std::vector<uint8_t> data = countingBytes(403); // 100 stereo 16-bit frames and 3 bytes
    ASSERT_EQ(
        loadFile(clip,
                 RiffBuilder().chunk("fmt ", fmtPayload(2, 22050, 16)).chunk("data", data).file()),
        1);
    EXPECT_EQ(clip.sampleSize(), 400u);
    data.resize(400);
    EXPECT_EQ(clipBytes(clip), data);
}

TEST(WaveClipRead, ReleaseEmptiesAndRepeats) {
    WaveClip clip;
    EXPECT_EQ(clip.release(), 1);
    expectEmpty(clip);
    ASSERT_EQ(loadFile(clip, validFile()), 1);
    EXPECT_EQ(clip.release(), 1);
    expectEmpty(clip);
    EXPECT_EQ(clip.release(), 1);
    expectEmpty(clip);
}

TEST(WaveClipRead, FailedLoadLeavesTheClipEmpty) {
    WaveClip clip;
    ASSERT_EQ(loadFile(clip, validFile()), 1);
    std::vector<uint8_t> broken = validFile();
    broken[8] = 'X'; // form type no longer "WAVE"
    EXPECT_EQ(loadFile(clip, broken), 0);
    expectEmpty(clip);
}

// Cut before the "data" header is whole, the file is refused; cut inside the samples, it keeps
// the whole frames that are there.
TEST(WaveClipRead, TruncationsRefuseTheHeadersAndKeepTheSamplesThatAreThere) {
    const std::vector<uint8_t> file = validFile();
    const size_t samplesStart = 12 + 8 + 16 + 8;
    WaveClip clip;
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(length));
        if (length < samplesStart) {
            EXPECT_EQ(loadFile(clip, cut), 0) << "cut at " << length;
            expectEmpty(clip);
            continue;
        }
        ASSERT_EQ(loadFile(clip, cut), 1) << "cut at " << length;
        const size_t kept = (length - samplesStart) / 4 * 4;
        ASSERT_EQ(clip.sampleSize(), kept) << "cut at " << length;
        EXPECT_EQ(clip.hasSamples(), kept > 0 ? 1 : 0) << "cut at " << length;
        std::vector<uint8_t> expected(file.begin() + samplesStart,
                                      file.begin() + static_cast<long>(samplesStart + kept));
        EXPECT_EQ(clipBytes(clip), expected) << "cut at " << length;
    }
}

TEST(WaveClipRead, MalformedFilesAreRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
    };
    std::vector<uint8_t> shortFmt = fmtPayload(1, 8000, 8);
    shortFmt.resize(14);
    std::vector<Case> cases{
        {"not RIFF",
         [] {
             auto f = validFile();
             f[0] = 'X';
             return f;
         }()},
        {"RIFF size 0", patched(4, 0)},
        {"RIFF size ending inside fmt", patched(4, 20)},
        {"fmt size past the end", patched(16, 5000)},
        {"fmt size 0xFFFFFFFF", patched(16, 0xFFFFFFFFu)},
        {"fmt of 14 bytes", withFormat(shortFmt)},
        {"fmt of 0 bytes", withFormat({})},
        {"data before fmt", RiffBuilder()
                                .chunk("data", countingBytes(64))
                                .chunk("fmt ", fmtPayload(1, 8000, 8))
                                .file()},
        {"no data",
         RiffBuilder().chunk("fmt ", fmtPayload(1, 8000, 8)).chunk("LIST", {1, 2}).file()},
        {"no fmt", RiffBuilder().chunk("data", countingBytes(8)).file()},
        {"chunk past the end before data", RiffBuilder()
                                               .chunk("fmt ", fmtPayload(1, 8000, 8))
                                               .chunk("LIST", {1, 2}, 0xFFFFFFF0u)
                                               .chunk("data", {1})
                                               .file()},
    };
    for (const Case& c : cases) {
        WaveClip clip;
        EXPECT_EQ(loadFile(clip, c.file), 0) << c.what;
        expectEmpty(clip);
    }
}

// Reading these is safe, so they load as the file says; whether they can be heard is the sound
// device's business (it leaves what the output cannot decode silent).
TEST(WaveClipRead, OddFormatsAndDataRunningPastTheEndLoad) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        uint32_t samples;
        uint16_t formatTag;
    };
    const std::vector<Case> cases{
        {"data size past the end", patched(40, 401), 400, 1},
        {"data size 0xFFFFFFFF", patched(40, 0xFFFFFFFFu), 400, 1},
        {"zero channels", withFormat(fmtPayload(0, 8000, 16, {}, 1, 2)), 64, 1},
        {"zero block alignment: no frames to cut to", withFormat(fmtPayload(1, 8000, 16, {}, 1, 0)),
         64, 1},
        {"block alignment 3 keeps whole blocks", withFormat(fmtPayload(2, 8000, 16, {}, 1, 3)), 63,
         1},
        {"12 bits per sample", withFormat(fmtPayload(1, 8000, 12, {}, 1, 2)), 64, 1},
        {"rate 0", withFormat(fmtPayload(1, 0, 16)), 64, 1},
        {"float samples", withFormat(fmtPayload(1, 8000, 32, {}, 3)), 64, 3},
        {"IMA ADPCM", withFormat(fmtPayload(1, 8000, 4, {2, 0, 0xF9, 0x01}, 0x11, 32)), 64, 0x11},
    };
    for (const Case& c : cases) {
        WaveClip clip;
        ASSERT_EQ(loadFile(clip, c.file), 1) << c.what;
        EXPECT_EQ(clip.sampleSize(), c.samples) << c.what;
        EXPECT_EQ(clip.format()->formatTag, c.formatTag) << c.what;
        EXPECT_EQ(clip.formatChunk().size(), c.formatTag == 0x11 ? 20u : 16u) << c.what;
    }
}

TEST(WaveClipRead, ManyTinyChunksBeforeData) {
    RiffBuilder builder;
    builder.chunk("fmt ", fmtPayload(1, 8000, 8));
    for (int i = 0; i < 20000; ++i)
        builder.chunk("tiny", {});
    builder.chunk("data", countingBytes(10));
    WaveClip clip;
    ASSERT_EQ(loadFile(clip, builder.file()), 1);
    EXPECT_EQ(clip.sampleSize(), 10u);
}

TEST(WaveClipFile, LoadsByNameIgnoringCase) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "kavorind-wave-clip-test";
    fs::create_directories(folder);
    WaveDescription wave = describeWave({100, 200, 300, 400}, 1, 22050);
    ASSERT_EQ(writeWaveFile((folder / "Menu-b.wav").string(), wave), 1);
    WaveClip exact((folder / "Menu-b.wav").string().c_str());
    EXPECT_EQ(exact.hasSamples(), 1);
    WaveClip other;
    ASSERT_EQ(other.load((folder / "MENU-B.WAV").string().c_str()), 1);
    EXPECT_EQ(clipBytes(other), wave.data);
    WaveClip missing((folder / "Nothing.wav").string().c_str());
    expectEmpty(missing);
    fs::remove_all(folder);
}

} // namespace

} // namespace kavorind
