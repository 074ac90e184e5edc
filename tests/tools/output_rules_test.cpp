// What kavorind-data refuses to write: anything but the game's own files as an import's OUT, a
// file of another kind than OUT names, an output that is one of the inputs however it is spelt,
// and one export writing a name twice.
#include "data/output_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> bytesOf(const char* text) {
    return {reinterpret_cast<const uint8_t*>(text), std::strlen(text)};
}

} // namespace

TEST(OutputRules, AnImportWritesOnlyTheGamesFilesOfTheKindItMade) {
    for (const char* name :
         {"Hit.spr", "LOGO.BMP", "art/Pal.Pal", "Stage-M1.map", "a.b/Music0.Wav"})
        EXPECT_EQ(isContentFileName(name), 1) << name;
    for (const char* name :
         {"MyCap.png", "MyCap.json", "Stage-M1.tmx", "n", "wav", "art.bmp/n", ""})
        EXPECT_EQ(isContentFileName(name), 0) << name;

    EXPECT_EQ(madeFitsName(bytesOf("BM...."), "x.Pal"), 1);
    EXPECT_EQ(madeFitsName(bytesOf("BM...."), "x.bmp"), 1);
    EXPECT_EQ(madeFitsName(bytesOf("SPR..."), "x.SPR"), 1);
    EXPECT_EQ(madeFitsName(bytesOf("MAP..."), "x.map"), 1);
    EXPECT_EQ(madeFitsName(bytesOf("RIFF.."), "x.wav"), 1);
    EXPECT_EQ(madeFitsName(bytesOf("BM...."), "x.spr"), 0);
    EXPECT_EQ(madeFitsName(bytesOf("SPR..."), "Effect0.Wav"), 0);
    EXPECT_EQ(madeFitsName(bytesOf("RIFF.."), "x.map"), 0);
}

TEST(OutputRules, AnOutputIsFoundAmongTheInputsHoweverItIsSpelt) {
    fs::path folder = fs::temp_directory_path() / ("output-rules-" + std::to_string(::getpid()));
    fs::create_directories(folder / "sub");
    std::ofstream(folder / "sheet.png") << "sheet";
    std::ofstream(folder / "other.png") << "other";
    fs::create_hard_link(folder / "sheet.png", folder / "linked.png");
    fs::create_symlink("../sheet.png", folder / "sub" / "through.png");
    std::string sheet = (folder / "sheet.png").string();
    std::vector<std::string> inputs{(folder / "source.json").string(), sheet};

    for (fs::path same : {folder / "." / "sheet.png", folder / "sub" / ".." / "sheet.png",
                          folder / "linked.png", folder / "sub" / "through.png"})
        EXPECT_EQ(inputNamedBy(same.string(), inputs), sheet) << same;
    // A source that does not exist yet is still the same place.
    EXPECT_EQ(inputNamedBy((folder / "sub" / ".." / "source.json").string(), inputs), inputs[0]);
    EXPECT_EQ(inputNamedBy((folder / "other.png").string(), inputs), "");
    EXPECT_EQ(inputNamedBy((folder / "Sheet.png").string(), inputs), "");
    fs::remove_all(folder);
}

TEST(OutputRules, RepeatedNamesAreEachNamedOnce) {
    EXPECT_EQ(repeatedNames({"Foo.png", "Foo.json", "Bar.png", "Foo.png", "Foo.png", "Bar.png"}),
              (std::vector<std::string>{"Foo.png", "Bar.png"}));
    EXPECT_TRUE(repeatedNames({"Foo.png", "foo.png", "Foo.json"}).empty());
}

} // namespace kavorind
