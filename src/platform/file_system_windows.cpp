// Files through Windows' wide calls, on the same wide paths that std::filesystem uses
// (wide_text_windows.h): reading whole files, and the system's part of the safe writing in
// file_io.cpp, as the POSIX file beside this one does it.
#include "platform/file_io.h"
#include "platform/file_system.h"
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

} // namespace

int createBeside(const std::string& target, std::string* temporary, std::string* why) {
    static unsigned counter = 0;
    const unsigned long base = static_cast<unsigned long>(GetCurrentProcessId()) * 2654435761ul ^
                               static_cast<unsigned long>(std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long mark = (base + ++counter * 40503ul) % 0xFFFFFFul;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%06lx.partial", mark);
        *temporary = target + suffix;
        int taken = 0;
        const int descriptor = createUnder(*temporary, &taken, why);
        if (descriptor >= 0 || !taken)
            return descriptor;
    }
    *why = "no free name for a new file beside it";
    return -1;
}

// Names are not followed through links here: the output is the file itself.
int openBeside(const std::string& path, std::string* target, std::string* temporary,
               std::string* why) {
    *target = path;
    if (!checkExistingOutput(path, why))
        return -1;
    return createBeside(path, temporary, why);
}

int createUnder(const std::string& path, int* taken, std::string* why) {
    *taken = 0;
    HANDLE file = createNew(path);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        *taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        *why = windowsErrorText(error);
        return -1;
    }
    const int descriptor = descriptorOf(file);
    if (descriptor < 0) {
        *why = "no descriptor left for the new file";
        removeFile(path);
    }
    return descriptor;
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

int syncFile(int descriptor, std::string* why) {
    if (FlushFileBuffers(handleOf(descriptor)))
        return 1;
    *why = lastReason();
    return 0;
}

int closeFile(int descriptor, std::string* why) {
    if (_close(descriptor) == 0)
        return 1;
    *why = "the file could not be closed";
    return 0;
}

long long filePosition(int descriptor) {
    LARGE_INTEGER position{};
    const LARGE_INTEGER here{};
    return SetFilePointerEx(handleOf(descriptor), here, &position, FILE_CURRENT) ? position.QuadPart
                                                                                 : -1;
}

void cutFileBack(int descriptor, long long position) {
    LARGE_INTEGER place{};
    place.QuadPart = position;
    if (SetFilePointerEx(handleOf(descriptor), place, nullptr, FILE_BEGIN))
        SetEndOfFile(handleOf(descriptor));
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

// Without MOVEFILE_REPLACE_EXISTING the move refuses a name that is taken.
int placeUnderFreeName(const std::string& temporary, const std::string& path,
                       FileDurability durability, int* nameTaken, std::string* why) {
    *nameTaken = 0;
    const DWORD flags = durability ? MOVEFILE_WRITE_THROUGH : 0;
    if (MoveFileExW(widePath(temporary).c_str(), widePath(path).c_str(), flags))
        return 1;
    const DWORD error = GetLastError();
    *nameTaken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    *why = windowsErrorText(error);
    return 0;
}

// A new name is on the disk once its file is flushed and closed.
void syncEntryOf(const std::string&) {}

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
