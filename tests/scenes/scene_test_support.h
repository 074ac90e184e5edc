#pragma once
#include "../sim_run.h"
#include "../test_content.h"
#include "display/palette.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kavorind {

// Each test gets its own folder of test content.
struct FrontEndTest : ::testing::Test {
    std::string root;
    std::string data;
    TestContentOptions content;

    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("kavorind-scenes-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        data = root + "/data";
        std::filesystem::remove_all(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    void writeContent() { ASSERT_EQ(writeTestContent(data, content), 1); }

    SimRun run(const std::string& keys, int ticks, const std::string& options = "--palette",
               const std::string& environment = "") {
        if (!std::filesystem::exists(data))
            writeContent();
        return runSim(data, keys, ticks, options, environment);
    }
};

// The colours a picture's table shows after fade(level); level 0 for the colours unfaded.
inline std::vector<std::vector<int>> fadedTable(const PaletteEntries& colours, unsigned level) {
    std::vector<std::vector<int>> table;
    for (const PaletteEntry& entry : colours) {
        auto fade = [&](uint8_t c) { return level ? fadeComponent(c, level) : c; };
        table.push_back({fade(entry.red), fade(entry.green), fade(entry.blue)});
    }
    return table;
}

} // namespace kavorind
