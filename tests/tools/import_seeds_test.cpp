// Every seed of the import fuzzer goes once through what the fuzzer does with it, in the ordinary
// and the sanitizer builds: a seed named "bad-..." must be refused with a reason, "regression-..."
// only handled, and every other one imported into a file the game loads.
#include "../../fuzz/import_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kavorind {

TEST(ImportSeeds, EverySeedImportsOrIsRefusedWithAReason) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(KAVORIND_SOURCE_DIR) / "fuzz" / "corpus" / "import";
    int valid = 0, refused = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
        std::string name = entry.path().filename().string();
        int outcome = import_input::importBytes(bytes.data(), bytes.size());
        EXPECT_NE(outcome, 2) << name;
        if (name.rfind("bad-", 0) == 0) {
            EXPECT_EQ(outcome, 0) << name;
            ++refused;
        } else if (name.rfind("regression-", 0) != 0) {
            EXPECT_EQ(outcome, 1) << name;
            ++valid;
        }
    }
    EXPECT_GT(valid, 0);
    EXPECT_GT(refused, 0);
}

} // namespace kavorind
