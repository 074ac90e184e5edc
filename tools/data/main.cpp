// kavorind-data: tells content authors what a data file holds and, for a file the game would
// refuse, why and where.

#include "data/file_info.h"
#include "data/palette_source.h"
#include "data/transfer.h"
#include "game/content_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

const char* usageText = "usage: kavorind-data info FILE...\n"
                        "       kavorind-data check DIR\n"
                        "       kavorind-data export FILE... OUTDIR\n"
                        "       kavorind-data import [--palette FILE] SOURCE OUT\n"
                        "       kavorind-data --help\n";

const char* helpText =
    "Inspects the game's content files.\n"
    "\n"
    "  info FILE...   what each file holds: format, header fields, sizes, colours, frames with\n"
    "                 their hot spots, rate and key, map layers, tiles and spawn codes, wave\n"
    "                 format and length; for a file the game would refuse, why and at which byte\n"
    "  check DIR      the whole folder as the game will load it\n"
    "  export FILE... OUTDIR\n"
    "                 each file in formats image and map editors read, named after its stem:\n"
    "                 a bitmap as STEM.png (indexed, its colour table as the palette, its layout\n"
    "                 in the text chunk \"kavorind-bitmap\"); a sprite set as STEM.png, every\n"
    "                 frame on one sheet, and STEM.json (image, rate, key, palette, frames with\n"
    "                 x, y, width, height, hotX, hotY); a stage map as STEM.tmx, a Tiled map,\n"
    "                 with its tileset as PNG; a wave stays a wave\n"
    "  import [--palette FILE] SOURCE OUT\n"
    "                 the reverse: a PNG or any BMP (RLE, 1, 4, 24 bits) into an uncompressed\n"
    "                 8-bit bitmap, a sprite set's JSON and the sheet beside it, a Tiled map, a\n"
    "                 wave; a picture that is not indexed is reduced to the colours of FILE, else\n"
    "                 of \"Pal.Pal\" in OUT's folder, else in SOURCE's, and the colours that\n"
    "                 moved are counted; what export wrote imports back to the same bytes\n"
    "\n"
    "Exit status: 0 when every file was understood or converted (check: a clean folder), 1 when\n"
    "a file was refused or not written (check: warnings only), 2 for a command line not\n"
    "understood (check: errors).\n";

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

int writeWhole(const std::string& path, const std::vector<uint8_t>& bytes, std::string* why) {
    // Written beside and renamed into place, so a failed write never leaves half a file.
    std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            *why = "cannot be written: " + std::string(std::strerror(errno));
            std::filesystem::remove(partial);
            return 0;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        *why = "cannot be written: " + error.message();
        std::filesystem::remove(partial, error);
        return 0;
    }
    return 1;
}

// Exports each file into the folder (made when missing); 1 when every one was exported.
int runExport(int count, char** paths, const std::string& outDir) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!std::filesystem::is_directory(outDir, error)) {
        std::fprintf(stderr, "kavorind-data: %s: cannot be made a folder\n", outDir.c_str());
        return 0;
    }
    int all = 1;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> bytes;
        std::vector<ExportedFile> files;
        std::string why;
        if (!readFile(paths[i], &bytes, &why)) {
            std::fprintf(stderr, "kavorind-data: %s: %s\n", paths[i], why.c_str());
            all = 0;
            continue;
        }
        if (!exportContent(paths[i], bytes, &files, &why)) {
            std::fprintf(stderr, "kavorind-data: %s\n", why.c_str());
            all = 0;
            continue;
        }
        for (const ExportedFile& file : files) {
            std::string path = outDir + "/" + file.name;
            if (!writeWhole(path, file.bytes, &why)) {
                std::fprintf(stderr, "kavorind-data: %s: %s\n", path.c_str(), why.c_str());
                all = 0;
            } else
                std::printf("wrote %s\n", path.c_str());
        }
    }
    return all;
}

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A file the source names is read from the source's folder or below it, never from elsewhere.
CompanionReader companionsBeside(const std::string& source) {
    std::string folder = folderOf(source);
    return [folder](const std::string& name, std::vector<uint8_t>* bytes, std::string* why) {
        std::filesystem::path relative(name);
        for (const auto& part : relative)
            if (part == "..") {
                *why = "names a file outside the source's folder";
                return 0;
            }
        if (name.empty() || relative.is_absolute()) {
            *why = "names a file outside the source's folder";
            return 0;
        }
        return readFile((folder + "/" + name).c_str(), bytes, why);
    };
}

// The palette a picture that is not indexed is reduced to; 0 only when --palette names one that
// cannot be read (no "Pal.Pal" anywhere just means such pictures cannot be imported).
int choosePalette(const char* paletteFile, const std::string& source, const std::string& out,
                  PaletteEntries* colours, bool* found) {
    std::string path = paletteFile ? paletteFile : gamePaletteIn(folderOf(out));
    if (path.empty())
        path = gamePaletteIn(folderOf(source));
    *found = !path.empty();
    if (!*found)
        return 1;
    std::string why;
    if (readPaletteOf(path, colours, &why))
        return 1;
    std::fprintf(stderr, "kavorind-data: %s: %s\n", path.c_str(), why.c_str());
    return 0;
}

int runImport(const char* paletteFile, const std::string& source, const std::string& out) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readFile(source.c_str(), &bytes, &why)) {
        std::fprintf(stderr, "kavorind-data: %s: %s\n", source.c_str(), why.c_str());
        return 0;
    }
    PaletteEntries colours{};
    bool havePalette = false;
    if (!choosePalette(paletteFile, source, out, &colours, &havePalette))
        return 0;
    ImportSource input{source, bytes, companionsBeside(source), havePalette ? &colours : nullptr};
    ImportResult result;
    if (!importContent(input, &result, &why)) {
        std::fprintf(stderr, "kavorind-data: %s\n", why.c_str());
        return 0;
    }
    if (!writeWhole(out, result.bytes, &why)) {
        std::fprintf(stderr, "kavorind-data: %s: %s\n", out.c_str(), why.c_str());
        return 0;
    }
    std::printf("%swrote %s\n", result.report.c_str(), out.c_str());
    return 1;
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
    if (argc >= 4 && !std::strcmp(argv[1], "export"))
        return runExport(argc - 3, argv + 2, argv[argc - 1]) ? 0 : 1;
    if (argc == 4 && !std::strcmp(argv[1], "import"))
        return runImport(nullptr, argv[2], argv[3]) ? 0 : 1;
    if (argc == 6 && !std::strcmp(argv[1], "import") && !std::strcmp(argv[2], "--palette"))
        return runImport(argv[3], argv[4], argv[5]) ? 0 : 1;
    if (argc >= 2)
        std::fprintf(stderr, "kavorind-data: command line not understood\n");
    return usage();
}
