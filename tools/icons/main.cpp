// kavorind-icons: writes the program's icon at every size of the desktop's icon theme, as
// OUTDIR/NxN/apps/NAME.png, the layout of a hicolor theme folder.

#include "common/icon_art.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace kavorind;

int main(int argc, char** argv) {
    if (argc != 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: kavorind-icons OUTDIR NAME\n");
        return 2;
    }
    for (int size : iconThemeSizes) {
        std::string side = std::to_string(size);
        std::filesystem::path folder =
            std::filesystem::path(argv[1]) / (side + "x" + side) / "apps";
        std::error_code problem;
        std::filesystem::create_directories(folder, problem);
        std::string path = (folder / (std::string(argv[2]) + ".png")).string();
        if (!writeIconPng(path, drawIcon(size))) {
            std::fprintf(stderr, "kavorind-icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
