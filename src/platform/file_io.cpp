// Writing files so that an older output is never lost: the new file is made exclusively beside
// its output, flushed when durable, and moved over the output in one step; on failure the new
// file goes and the older output stays whole. The system's own calls are in file_system.cpp and
// file_system_windows.cpp.
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace kavorind {

namespace {

int syncAndClose(int descriptor, FileDurability durability, std::string* why) {
    const int synced = durability == FileQuick || syncFile(descriptor, why);
    std::string closeWhy;
    const int closed = closeFile(descriptor, &closeWhy);
    if (synced && !closed)
        *why = closeWhy;
    return synced && closed;
}

// Writes the bytes into a new file and closes it, closed all the same when the write fails.
int fillAndClose(int descriptor, std::span<const uint8_t> bytes, FileDurability durability,
                 std::string* why) {
    if (!writeAll(descriptor, bytes.data(), bytes.size(), why)) {
        std::string ignored;
        closeFile(descriptor, &ignored);
        return 0;
    }
    return syncAndClose(descriptor, durability, why);
}

} // namespace

std::string sizeText(uint64_t bytes) {
    if (bytes >= (uint64_t{1} << 20) && bytes % (uint64_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

int writeFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                    FileDurability durability, std::string* why) {
    std::string target;
    std::string temporary;
    const int descriptor = openBeside(path, &target, &temporary, why);
    if (descriptor < 0)
        return 0;
    if (!fillAndClose(descriptor, bytes, durability, why) ||
        !renameInto(temporary, target, durability, why)) {
        removeFile(temporary);
        return 0;
    }
    return 1;
}

int keepCopyBeside(const std::string& base, std::span<const uint8_t> bytes, std::string* keptAs,
                   std::string* why) {
    for (int number = 0; number < 100; ++number) {
        *keptAs = number ? base + "." + std::to_string(number) : base;
        int taken = 0;
        const int descriptor = createUnder(*keptAs, &taken, why);
        if (descriptor < 0 && taken)
            continue;
        if (descriptor < 0)
            return 0;
        if (!fillAndClose(descriptor, bytes, FileDurable, why)) {
            removeFile(*keptAs);
            return 0;
        }
        syncEntryOf(*keptAs);
        return 1;
    }
    *why = "every name from " + base + " to " + base + ".99 is taken";
    return 0;
}

int writeNewFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                       FileDurability durability, int* nameTaken, std::string* why) {
    *nameTaken = 0;
    std::string temporary;
    const int descriptor = createBeside(path, &temporary, why);
    if (descriptor < 0)
        return 0;
    if (!fillAndClose(descriptor, bytes, durability, why) ||
        !placeUnderFreeName(temporary, path, durability, nameTaken, why)) {
        removeFile(temporary);
        return 0;
    }
    return 1;
}

int openGrowingFile(GrowingFile* file, const std::string& path, FileDurability durability,
                    std::string* why) {
    *file = GrowingFile{};
    std::string target;
    std::string temporary;
    const int descriptor = openBeside(path, &target, &temporary, why);
    if (descriptor < 0)
        return 0;
    file->descriptor = descriptor;
    file->path = target;
    file->temporary = temporary;
    file->durability = durability;
    return 1;
}

int appendGrowingFile(GrowingFile* file, std::string_view text) {
    if (file->descriptor < 0 || file->failed)
        return 0;
    std::string why;
    if (!writeAll(file->descriptor, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                  &why)) {
        file->failed = 1;
        file->reason = why;
    }
    return !file->failed;
}

int appendWholeToGrowingFile(GrowingFile* file, std::string_view text) {
    if (file->descriptor < 0 || file->failed)
        return 0;
    const long long before = filePosition(file->descriptor);
    if (appendGrowingFile(file, text))
        return 1;
    // Part of the text may have gone in before the disk filled up: cut it off again.
    if (before >= 0)
        cutFileBack(file->descriptor, before);
    return 0;
}

int placeGrowingFile(GrowingFile* file) {
    if (file->descriptor < 0 || file->failed)
        return 0;
    std::string why;
    if (file->durability == FileDurable && !syncFile(file->descriptor, &why)) {
        file->failed = 1;
        file->reason = why;
        return 0;
    }
    if (!file->placed) {
        if (!renameInto(file->temporary, file->path, file->durability, &why)) {
            file->failed = 1;
            file->reason = why;
            return 0;
        }
        file->placed = 1;
    }
    return 1;
}

int closeGrowingFile(GrowingFile* file) {
    if (file->descriptor < 0)
        return !file->failed;
    std::string why;
    if (!closeFile(file->descriptor, &why) && !file->failed) {
        file->failed = 1;
        file->reason = why;
    }
    file->descriptor = -1;
    if (!file->placed)
        removeFile(file->temporary);
    return !file->failed;
}

} // namespace kavorind
