// kavorind-icons: writes the program's icon at every size of the desktop's icon theme, as
// OUTDIR/NxN/apps/NAME.png, the layout of a hicolor theme folder.

#include "common/icon_art.h"
#include "common/output_place.h"
#include "common/tool_main.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace kavorind;

namespace {

int writeIcon(const std::string& outDir, const std::string& name, int size) {
    std::string side = std::to_string(size);
    std::filesystem::path folder = std::filesystem::path(outDir) / (side + "x" + side) / "apps";
    std::string why;
    if (!makeOutputFolder(folder.string(), &why)) {
        std::fprintf(stderr, "kavorind-icons: cannot write into %s: %s\n", folder.c_str(),
                     why.c_str());
        return 0;
    }
    std::string path = (folder / (name + ".png")).string();
    if (!writeIconPng(path, drawIcon(size), &why)) {
        std::fprintf(stderr, "kavorind-icons: cannot write %s: %s\n", path.c_str(), why.c_str());
        return 0;
    }
    return 1;
}

int iconsMain(int argc, char** argv) {
    if (argc != 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: kavorind-icons OUTDIR NAME\n");
        return 2;
    }
    for (int size : iconThemeSizes)
        if (!writeIcon(argv[1], argv[2], size))
            return 1;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return runTool("kavorind-icons", iconsMain, argc, argv);
}
