// The headless runner driven from outside, on the small test content: its keys come from the
// script's player, and its frame hashes match the frames it saves.

#include "../sim_run.h"
#include "../test_content.h"

#include "common/png_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <unistd.h>

namespace kavorind {

namespace {

struct SimRunnerTest : ::testing::Test {
    std::string root;
    std::string data;

    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("kavorind-tools-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        data = root + "/data";
        std::filesystem::remove_all(root);
        ASSERT_EQ(writeTestContent(data), 1);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
};

// The palette indices and the colours of a PNG as the runner writes them; empty when the file is
// missing or not indexed.
struct ReadPicture {
    std::vector<uint8_t> indices;
    std::vector<uint8_t> colours; // red, green, blue of each entry
};

ReadPicture readPng(const std::string& path) {
    std::string file = simrun::readAll(path);
    PngPicture png;
    std::string why;
    ReadPicture picture;
    if (!decodePng(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()), &png,
                   &why) ||
        !png.indexed)
        return picture;
    picture.indices = png.pixels;
    for (int i = 0; i < png.paletteSize; ++i)
        picture.colours.insert(picture.colours.end(),
                               {png.palette[i].red, png.palette[i].green, png.palette[i].blue});
    return picture;
}

// FNV-1a 64 as published: offset basis 14695981039346656037, prime 2^40 + 2^8 + 0xb3.
uint64_t fnv1a(uint64_t hash, const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes)
        hash = (hash ^ byte) * ((1ull << 40) + (1ull << 8) + 0xb3);
    return hash;
}

std::string hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

} // namespace

TEST(FrameHash, TheHashFunctionMatchesPublishedValues) {
    const uint64_t basis = 14695981039346656037ull;
    EXPECT_EQ(hex(fnv1a(basis, {})), "cbf29ce484222325");
    EXPECT_EQ(hex(fnv1a(basis, {'a'})), "af63dc4c8601ec8c");
    EXPECT_EQ(hex(fnv1a(basis, {'f', 'o', 'o', 'b', 'a', 'r'})), "85944171f73967e8");
}

// Z is the only key, and at the logo it hands over to the menu on the tick it comes down.
TEST_F(SimRunnerTest, TheRunnerPressesTheKeysThatThePlayerReports) {
    SimRun run = runSim(data, "# nothing before tick 7\n7-9 Z\n", 20);
    ASSERT_EQ(run.lines.size(), 20u) << run.stderrText;
    for (int tick = 1; tick <= 20; ++tick)
        ASSERT_EQ(run.at(tick)["scene"], tick < 7 ? 1 : 2) << "tick " << tick;
}

// The logo's fade changes only the colours of an unchanging picture, so the hash must take in the
// palette to tell those ticks apart. Z then starts a game from the menu and lifts the opening. A
// tick that presented nothing saved no picture and must say null.
TEST_F(SimRunnerTest, EachTickHashesTheFrameItSavedAndNullWhenItSavedNone) {
    std::string frames = root + "/frames";
    const int ticks = 140;
    SimRun run = runSim(data, "90 Z\n120 Z\n", ticks, "--frame-hash --frames '" + frames + "'");
    ASSERT_EQ(run.lines.size(), static_cast<size_t>(ticks)) << run.stderrText;
    std::set<std::vector<uint8_t>> pictures;
    std::set<std::string> hashes;
    for (int tick = 1; tick <= ticks; ++tick) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06d.png", tick);
        std::string frame = run.at(tick).texts.at("frame");
        if (!std::filesystem::exists(frames + name)) {
            ASSERT_EQ(frame, "null") << "tick " << tick;
            continue;
        }
        ReadPicture picture = readPng(frames + name);
        ASSERT_FALSE(picture.indices.empty()) << name;
        ASSERT_EQ(picture.colours.size(), 768u) << name;
        uint64_t expected = fnv1a(fnv1a(14695981039346656037ull, picture.indices), picture.colours);
        ASSERT_EQ(frame, hex(expected)) << "tick " << tick;
        pictures.insert(picture.indices);
        hashes.insert(frame);
    }
    EXPECT_LT(pictures.size(), hashes.size());
}

} // namespace kavorind
