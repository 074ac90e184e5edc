// kavorind-content: writes the game's default content (pictures, sprite sets, stage maps and
// sounds, all drawn and composed by code) into a directory, or contact sheets of it as PNG files.

#include "common/output_place.h"
#include "common/tool_main.h"
#include "content.h"
#include "loop_join.h"
#include "output.h"
#include "preview.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace kavorind;

namespace {

int contentMain(int argc, char** argv) {
    bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
    if (!(argc == 2 && argv[1][0] != '-') && !preview) {
        std::fprintf(stderr, "usage: kavorind-content OUTDIR | kavorind-content --preview DIR\n");
        return 2;
    }
    std::string dir = argv[argc - 1];
    std::string why;
    if (!makeOutputFolder(dir, &why)) {
        std::fprintf(stderr, "kavorind-content: cannot write into %s: %s\n", dir.c_str(),
                     why.c_str());
        return 1;
    }
    ContentSet content = buildContent();
    // A loop that would seam or click is refused before anything is written.
    if (!checkLoopingSounds(content))
        return 1;
    int ok = preview ? writePreview(content, dir) : writeContent(content, dir);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    return runTool("kavorind-content", contentMain, argc, argv);
}
