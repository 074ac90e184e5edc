// kavorind-data: tells content authors what a data file holds and, for a file the game would
// refuse, why and where.

#include "data/file_info.h"
#include "game/content_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

const char* usageText = "usage: kavorind-data info FILE...\n"
                        "       kavorind-data check DIR\n"
                        "       kavorind-data --help\n";

const char* helpText =
    "Inspects the game's content files.\n"
    "\n"
    "  info FILE...   what each file holds: format, header fields, sizes, colours, frames with\n"
    "                 their hot spots, rate and key, map layers, tiles and spawn codes, wave\n"
    "                 format and length; for a file the game would refuse, why and at which byte\n"
    "  check DIR      the whole folder as the game will load it\n"
    "\n"
    "Exit status: 0 when every file was understood (check: a clean folder), 1 when a file was\n"
    "refused (check: warnings only), 2 for a command line not understood (check: errors).\n";

// Large enough for the longest music; a file beyond it is not content the game reads.
constexpr std::streamoff maxFileBytes = 256ll << 20;

int readFile(const char* path, std::vector<uint8_t>* bytes, std::string* why) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        *why = std::string("cannot be opened: ") + std::strerror(errno);
        return 0;
    }
    std::streamoff size = in.tellg();
    if (size < 0 || size > maxFileBytes) {
        *why = "cannot be read, or larger than 256 MiB";
        return 0;
    }
    bytes->resize(static_cast<size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes->data()), size)) {
        *why = "cannot be read";
        return 0;
    }
    return 1;
}

// Prints each file's description under its name; 1 when every file was described.
int runInfo(int count, char** paths) {
    int all = 1;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> bytes;
        std::string why;
        if (i > 0)
            std::printf("\n");
        if (!readFile(paths[i], &bytes, &why)) {
            std::printf("%s: %s\n", paths[i], why.c_str());
            all = 0;
            continue;
        }
        FileInfo info = describeContent(paths[i], bytes);
        std::printf("%s: %s\n%s", paths[i], info.kind.c_str(), info.text.c_str());
        all = all && info.described;
    }
    std::fflush(stdout);
    return all;
}

// The whole folder as the game will load it: one line per problem, then the exit code (0 clean,
// 1 warnings only, 2 errors).
int runCheck(const char* dir) {
    std::vector<ContentProblem> problems = checkContentFolder(dir);
    for (const ContentProblem& problem : problems)
        std::printf("%s\n", describeProblem(problem).c_str());
    if (problems.empty())
        std::printf("%s: clean\n", dir);
    return checkExitCode(problems);
}

int usage() {
    std::fputs(usageText, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(usageText, stdout);
        std::fputs(helpText, stdout);
        return 0;
    }
    if (argc >= 3 && !std::strcmp(argv[1], "info"))
        return runInfo(argc - 2, argv + 2) ? 0 : 1;
    if (argc == 3 && !std::strcmp(argv[1], "check"))
        return runCheck(argv[2]);
    if (argc >= 2)
        std::fprintf(stderr, "kavorind-data: command line not understood\n");
    return usage();
}
