#include "extras/content_fingerprint.h"

#include "platform/content_file.h"
#include "platform/file_io.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

constexpr uint64_t fnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t fnvPrime = 0x100000001b3ull;
constexpr uint64_t unreadableSize = ~uint64_t{0};

void hashBytes(uint64_t* hash, std::span<const uint8_t> bytes) {
    uint64_t value = *hash;
    for (uint8_t byte : bytes)
        value = (value ^ byte) * fnvPrime;
    *hash = value;
}

void hashText(uint64_t* hash, std::string_view text) {
    hashBytes(hash, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

void hashSize(uint64_t* hash, uint64_t size) {
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(size >> (8 * i));
    hashBytes(hash, bytes);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int isContentName(const std::string& lowerName) {
    static const char* const endings[] = {".bmp", ".pal", ".spr", ".map", ".wav"};
    for (const char* ending : endings)
        if (lowerName.size() > 4 && lowerName.compare(lowerName.size() - 4, 4, ending) == 0)
            return 1;
    return 0;
}

// The content files of the folder as (lower-cased name, name on disk), in the order they are
// hashed; names that differ only in case keep the order of their names on disk.
std::vector<std::pair<std::string, std::string>> contentFiles(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code problem;
    fs::directory_iterator entry(folder, problem);
    for (; !problem && entry != fs::directory_iterator(); entry.increment(problem)) {
        std::string name = entry->path().filename().string();
        std::string lowerName = lowered(name);
        std::error_code kindProblem;
        // Links count as the files they lead to, since the game reads through them.
        if (isContentName(lowerName) && entry->is_regular_file(kindProblem))
            files.emplace_back(lowerName, name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::string contentFingerprint(const std::string& folder) {
    uint64_t hash = fnvOffsetBasis;
    for (const auto& [lowerName, name] : contentFiles(folder)) {
        hashText(&hash, lowerName);
        hashText(&hash, std::string_view("\0", 1));
        FileBytes bytes;
        std::string why;
        if (!readRegularFile(folder + "/" + name, maxContentFileBytes, &bytes, &why)) {
            hashSize(&hash, unreadableSize);
            continue;
        }
        hashSize(&hash, bytes.size);
        hashBytes(&hash, bytes.view());
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

} // namespace kavorind
