// kavorind-content: writes the game's default content (pictures, sprite sets, stage maps and
// sounds, all drawn and composed by code) into a directory, or contact sheets of it as PNG files.

#include "content.h"
#include "output.h"
#include "preview.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

using namespace kavorind;

int main(int argc, char** argv) {
    bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
    if (!(argc == 2 && argv[1][0] != '-') && !preview) {
        std::fprintf(stderr, "usage: kavorind-content OUTDIR | kavorind-content --preview DIR\n");
        return 2;
    }
    std::string dir = argv[argc - 1];
    std::error_code problem;
    std::filesystem::create_directories(dir, problem);
    if (!std::filesystem::is_directory(dir)) {
        std::fprintf(stderr, "kavorind-content: cannot make directory %s\n", dir.c_str());
        return 1;
    }
    ContentSet content = buildContent();
    int ok = preview ? writePreview(content, dir) : writeContent(content, dir);
    return ok ? 0 : 1;
}
