// Every file kept in the fuzzers' corpora goes once more through what its fuzzer does with it, in
// the ordinary test programs (and so under the sanitizer build in CI): inputs that once crashed a
// loader stay fixed. The hand-made seeds are valid files and must load; a kept crash input
// ("regression-...") only has to be handled without an error.
#include "../../fuzz/exercise.h"

#include "platform/content_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

using Exercise = int (*)(const uint8_t*, size_t);

void replay(const std::string& fuzzer, Exercise exercise) {
    fs::path folder = fs::path(KAVORIND_SOURCE_DIR) / "fuzz" / "corpus" / fuzzer;
    int seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        FileBytes bytes;
        ASSERT_EQ(readWholeFile(entry.path().string(), maxContentFileBytes, &bytes), 1)
            << entry.path();
        int loaded = exercise(bytes.data.get(), bytes.size);
        if (entry.path().filename().string().rfind("regression-", 0) != 0) {
            EXPECT_EQ(loaded, 1) << entry.path();
            ++seeds;
        }
    }
    EXPECT_GT(seeds, 0) << "no seeds in " << folder;
}

TEST(FuzzCorpusReplay, BitmapFiles) {
    replay("bitmap_file", exercise::bitmapFile);
}
TEST(FuzzCorpusReplay, RawBlocks) {
    replay("raw_block", exercise::rawBlock);
}
TEST(FuzzCorpusReplay, SpriteSets) {
    replay("sprite_set", exercise::spriteSet);
}
TEST(FuzzCorpusReplay, StageMaps) {
    replay("stage_map", exercise::stageMap);
}
TEST(FuzzCorpusReplay, WaveClips) {
    replay("wave_clip", exercise::waveFile);
}

} // namespace

} // namespace kavorind
