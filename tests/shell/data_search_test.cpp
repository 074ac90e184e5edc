// The search for the content folder: each place in its turn, folders named explicitly taken as
// they are, other folders only when they hold "Pal.Pal", and no falling through once one is chosen.
#include "shell/data_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kavorind {
namespace {

namespace fs = std::filesystem;

struct DataSearchTest : ::testing::Test {
    fs::path root;
    DataSearchInputs inputs;

    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kavorind-search-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        // Every place exists, none holds a palette yet.
        for (const char* folder : {"option", "variable", "work", "prefix/bin/data",
                                   "prefix/share/kavorind", "xdg/kavorind", "home"})
            fs::create_directories(root / folder);
        inputs.workingFolder = (root / "work").string();
        inputs.executableFolder = (root / "prefix/bin").string();
        inputs.dataHome = (root / "xdg").string();
        inputs.home = (root / "home").string();
    }
    void TearDown() override { fs::remove_all(root); }

    void holdPalette(const std::string& folder, const char* name = "Pal.Pal") {
        std::ofstream(root / folder / name) << "palette";
    }
    std::string at(const std::string& folder) const { return (root / folder).string(); }
};

TEST_F(DataSearchTest, EachPlaceInItsTurn) {
    // Filled from the last place to the first: each new one takes over.
    holdPalette("xdg/kavorind");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("xdg/kavorind"));
    holdPalette("prefix/share/kavorind");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("prefix/share/kavorind"));
    holdPalette("prefix/bin/data");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("prefix/bin/data"));
    holdPalette("work");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("work"));
    inputs.dataVariable = at("variable");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("variable"));
    inputs.dataOption = at("option");
    DataChoice choice = chooseDataFolder(inputs);
    EXPECT_TRUE(choice.found);
    EXPECT_EQ(choice.folder, at("option"));
}

TEST_F(DataSearchTest, DataHomeFallsBackToTheHomeFolder) {
    inputs.dataHome.clear();
    fs::create_directories(root / "home/.local/share/kavorind");
    holdPalette("home/.local/share/kavorind");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("home/.local/share/kavorind"));
}

TEST_F(DataSearchTest, NamedFoldersAreTakenAsTheyAreOthersOnlyWithAPalette) {
    // The working directory holds one, but a named folder without one (or absent) still wins.
    holdPalette("work");
    inputs.dataVariable = at("no-such-folder");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("no-such-folder"));
    inputs.dataOption = at("option");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("option"));
}

TEST_F(DataSearchTest, PaletteNameMatchedWithoutRegardToCase) {
    holdPalette("prefix/bin/data", "PAL.PAL");
    EXPECT_EQ(chooseDataFolder(inputs).folder, at("prefix/bin/data"));
}

TEST_F(DataSearchTest, NothingFoundNamesEveryPlaceLookedIn) {
    // A folder holding other content but no palette does not count.
    std::ofstream(root / "work" / "Stage-B1.map") << "map";
    DataChoice choice = chooseDataFolder(inputs);
    EXPECT_FALSE(choice.found);
    EXPECT_TRUE(choice.folder.empty());
    std::vector<std::string> expected = {at("work"), at("prefix/bin/data"),
                                         at("prefix/share/kavorind"), at("xdg/kavorind")};
    EXPECT_EQ(choice.searched, expected);
}

TEST_F(DataSearchTest, RelativeFoldersAreMadeAbsolute) {
    fs::path before = fs::current_path();
    fs::current_path(root);
    inputs.dataOption = "option/";
    DataChoice choice = chooseDataFolder(inputs);
    fs::current_path(before);
    EXPECT_EQ(choice.folder, at("option"));
}

} // namespace
} // namespace kavorind
