// kavorind-data: tells content authors what a data file holds and, for a file the game would
// refuse, why and where.

#include "data/file_info.h"
#include "data/output_rules.h"
#include "data/palette_source.h"
#include "data/transfer.h"
#include "game/content_check.h"
#include "platform/file_io.h"
#include "platform/system_places.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
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
    "                 moved are counted; what export wrote imports back to the same bytes.\n"
    "                 OUT is a game file (.bmp, .pal, .spr, .map, .wav) of the kind made, and\n"
    "                 never SOURCE, a file it names or FILE\n"
    "\n"
    "Files are read only when they are plain files of at most 256 MiB; the pictures and frames\n"
    "of one command decode to at most 256 MiB. An output is written whole or not at all, never\n"
    "over a folder, device, FIFO or read-only file.\n"
    "\n"
    "Exit status: 0 when every file was understood or converted (check: a clean folder), 1 when\n"
    "a file was refused or not written (check: warnings only), 2 for a command line not\n"
    "understood or outputs refused before anything was written: an import's OUT that is not a\n"
    "game file or is one it reads, an export writing a name twice or over one of its files\n"
    "(check: errors).\n";

// What the command line asked that the tool will not do: nothing has been written.
constexpr int refusedCommand = 2;

// Writes an output for the author: whole or not at all, never over a folder, device, FIFO or a
// read-only file, and on the disk before the tool says it is written.
int writeOutput(const std::string& path, std::span<const uint8_t> bytes) {
    std::string why;
    if (writeFileSafely(path, bytes, FileDurable, &why)) {
        std::printf("wrote %s\n", path.c_str());
        return 1;
    }
    std::fprintf(stderr, "kavorind-data: %s: cannot be written: %s\n", path.c_str(), why.c_str());
    return 0;
}

// Prints each file's description under its name; 1 when every file was described.
int runInfo(int count, char** paths) {
    int all = 1;
    for (int i = 0; i < count; ++i) {
        FileBytes bytes;
        std::string why;
        if (i > 0)
            std::printf("\n");
        if (!readSourceFile(paths[i], &bytes, &why)) {
            std::printf("%s: %s\n", paths[i], why.c_str());
            all = 0;
            continue;
        }
        FileInfo info = describeContent(paths[i], bytes.view());
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

// What one input of an export makes.
struct ExportGroup {
    std::string input;
    std::vector<ExportedFile> files;
};

// Each input converted in memory; 0 when one was refused (the others are still converted).
int convertForExport(int count, char** paths, std::vector<ExportGroup>* groups) {
    int all = 1;
    for (int i = 0; i < count; ++i) {
        FileBytes bytes;
        ExportGroup group{paths[i], {}};
        std::string why;
        if (!readSourceFile(paths[i], &bytes, &why)) {
            std::fprintf(stderr, "kavorind-data: %s: %s\n", paths[i], why.c_str());
            all = 0;
        } else if (!exportContent(paths[i], bytes.view(), &group.files, &why)) {
            std::fprintf(stderr, "kavorind-data: %s\n", why.c_str());
            all = 0;
        } else
            groups->push_back(std::move(group));
    }
    return all;
}

// An export that would write one file twice, or over one of its inputs, is refused whole.
int exportClashes(const std::vector<ExportGroup>& groups, const std::string& outDir,
                  const std::vector<std::string>& inputs) {
    std::vector<std::string> names;
    int clash = 0;
    for (const ExportGroup& group : groups)
        for (const ExportedFile& file : group.files) {
            names.push_back(file.name);
            std::string input = inputNamedBy(outDir + "/" + file.name, inputs);
            if (!input.empty()) {
                std::fprintf(stderr, "kavorind-data: %s/%s would be written over the input %s\n",
                             outDir.c_str(), file.name.c_str(), input.c_str());
                clash = 1;
            }
        }
    for (const std::string& name : repeatedNames(names)) {
        std::fprintf(stderr,
                     "kavorind-data: %s/%s would be written twice, by inputs of the same stem; "
                     "export them into separate folders\n",
                     outDir.c_str(), name.c_str());
        clash = 1;
    }
    return clash;
}

// 1 when every file of the group may be written, so that a pair (a sheet and its description)
// is written whole or not at all.
int groupWritable(const ExportGroup& group, const std::string& outDir) {
    int writable = 1;
    for (const ExportedFile& file : group.files) {
        std::string path = outDir + "/" + file.name, why;
        if (!checkOutputPath(path, &why)) {
            std::fprintf(stderr,
                         "kavorind-data: %s: cannot be written: %s (so nothing made from %s is)\n",
                         path.c_str(), why.c_str(), group.input.c_str());
            writable = 0;
        }
    }
    return writable;
}

// Exports each file into the folder (made when missing): 0 when every one was written, 1 when
// one was refused or not written, 2 when the outputs clash (nothing is written then).
int runExport(int count, char** paths, const std::string& outDir) {
    std::vector<ExportGroup> groups;
    int all = convertForExport(count, paths, &groups);
    if (exportClashes(groups, outDir, std::vector<std::string>(paths, paths + count)))
        return refusedCommand;
    std::error_code made, error;
    std::filesystem::create_directories(outDir, made);
    if (!std::filesystem::is_directory(outDir, error)) {
        std::fprintf(stderr, "kavorind-data: %s: cannot be made a folder%s%s\n", outDir.c_str(),
                     made ? ": " : "", made ? made.message().c_str() : "");
        return 1;
    }
    for (const ExportGroup& group : groups) {
        if (!groupWritable(group, outDir)) {
            all = 0;
            continue;
        }
        for (const ExportedFile& file : group.files)
            all = writeOutput(outDir + "/" + file.name, file.bytes) && all;
    }
    return all ? 0 : 1;
}

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A file the source names is read from the source's folder or below it, never from elsewhere;
// each file read is noted, so that the output is never written over one.
CompanionReader companionsBeside(const std::string& source, std::vector<std::string>* read) {
    std::string folder = folderOf(source);
    return [folder, read](const std::string& name, std::vector<uint8_t>* bytes, std::string* why) {
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
        std::string path = folder + "/" + name;
        read->push_back(path);
        FileBytes file;
        if (!readSourceFile(path, &file, why))
            return 0;
        bytes->assign(file.data.get(), file.data.get() + file.size);
        return 1;
    };
}

// The palette a picture that is not indexed is reduced to; 0 only when --palette names one that
// cannot be read (no "Pal.Pal" anywhere just means such pictures cannot be imported).
int choosePalette(const char* paletteFile, const std::string& source, const std::string& out,
                  PixelBudget* budget, PaletteEntries* colours, bool* found) {
    std::string path = paletteFile ? paletteFile : gamePaletteIn(folderOf(out));
    if (path.empty())
        path = gamePaletteIn(folderOf(source));
    *found = !path.empty();
    if (!*found)
        return 1;
    std::string why;
    if (readPaletteOf(path, colours, budget, &why))
        return 1;
    std::fprintf(stderr, "kavorind-data: %s: %s\n", path.c_str(), why.c_str());
    return 0;
}

// An OUT that is not a game file, or that names a file the import reads, is refused.
int importRefused(const std::string& out, const std::vector<std::string>& inputs) {
    if (!isContentFileName(out)) {
        std::fprintf(stderr,
                     "kavorind-data: %s: import writes only the game's files (.bmp, .pal, .spr, "
                     ".map, .wav); name one of those as OUT\n",
                     out.c_str());
        return 1;
    }
    std::string input = inputNamedBy(out, inputs);
    if (input.empty())
        return 0;
    std::fprintf(stderr,
                 "kavorind-data: %s: the import reads %s, and would write over it; name another "
                 "OUT\n",
                 out.c_str(), input.c_str());
    return 1;
}

// 0 when the file was made and written, 1 when it was refused or not written, 2 when OUT is not
// one to write (nothing is written then).
int runImport(const char* paletteFile, const std::string& source, const std::string& out) {
    std::vector<std::string> inputs{source};
    if (paletteFile)
        inputs.push_back(paletteFile);
    if (importRefused(out, inputs))
        return refusedCommand;
    FileBytes bytes;
    std::string why;
    if (!readSourceFile(source, &bytes, &why)) {
        std::fprintf(stderr, "kavorind-data: %s: %s\n", source.c_str(), why.c_str());
        return 1;
    }
    PixelBudget budget;
    PaletteEntries colours{};
    bool havePalette = false;
    if (!choosePalette(paletteFile, source, out, &budget, &colours, &havePalette))
        return 1;
    ImportSource input{source, bytes.view(), companionsBeside(source, &inputs),
                       havePalette ? &colours : nullptr, &budget};
    ImportResult result;
    if (!importContent(input, &result, &why)) {
        std::fprintf(stderr, "kavorind-data: %s\n", why.c_str());
        return 1;
    }
    if (importRefused(out, inputs))
        return refusedCommand;
    if (!madeFitsName(result.bytes, out)) {
        std::fprintf(stderr,
                     "kavorind-data: %s: %s makes a file of another kind than OUT's extension "
                     "names; nothing was written\n",
                     out.c_str(), source.c_str());
        return 1;
    }
    std::printf("%s", result.report.c_str());
    return writeOutput(out, result.bytes) ? 0 : 1;
}

int usage() {
    std::fputs(usageText, stderr);
    return 2;
}

int runCommand(int argc, char** argv) {
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
        return runExport(argc - 3, argv + 2, argv[argc - 1]);
    if (argc == 4 && !std::strcmp(argv[1], "import"))
        return runImport(nullptr, argv[2], argv[3]);
    if (argc == 6 && !std::strcmp(argv[1], "import") && !std::strcmp(argv[2], "--palette"))
        return runImport(argv[3], argv[4], argv[5]);
    if (argc >= 2)
        std::fprintf(stderr, "kavorind-data: command line not understood\n");
    return usage();
}

} // namespace

// Nothing the conversions throw leaves main: memory that runs out despite the limits, or a
// library's exception, is a file not made.
int main(int argc, char** argv) {
    platformProgramStarts();
    try {
        return runCommand(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kavorind-data: out of memory; nothing more was written\n");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kavorind-data: %s; nothing more was written\n", failure.what());
    }
    return 1;
}
