// The folder check on the default content and on copies of it with one fault planted each.
#include "content/generated_content.h"

#include "assets/sprite_set_writer.h"
#include "game/content_check.h"

#include <gtest/gtest.h>

namespace kavorind {

using namespace generated;

namespace {

namespace fs = std::filesystem;

// A fresh copy of the default content for one test to damage, removed when the test ends.
struct ScratchCopy {
    std::string dir;

    explicit ScratchCopy(const std::string& leaf)
        : dir((fs::temp_directory_path() /
               ("kavorind-check-" + std::to_string(getpid()) + "-" + leaf))
                  .string()) {
        fs::remove_all(dir);
        fs::copy(folder(), dir);
    }
    ~ScratchCopy() {
        std::error_code problem;
        fs::remove_all(dir, problem);
    }
};

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t u32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Where the spawn grid of layer 0 starts in a "MAP" file: after the magic, five 32-bit fields and
// every layer's tile grid of 16-bit cells.
size_t spawnGridOffset(const std::vector<uint8_t>& map) {
    size_t cells = static_cast<size_t>(u32At(map, 7)) * u32At(map, 11);
    return 23 + 2 * cells * u32At(map, 3);
}

std::string joined(const std::vector<ContentProblem>& problems) {
    std::string text;
    for (const ContentProblem& p : problems)
        text += describeProblem(p) + "\n";
    return text;
}

// The one problem the fault caused, checked for its file, severity and words in what and fix.
void expectOnlyProblem(const std::vector<ContentProblem>& problems, const std::string& file,
                       int severity, const std::string& whatHas, const std::string& fixHas) {
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    const ContentProblem& p = problems.front();
    EXPECT_EQ(p.file, file);
    EXPECT_EQ(p.severity, severity);
    EXPECT_NE(p.what.find(whatHas), std::string::npos) << p.what;
    EXPECT_NE(p.fix.find(fixHas), std::string::npos) << p.fix;
    EXPECT_EQ(checkExitCode(problems), severity);
}

} // namespace

TEST(ContentCheck, DefaultContentIsCleanEvenWithNamesInAnotherCase) {
    std::vector<ContentProblem> problems = checkContentFolder(folder());
    EXPECT_TRUE(problems.empty()) << joined(problems);
    EXPECT_EQ(checkExitCode(problems), 0);
    ScratchCopy scratch("case");
    const std::string& dir = scratch.dir;
    fs::rename(dir + "/Pal.Pal", dir + "/PAL.PAL");
    fs::rename(dir + "/Menu-s.BMP", dir + "/menu-s.bmp");
    problems = checkContentFolder(dir);
    EXPECT_TRUE(problems.empty()) << joined(problems);
}

TEST(ContentCheck, MissingTruncatedAndCompressedFilesAreErrors) {
    ScratchCopy scratch("files");
    const std::string& dir = scratch.dir;
    fs::remove(dir + "/Number.spr");
    expectOnlyProblem(checkContentFolder(dir), "Number.spr", ContentError, "missing", "add it");

    fs::copy(folder() + "/Number.spr", dir + "/Number.spr");
    std::vector<uint8_t> enemy = bytesOf(dir + "/Enemy3.spr");
    enemy.resize(enemy.size() / 2);
    writeBytes(dir + "/Enemy3.spr", enemy);
    expectOnlyProblem(checkContentFolder(dir), "Enemy3.spr", ContentError, "truncated",
                      "write it again");

    fs::copy(folder() + "/Enemy3.spr", dir + "/Enemy3.spr", fs::copy_options::overwrite_existing);
    std::vector<uint8_t> menu = bytesOf(dir + "/Menu-b.BMP");
    putU32(menu, 30, 1); // the compression field: RLE8
    writeBytes(dir + "/Menu-b.BMP", menu);
    expectOnlyProblem(checkContentFolder(dir), "Menu-b.BMP", ContentError, "RLE8",
                      "uncompressed 8-bit");
}

TEST(ContentCheck, AMissingSceneExtraIsOnlyAWarning) {
    ScratchCopy scratch("extra");
    const std::string& dir = scratch.dir;
    fs::remove(dir + "/Ending-B.WAV");
    expectOnlyProblem(checkContentFolder(dir), "Ending-B.WAV", ContentWarning, "missing", "add it");
}

TEST(ContentCheck, RatesAndFramesFollowStartUpsRule) {
    ScratchCopy scratch("rates");
    const std::string& dir = scratch.dir;
    std::vector<uint8_t> enemy = bytesOf(dir + "/Enemy1.spr");
    putU32(enemy, 7, 0); // the rate, after the magic and the frame count
    writeBytes(dir + "/Enemy1.spr", enemy);
    expectOnlyProblem(checkContentFolder(dir), "Enemy1.spr", ContentError, "rate is 0",
                      "rate of 1 to 30");

    // A set that is only indexed, never animated, may keep a rate of 0.
    fs::copy(folder() + "/Enemy1.spr", dir + "/Enemy1.spr", fs::copy_options::overwrite_existing);
    std::vector<uint8_t> letters = bytesOf(dir + "/English.spr");
    putU32(letters, 7, 0);
    writeBytes(dir + "/English.spr", letters);
    std::vector<ContentProblem> problems = checkContentFolder(dir);
    EXPECT_TRUE(problems.empty()) << joined(problems);

    SpriteSetImage gauge;
    gauge.frames.assign(5, makeSpriteFrameImage(8, 8, 0, 0, 1));
    ASSERT_EQ(writeSpriteSet(dir + "/infobare.spr", gauge), 1);
    expectOnlyProblem(checkContentFolder(dir), "infobare.spr", ContentError, "has 5 frames",
                      "at least 6 frames");
}

TEST(ContentCheck, MeaninglessSpawnCodesAndAStageWithoutBossAreWarnings) {
    ScratchCopy scratch("spawns");
    const std::string& dir = scratch.dir;
    std::vector<uint8_t> map = bytesOf(dir + "/Stage-M1.map");
    size_t grid = spawnGridOffset(map);
    map[grid + 2] = 25;
    map[grid + 5] = 25;
    writeBytes(dir + "/Stage-M1.map", map);
    expectOnlyProblem(checkContentFolder(dir), "Stage-M1.map", ContentWarning,
                      "spawn code 25 places nothing (2 times, first at column 2, row 0)",
                      "10 to 19");

    fs::copy(folder() + "/Stage-M1.map", dir + "/Stage-M1.map",
             fs::copy_options::overwrite_existing);
    map = bytesOf(dir + "/Stage-M2.map");
    grid = spawnGridOffset(map);
    int removed = 0;
    size_t cells = static_cast<size_t>(u32At(map, 7)) * u32At(map, 11);
    for (size_t at = grid; at < grid + cells; ++at)
        if (map[at] == 18) {
            map[at] = 0;
            ++removed;
        }
    ASSERT_EQ(removed, 1);
    writeBytes(dir + "/Stage-M2.map", map);
    expectOnlyProblem(checkContentFolder(dir), "Stage-M2.map", ContentWarning, "no boss",
                      "place a boss");
}

TEST(ContentCheck, BlankTallyBarsAndStrayKeyColoursAreWarnings) {
    ScratchCopy scratch("pixels");
    const std::string& dir = scratch.dir;
    std::vector<uint8_t> panel = bytesOf(dir + "/Clear-bk.bmp");
    int32_t width = static_cast<int32_t>(u32At(panel, 18)),
            height = static_cast<int32_t>(u32At(panel, 22));
    ASSERT_GT(height, 0) << "stored bottom-up";
    size_t stride = static_cast<size_t>((width + 3) & ~3);
    // Row 231 from the top lies in the bar for four hit points.
    panel[u32At(panel, 10) + stride * static_cast<size_t>(height - 1 - 231) + 40] = 0;
    writeBytes(dir + "/Clear-bk.bmp", panel);
    expectOnlyProblem(checkContentFolder(dir), "Clear-bk.bmp", ContentWarning,
                      "bar for 4 hit points", "rows 230 to 241");

    fs::copy(folder() + "/Clear-bk.bmp", dir + "/Clear-bk.bmp",
             fs::copy_options::overwrite_existing);
    std::vector<uint8_t> logo = bytesOf(dir + "/LOGO.BMP");
    logo[u32At(logo, 10)] = 249;
    logo[u32At(logo, 10) + 1] = 255;
    writeBytes(dir + "/LOGO.BMP", logo);
    expectOnlyProblem(checkContentFolder(dir), "LOGO.BMP", ContentWarning, "2 pixels",
                      "other colours");
}

TEST(ContentCheck, AFolderThatIsNotThereIsOneError) {
    std::vector<ContentProblem> problems = checkContentFolder(folder() + "/no-such-folder");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(checkExitCode(problems), 2);
}

} // namespace kavorind
