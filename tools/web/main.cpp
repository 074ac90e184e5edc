// kavorind-web-content: the default content as the browser package carries it, its waves made
// IMA ADPCM (a quarter of the bytes; PCM hardly compresses for the download) and every other
// file as it is.

#include "common/tool_main.h"
#include "web/adpcm_wave.h"
#include "web/web_package.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

const char* usageText = "usage: kavorind-web-content [--report] CONTENT_DIR OUT_DIR\n";

void printReport(const std::vector<PackedFile>& report) {
    for (const PackedFile& file : report) {
        if (!file.madeAdpcm)
            continue;
        std::printf("%-14s %8llu -> %7llu bytes, %7ld samples (%s), signal to noise %.1f dB\n",
                    file.name.c_str(), static_cast<unsigned long long>(file.bytesBefore),
                    static_cast<unsigned long long>(file.bytesAfter), file.samples,
                    file.addedSamples
                        ? ("last block padded with " + std::to_string(file.addedSamples)).c_str()
                        : "whole blocks",
                    file.signalToNoiseDb);
    }
}

int webContentMain(int argc, char** argv) {
    int report = argc > 1 && std::strcmp(argv[1], "--report") == 0 ? 1 : 0;
    if (argc != 3 + report) {
        std::fputs(usageText, stderr);
        return 2;
    }
    std::vector<PackedFile> packed;
    std::string why;
    if (!packContentFolder(argv[1 + report], argv[2 + report], &packed, &why)) {
        std::fprintf(stderr, "kavorind-web-content: %s\n", why.c_str());
        return 1;
    }
    if (report)
        printReport(packed);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return runTool("kavorind-web-content", webContentMain, argc, argv);
}
