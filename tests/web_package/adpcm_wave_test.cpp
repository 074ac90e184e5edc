// The browser package's waves: IMA ADPCM in 512-byte blocks that SDL's decoder (the game's own)
// reads back to the clip's length, so that a loop of whole blocks joins without a click; every
// other file goes into the package as it was.
#include "platform/wave_decoder.h"
#include "sound/wave_writer.h"
#include "web/adpcm_wave.h"
#include "web/web_package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace kavorind;

namespace {

// A tone of two partials whose periods divide the clip's length, so that it loops seamlessly
// as PCM.
std::vector<int16_t> loopingTone(int length) {
    std::vector<int16_t> samples(length);
    const double pi = std::acos(-1.0);
    for (int i = 0; i < length; ++i)
        samples[i] = static_cast<int16_t>(6000 * std::sin(2 * pi * 9 * i / length + 0.7) +
                                          2500 * std::sin(2 * pi * 113 * i / length));
    return samples;
}

std::vector<uint8_t> pcmWave(const std::vector<int16_t>& samples) {
    return waveFileBytes(describeWave(samples, 1, 22050));
}

// A chord of three square waves, the sharp edges that the game's music is full of and that a
// coder choosing each sample's code alone follows badly.
std::vector<int16_t> squareChord(int length, int loudness) {
    std::vector<int16_t> samples(length);
    for (int i = 0; i < length; ++i) {
        const int sum = (i / 50 % 2 ? 1 : -1) + (i / 37 % 2 ? 1 : -1) + (i / 29 % 2 ? 1 : -1);
        samples[i] = static_cast<int16_t>(std::clamp(sum * loudness / 3, -32768, 32767));
    }
    return samples;
}

std::vector<int16_t> decodedByLibsndfile(const std::vector<int16_t>& pcm) {
    std::vector<uint8_t> adpcm;
    PcmSamples decoded;
    std::string why;
    EXPECT_EQ(encodeAdpcmWave(PcmSamples{1, 22050, pcm}, &adpcm, &why), 1) << why;
    EXPECT_EQ(decodeWave(adpcm, &decoded, &why), 1) << why;
    decoded.samples.resize(pcm.size());
    return decoded.samples;
}

int largestStep(const std::vector<int16_t>& samples) {
    int largest = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

int loopStep(const std::vector<int16_t>& samples) {
    return std::abs(samples.front() - samples.back());
}

struct Decoded {
    std::vector<int16_t> samples;
    int channels = 0;
    int rate = 0;
};

Decoded decodedBySdl(const std::vector<uint8_t>& file) {
    Decoded decoded;
    std::string why;
    EXPECT_EQ(platformDecodeWave16(file, &decoded.samples, &decoded.channels, &decoded.rate, &why),
              1)
        << why;
    return decoded;
}

// The "fmt " chunk's format tag and block size, read where libsndfile puts it (first chunk).
std::pair<int, int> formatTagAndBlock(const std::vector<uint8_t>& file) {
    EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "fmt ");
    return {file[20] | file[21] << 8, file[32] | file[33] << 8};
}

} // namespace

TEST(AdpcmWave, ALoopOfWholeBlocksDecodesToItsOwnLengthAndJoinsAsThePcmDid) {
    const std::vector<int16_t> pcm = loopingTone(3 * adpcmSamplesPerBlock);
    std::vector<uint8_t> packed;
    PackedFile report;
    std::string why;
    ASSERT_EQ(packContentFile(pcmWave(pcm), &packed, &report, &why), 1) << why;
    EXPECT_EQ(report.madeAdpcm, 1);
    EXPECT_EQ(report.addedSamples, 0);
    EXPECT_EQ(formatTagAndBlock(packed), std::make_pair(0x11, adpcmBlockBytes));

    const Decoded decoded = decodedBySdl(packed);
    EXPECT_EQ(decoded.channels, 1);
    EXPECT_EQ(decoded.rate, 22050);
    ASSERT_EQ(decoded.samples.size(), pcm.size());
    // Close to the original, and no jump at the join beyond the steps the tone itself takes.
    EXPECT_GT(signalToNoiseDb(pcm, decoded.samples), 25.0);
    EXPECT_NEAR(report.signalToNoiseDb, signalToNoiseDb(pcm, decoded.samples), 0.5);
    EXPECT_LE(loopStep(decoded.samples), largestStep(pcm) + 64);
}

TEST(AdpcmWave, TheCoderLooksAheadToFollowSharpEdgesAndKeepsSilenceAndFullScaleClean) {
    // Coding each sample alone leaves this chord 12.9 dB over its noise, looking ahead 19.2.
    const std::vector<int16_t> chord = squareChord(4 * adpcmSamplesPerBlock, 12000);
    EXPECT_GT(signalToNoiseDb(chord, decodedByLibsndfile(chord)), 17.0);

    const std::vector<int16_t> silence(adpcmSamplesPerBlock + 10, 0);
    EXPECT_EQ(decodedByLibsndfile(silence), silence);

    // Edges from one end of the range to the other drive the decoder into its clamps: a coder that
    // did not clamp as the decoder does would lose track of it (about 5 dB, against 11.6).
    const std::vector<int16_t> loudest = squareChord(2 * adpcmSamplesPerBlock, 32768 * 3);
    EXPECT_GT(signalToNoiseDb(loudest, decodedByLibsndfile(loudest)), 10.0);
}

TEST(AdpcmWave, AClipOfPartBlocksIsPaddedWithTheSilenceItsReportCounts) {
    const std::vector<int16_t> pcm = loopingTone(2 * adpcmSamplesPerBlock + 300);
    std::vector<uint8_t> packed;
    PackedFile report;
    std::string why;
    ASSERT_EQ(packContentFile(pcmWave(pcm), &packed, &report, &why), 1) << why;
    EXPECT_EQ(report.samples, static_cast<long>(pcm.size()));
    EXPECT_EQ(report.addedSamples, adpcmSamplesPerBlock - 300);
    const Decoded decoded = decodedBySdl(packed);
    // What SDL plays is the clip and then the padding, never less than the clip.
    EXPECT_EQ(decoded.samples.size(), pcm.size() + report.addedSamples);
}

TEST(AdpcmWave, EverythingButAMonoPcmWaveGoesIntoThePackageAsItWas) {
    const std::vector<int16_t> tone = loopingTone(adpcmSamplesPerBlock);
    std::vector<uint8_t> adpcm;
    PackedFile report;
    std::string why;
    ASSERT_EQ(packContentFile(pcmWave(tone), &adpcm, &report, &why), 1) << why;
    std::vector<int16_t> stereo;
    for (int16_t sample : tone)
        stereo.insert(stereo.end(), {sample, sample});
    const std::vector<uint8_t> notWaves[] = {
        adpcm, // made smaller once, never twice
        waveFileBytes(describeWave(stereo, 2, 22050)),
        {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
        {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't'},
    };
    for (const std::vector<uint8_t>& file : notWaves) {
        std::vector<uint8_t> out;
        ASSERT_EQ(packContentFile(file, &out, &report, &why), 1) << why;
        EXPECT_EQ(out, file);
        EXPECT_EQ(report.madeAdpcm, 0);
    }
}

TEST(AdpcmWave, AFolderIsPackedFileByFileLeavingTheBuildsMarksOut) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("kavorind-package-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "from");
    const std::vector<uint8_t> wave = pcmWave(loopingTone(adpcmSamplesPerBlock));
    std::ofstream(root / "from" / "MUSIC.WAV", std::ios::binary)
        .write(reinterpret_cast<const char*>(wave.data()),
               static_cast<std::streamsize>(wave.size()));
    std::ofstream(root / "from" / "Pal.Pal") << "colours";
    std::ofstream(root / "from" / ".stamp") << "";
    std::vector<PackedFile> report;
    std::string why;
    ASSERT_EQ(packContentFolder((root / "from").string(), (root / "to").string(), &report, &why), 1)
        << why;
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0].name, "MUSIC.WAV");
    EXPECT_EQ(report[0].madeAdpcm, 1);
    EXPECT_EQ(fs::file_size(root / "to" / "MUSIC.WAV"), report[0].bytesAfter);
    EXPECT_LT(report[0].bytesAfter, wave.size() / 3);
    std::ifstream palette(root / "to" / "Pal.Pal");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(palette), {}), "colours");
    EXPECT_FALSE(fs::exists(root / "to" / ".stamp"));
    fs::remove_all(root);
}
