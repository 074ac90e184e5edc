#pragma once
// The operating system's part of the safe writing in file_io.cpp: POSIX calls in file_system.cpp,
// Windows' wide calls in file_system_windows.cpp. A descriptor is a C descriptor on both (binary
// on Windows: no line end is ever changed). Every call that can fail returns 0 (or -1 for a
// descriptor) with the reason in *why.
#include "platform/file_io.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavorind {

// Checks that the output may be replaced, then makes a new file beside it. *target is the file
// the output finally names (a link is followed, so that writing through it replaces the file it
// points to), *temporary the new file's name.
int openBeside(const std::string& path, std::string* target, std::string* temporary,
               std::string* why);
// A new file beside target under a free name that nobody else has.
int createBeside(const std::string& target, std::string* temporary, std::string* why);
// A new file under exactly this name; -1 with *taken set when something has the name already.
int createUnder(const std::string& path, int* taken, std::string* why);

int writeAll(int descriptor, const uint8_t* bytes, size_t size, std::string* why);
// Flushes what was written to the disk.
int syncFile(int descriptor, std::string* why);
int closeFile(int descriptor, std::string* why);
// Where the next write goes, -1 when unknown; and the file cut back to such a place.
long long filePosition(int descriptor);
void cutFileBack(int descriptor, long long position);

// Moves temporary over target in one step; a durable move is itself flushed to the disk.
int renameInto(const std::string& temporary, const std::string& target, FileDurability durability,
               std::string* why);
// Gives temporary the name path only if nothing has it, in one step; *nameTaken set when
// something has.
int placeUnderFreeName(const std::string& temporary, const std::string& path,
                       FileDurability durability, int* nameTaken, std::string* why);
void removeFile(const std::string& path);
// Flushes the entry of a new file to the disk (where the system does not do so by itself).
void syncEntryOf(const std::string& path);

} // namespace kavorind
