// Reading and writing whole files with Windows' wide calls, on the same wide paths that
// std::filesystem uses (wide_text_windows.h). The same promises as the POSIX file beside this
// one: the new file is made exclusively beside its output, flushed when durable, and moved over
// the output in one step; on failure the new file goes and the older output stays whole.
#include "platform/file_io.h"
#include "platform/wide_text_windows.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <ctime>
#include <new>

namespace kavorind {

namespace {

std::string lastReason() {
    return windowsErrorText(GetLastError());
}

// What an existing name that is not a regular file is, for messages; nullptr for a file.
const char* notAFileReason(HANDLE file) {
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        return nullptr;
    case FILE_TYPE_PIPE:
        return "is a pipe, not a file";
    case FILE_TYPE_CHAR:
        return "is a device, not a file";
    default:
        return "is not a regular file";
    }
}

// Opened for reading with every kind of sharing, so that another program's open file can still
// be read, and a folder's attributes looked at.
HANDLE openExisting(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

int missingName(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// 1 when the output may be replaced or does not exist; 0 with *why when it is something else.
int checkExistingOutput(const std::string& path, std::string* why) {
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (missingName(error))
            return 1;
        *why = windowsErrorText(error);
        return 0;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *why = "is a folder, not a file";
        return 0;
    }
    HANDLE file = openExisting(wide, FILE_READ_ATTRIBUTES);
    if (file != INVALID_HANDLE_VALUE) {
        const char* reason = notAFileReason(file);
        CloseHandle(file);
        if (reason) {
            *why = reason;
            return 0;
        }
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        *why = "is read-only";
        return 0;
    }
    return 1;
}

// The handle of a new file as a C descriptor (binary: no line ends are ever changed), which the
// growing file keeps.
int descriptorOf(HANDLE file) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor < 0)
        CloseHandle(file);
    return descriptor;
}

HANDLE handleOf(int descriptor) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
}

// A new file nobody else has (CREATE_NEW), sharing delete so that it can be renamed while open.
HANDLE createNew(const std::string& path) {
    return CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int createBeside(const std::string& target, std::string* temporary, std::string* why) {
    static unsigned counter = 0;
    const unsigned long base = static_cast<unsigned long>(GetCurrentProcessId()) * 2654435761ul ^
                               static_cast<unsigned long>(std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long mark = (base + ++counter * 40503ul) % 0xFFFFFFul;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%06lx.partial", mark);
        *temporary = target + suffix;
        HANDLE file = createNew(*temporary);
        if (file != INVALID_HANDLE_VALUE) {
            const int descriptor = descriptorOf(file);
            if (descriptor < 0)
                *why = "no descriptor left for the new file";
            return descriptor;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            *why = lastReason();
            return -1;
        }
    }
    *why = "no free name for a new file beside it";
    return -1;
}

int openBeside(const std::string& path, std::string* temporary, std::string* why) {
    if (!checkExistingOutput(path, why))
        return -1;
    return createBeside(path, temporary, why);
}

int writeAll(int descriptor, const uint8_t* bytes, size_t size, std::string* why) {
    HANDLE file = handleOf(descriptor);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) {
            *why =
                written == 0 && GetLastError() == ERROR_SUCCESS ? "the disk is full" : lastReason();
            return 0;
        }
        bytes += written;
        size -= written;
    }
    return 1;
}

int syncAndClose(int descriptor, FileDurability durability, std::string* why) {
    const int synced = durability == FileQuick || FlushFileBuffers(handleOf(descriptor));
    if (!synced)
        *why = lastReason();
    const int closed = _close(descriptor) == 0;
    if (synced && !closed)
        *why = "the file could not be closed";
    return synced && closed;
}

void removeFile(const std::string& path) {
    DeleteFileW(widePath(path).c_str());
}

int renameInto(const std::string& temporary, const std::string& target, FileDurability durability,
               std::string* why) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durability ? MOVEFILE_WRITE_THROUGH : 0);
    if (!MoveFileExW(widePath(temporary).c_str(), widePath(target).c_str(), flags)) {
        *why = lastReason();
        return 0;
    }
    return 1;
}

} // namespace

std::string sizeText(uint64_t bytes) {
    if (bytes >= (uint64_t{1} << 20) && bytes % (uint64_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

int readRegularFile(const std::string& path, uint64_t maxBytes, FileBytes* out, std::string* why) {
    *out = FileBytes{};
    HANDLE file = openExisting(widePath(path), GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) {
        *why = lastReason();
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    LARGE_INTEGER size{};
    int ok = 1;
    if (const char* reason = notAFileReason(file)) {
        *why = reason;
        ok = 0;
    } else if (!GetFileInformationByHandle(file, &information) || !GetFileSizeEx(file, &size)) {
        *why = lastReason();
        ok = 0;
    } else if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        *why = "is a folder, not a file";
        ok = 0;
    } else if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        *why = "larger than " + sizeText(maxBytes);
        ok = 0;
    }
    FileBytes bytes;
    if (ok) {
        bytes.size = static_cast<size_t>(size.QuadPart);
        bytes.data.reset(new (std::nothrow) uint8_t[bytes.size ? bytes.size : 1]);
        if (!bytes.data) {
            *why = "not enough memory to read it";
            ok = 0;
        }
    }
    size_t done = 0;
    while (ok && done < bytes.size) {
        DWORD got = 0;
        const size_t left = bytes.size - done;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        if (!ReadFile(file, bytes.data.get() + done, chunk, &got, nullptr) || got == 0) {
            *why = got == 0 ? "it shrank while it was read" : lastReason();
            ok = 0;
        } else
            done += got;
    }
    CloseHandle(file);
    if (ok)
        *out = std::move(bytes);
    return ok;
}

int checkOutputPath(const std::string& path, std::string* why) {
    return checkExistingOutput(path, why);
}

int writeFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                    FileDurability durability, std::string* why) {
    std::string temporary;
    int descriptor = openBeside(path, &temporary, why);
    if (descriptor < 0)
        return 0;
    int written = writeAll(descriptor, bytes.data(), bytes.size(), why);
    if (!written)
        _close(descriptor);
    if (!written || !syncAndClose(descriptor, durability, why) ||
        !renameInto(temporary, path, durability, why)) {
        removeFile(temporary);
        return 0;
    }
    return 1;
}

int keepCopyBeside(const std::string& base, std::span<const uint8_t> bytes, std::string* keptAs,
                   std::string* why) {
    for (int number = 0; number < 100; ++number) {
        *keptAs = number ? base + "." + std::to_string(number) : base;
        HANDLE file = createNew(*keptAs);
        if (file == INVALID_HANDLE_VALUE &&
            (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS))
            continue;
        if (file == INVALID_HANDLE_VALUE) {
            *why = lastReason();
            return 0;
        }
        const int descriptor = descriptorOf(file);
        if (descriptor < 0) {
            *why = "no descriptor left for the new file";
            removeFile(*keptAs);
            return 0;
        }
        int written = writeAll(descriptor, bytes.data(), bytes.size(), why);
        if (!written)
            _close(descriptor);
        if (!written || !syncAndClose(descriptor, FileDurable, why)) {
            removeFile(*keptAs);
            return 0;
        }
        return 1;
    }
    *why = "every name from " + base + " to " + base + ".99 is taken";
    return 0;
}

int writeNewFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                       FileDurability durability, int* nameTaken, std::string* why) {
    *nameTaken = 0;
    std::string temporary;
    int descriptor = createBeside(path, &temporary, why);
    if (descriptor < 0)
        return 0;
    int written = writeAll(descriptor, bytes.data(), bytes.size(), why);
    if (!written)
        _close(descriptor);
    if (!written || !syncAndClose(descriptor, durability, why)) {
        removeFile(temporary);
        return 0;
    }
    // Without MOVEFILE_REPLACE_EXISTING the move refuses a name that is taken.
    const DWORD flags = durability ? MOVEFILE_WRITE_THROUGH : 0;
    if (!MoveFileExW(widePath(temporary).c_str(), widePath(path).c_str(), flags)) {
        const DWORD error = GetLastError();
        *nameTaken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        *why = windowsErrorText(error);
        removeFile(temporary);
        return 0;
    }
    return 1;
}

int openGrowingFile(GrowingFile* file, const std::string& path, FileDurability durability,
                    std::string* why) {
    *file = GrowingFile{};
    std::string temporary;
    int descriptor = openBeside(path, &temporary, why);
    if (descriptor < 0)
        return 0;
    file->descriptor = descriptor;
    file->path = path;
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
    HANDLE handle = handleOf(file->descriptor);
    LARGE_INTEGER before{};
    const LARGE_INTEGER here{};
    const int known = SetFilePointerEx(handle, here, &before, FILE_CURRENT);
    if (appendGrowingFile(file, text))
        return 1;
    // Part of the text may have gone in before the disk filled up: cut it off again.
    if (known && SetFilePointerEx(handle, before, nullptr, FILE_BEGIN))
        SetEndOfFile(handle);
    return 0;
}

int placeGrowingFile(GrowingFile* file) {
    if (file->descriptor < 0 || file->failed)
        return 0;
    if (file->durability == FileDurable && !FlushFileBuffers(handleOf(file->descriptor))) {
        file->failed = 1;
        file->reason = lastReason();
        return 0;
    }
    if (!file->placed) {
        std::string why;
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
    if (_close(file->descriptor) != 0 && !file->failed) {
        file->failed = 1;
        file->reason = "the file could not be closed";
    }
    file->descriptor = -1;
    if (!file->placed)
        removeFile(file->temporary);
    return !file->failed;
}

namespace {

// The absolute form of a path that may not exist yet, for comparing names.
std::wstring placeOf(const std::string& path) {
    const std::wstring wide = widePath(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return wide;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
    return full;
}

int identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION* information) {
    HANDLE file = openExisting(widePath(path), FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const int known = GetFileInformationByHandle(file, information);
    CloseHandle(file);
    return known;
}

} // namespace

// Names on Windows' disks match without regard to case, so the same place may be spelt two ways.
int sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    if (identityOf(first, &a) && identityOf(second, &b))
        return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
               a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    const std::wstring one = placeOf(first);
    const std::wstring other = placeOf(second);
    return CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

} // namespace kavorind
