#include "web/web_package.h"

#include "platform/file_io.h"
#include "web/adpcm_wave.h"

#include <algorithm>
#include <filesystem>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// The largest content file the package takes, well above the largest the generator writes.
constexpr uint64_t maxContentFileBytes = 256u << 20;

// The decoded ADPCM against the PCM it came from, and the silence its last block adds.
int measureAdpcm(const PcmSamples& pcm, std::span<const uint8_t> adpcm, PackedFile* packed,
                 std::string* why) {
    PcmSamples decoded;
    if (!decodeWave(adpcm, &decoded, why))
        return 0;
    packed->samples = static_cast<long>(pcm.samples.size()) / pcm.channels;
    const long tail = packed->samples % adpcmSamplesPerBlock;
    packed->addedSamples = tail ? adpcmSamplesPerBlock - tail : 0;
    packed->signalToNoiseDb = signalToNoiseDb(pcm.samples, decoded.samples);
    return 1;
}

std::vector<fs::path> contentFiles(const std::string& folder, std::string* why) {
    std::vector<fs::path> files;
    std::error_code problem;
    for (fs::directory_iterator entry(folder, problem), end; !problem && entry != end;
         entry.increment(problem)) {
        // The build's own marks (.stamp) are not content.
        if (entry->is_regular_file() && entry->path().filename().string()[0] != '.')
            files.push_back(entry->path());
    }
    if (problem)
        *why = folder + ": " + problem.message();
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int packContentFile(std::span<const uint8_t> file, std::vector<uint8_t>* out, PackedFile* packed,
                    std::string* why) {
    packed->bytesBefore = file.size();
    packed->madeAdpcm = 0;
    PcmSamples pcm;
    if (!isPcmWave(file) || !decodeWave(file, &pcm, why) || pcm.channels != 1) {
        // What is not a mono PCM wave (or one libsndfile reads otherwise) goes as it is.
        out->assign(file.begin(), file.end());
        packed->bytesAfter = out->size();
        return 1;
    }
    if (!encodeAdpcmWave(pcm, out, why) || !measureAdpcm(pcm, *out, packed, why))
        return 0;
    packed->madeAdpcm = 1;
    packed->bytesAfter = out->size();
    return 1;
}

int packContentFolder(const std::string& from, const std::string& to,
                      std::vector<PackedFile>* report, std::string* why) {
    const std::vector<fs::path> files = contentFiles(from, why);
    if (files.empty()) {
        if (why->empty())
            *why = from + " holds no content files";
        return 0;
    }
    std::error_code problem;
    fs::create_directories(to, problem);
    if (problem) {
        *why = to + ": " + problem.message();
        return 0;
    }
    for (const fs::path& path : files) {
        FileBytes bytes;
        std::vector<uint8_t> packedBytes;
        PackedFile packed;
        packed.name = path.filename().string();
        if (!readRegularFile(path.string(), maxContentFileBytes, &bytes, why) ||
            !packContentFile(bytes.view(), &packedBytes, &packed, why) ||
            !writeFileSafely(to + "/" + packed.name, packedBytes, FileQuick, why)) {
            *why = packed.name + ": " + *why;
            return 0;
        }
        report->push_back(packed);
    }
    return 1;
}

} // namespace kavorind
