#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kavorind {

// The bytes of a whole file, in memory that the content object reading it may keep as its own
// buffer: the file is read once, straight into it, with no zero-filling and no second copy.
struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;

    std::span<const uint8_t> view() const { return {data.get(), size}; }
};

// Whether a written file must survive a power cut as soon as the writer says it is written: the
// player's and the author's own files (settings, recordings, what the tools make) are; traces and
// frames, which a rerun makes again, are not.
enum FileDurability { FileQuick = 0, FileDurable = 1 };

// Reads a whole regular file that a user named. A folder, a device, a FIFO or a socket is refused
// without waiting on it, as is a file larger than maxBytes. 1 on success; 0, out empty, with the
// reason in *why ("is a FIFO, not a file", "larger than 1 MiB", the system's reason).
int readRegularFile(const std::string& path, uint64_t maxBytes, FileBytes* out, std::string* why);
// "1 MiB", "64 KiB", "300 bytes": how a size limit is named in messages.
std::string sizeText(uint64_t bytes);

// 1 when path names nothing yet, or a regular file (through links) that may be replaced: not a
// folder, device, FIFO or socket, and not read-only. 0 with the reason in *why.
int checkOutputPath(const std::string& path, std::string* why);

// Writes a whole file in one step: the bytes go into a new file made exclusively beside the output
// (never through a link, never over someone else's file), each step checked, flushed to the disk
// when durable, then renamed over the output. On any failure the new file is removed, an older
// output of that name stays whole, and *why holds the system's reason. 1 on success.
int writeFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                    FileDurability durability, std::string* why);
inline int writeFileSafely(const std::string& path, std::string_view text,
                           FileDurability durability, std::string* why) {
    return writeFileSafely(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()},
                           durability, why);
}

// Keeps a copy of bytes in a new file, flushed to the disk: named base when nothing has that name,
// else base.1, base.2 ... base.99, never over an existing file or through a link. The name used
// goes to *keptAs. 0 with the reason in *why when no copy could be made (nothing is left behind).
int keepCopyBeside(const std::string& base, std::span<const uint8_t> bytes, std::string* keptAs,
                   std::string* why);

// writeFileSafely for a file that must not replace anything: the new file takes path's name only
// when nothing has it (never over a file, a link or anything else). 0 with the reason in *why, and
// *nameTaken set to 1 when the name was taken, so that the caller may try another one.
int writeNewFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                       FileDurability durability, int* nameTaken, std::string* why);

// A file written as the program goes (recordings, traces). It is made exclusively beside its
// output when opened, so that a place that cannot be written is refused at once, and takes the
// output's name only when placed: until then an older file of that name stays untouched.
struct GrowingFile {
    int descriptor = -1;
    std::string path;      // the output
    std::string temporary; // the file written until placed
    FileDurability durability = FileQuick;
    int placed = 0;
    int failed = 0; // a write, flush or rename failed; *why of that failure in reason
    std::string reason;
};

// Opens the file beside path; 0 with the reason in *why when it cannot be made there.
int openGrowingFile(GrowingFile* file, const std::string& path, FileDurability durability,
                    std::string* why);
// Appends text; 0 once anything written to the file has failed.
int appendGrowingFile(GrowingFile* file, std::string_view text);
// Appends text whole or not at all: when the write fails partway (a full disk), the file is cut
// back to where it was, so that it never ends in half a line. 0 once anything has failed.
int appendWholeToGrowingFile(GrowingFile* file, std::string_view text);
// Flushes what was appended to the disk (durable files only) and, the first time, renames the
// file into place. 0 once anything has failed.
int placeGrowingFile(GrowingFile* file);
// Closes the file. A placed file stays; one never placed is removed, so an older output stays.
// 1 when nothing written, flushed or renamed failed.
int closeGrowingFile(GrowingFile* file);

// 1 when the two paths name the same file: the same file on disk when both exist, else the same
// place once made absolute (links in their folders followed).
int sameFile(const std::string& first, const std::string& second);

} // namespace kavorind
