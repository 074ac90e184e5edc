// Files through POSIX calls: reading whole files, and the system's part of the safe writing in
// file_io.cpp. Windows has a file of its own beside this one.
#include "platform/file_system.h"
#include "platform/file_io.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace kavorind {

namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// What a file that is not a regular file is, for messages.
const char* notAFileReason(mode_t mode) {
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a FIFO, not a file";
    if (S_ISSOCK(mode))
        return "is a socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    return "is not a regular file";
}

int closeDescriptor(int descriptor) {
    // A close interrupted by a signal has still released the descriptor on Linux.
    return ::close(descriptor) == 0 || errno == EINTR;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes a folder's entries, so that a rename in it survives a power cut.
void syncFolder(const std::string& folder) {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    closeDescriptor(descriptor);
}

// The file an output path finally names: a link is followed, so that writing through a link
// (a settings file kept elsewhere) replaces the file it points to, not the link.
int resolveOutput(const std::string& path, std::string* target, struct stat* status, int* exists,
                  std::string* why) {
    *target = path;
    *exists = 0;
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT)
            return 1;
        *why = systemReason(errno);
        return 0;
    }
    if (S_ISLNK(link.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real) {
            *why = errno == ENOENT ? "is a link to nothing" : systemReason(errno);
            return 0;
        }
        *target = real;
        std::free(real);
        if (::stat(target->c_str(), &link) != 0) {
            *why = systemReason(errno);
            return 0;
        }
    }
    *status = link;
    *exists = 1;
    return 1;
}

int checkExistingOutput(const std::string& target, const struct stat& status, std::string* why) {
    if (!S_ISREG(status.st_mode)) {
        *why = notAFileReason(status.st_mode);
        return 0;
    }
    // The write permission bits count even for the superuser: a file made read-only is kept.
    if ((status.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
        *why = "is read-only";
        return 0;
    }
    return 1;
}

} // namespace

int createBeside(const std::string& target, std::string* temporary, std::string* why) {
    static unsigned counter = 0;
    const unsigned long base = static_cast<unsigned long>(::getpid()) * 2654435761ul ^
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

// Opens the new file beside an output that may be replaced; -1 with *why when it may not.
int openBeside(const std::string& path, std::string* target, std::string* temporary,
               std::string* why) {
    struct stat status {};
    int exists = 0;
    if (!resolveOutput(path, target, &status, &exists, why))
        return -1;
    if (exists && !checkExistingOutput(*target, status, why))
        return -1;
    int descriptor = createBeside(*target, temporary, why);
    // A replaced file keeps its permissions.
    if (descriptor >= 0 && exists)
        ::fchmod(descriptor, status.st_mode & 07777);
    return descriptor;
}

// The name is unused (O_EXCL) and never a link (O_NOFOLLOW), so that nothing planted in the
// folder can redirect the write.
int createUnder(const std::string& path, int* taken, std::string* why) {
    *taken = 0;
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        *taken = errno == EEXIST;
        *why = systemReason(errno);
    }
    return descriptor;
}

int writeAll(int descriptor, const uint8_t* bytes, size_t size, std::string* why) {
    while (size > 0) {
        ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            *why = systemReason(written < 0 ? errno : ENOSPC);
            return 0;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return 1;
}

int syncFile(int descriptor, std::string* why) {
    if (::fsync(descriptor) == 0)
        return 1;
    *why = systemReason(errno);
    return 0;
}

int closeFile(int descriptor, std::string* why) {
    if (closeDescriptor(descriptor))
        return 1;
    *why = systemReason(errno);
    return 0;
}

long long filePosition(int descriptor) {
    return ::lseek(descriptor, 0, SEEK_CUR);
}

void cutFileBack(int descriptor, long long position) {
    if (::ftruncate(descriptor, position) == 0)
        ::lseek(descriptor, position, SEEK_SET);
}

int renameInto(const std::string& temporary, const std::string& target, FileDurability durability,
               std::string* why) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        *why = systemReason(errno);
        return 0;
    }
    if (durability == FileDurable)
        syncFolder(folderOf(target));
    return 1;
}

// A rename that refuses a taken name, or where the file system (or the C library) has none, a
// hard link, which refuses it just as well.
int placeUnderFreeName(const std::string& temporary, const std::string& path,
                       FileDurability durability, int* nameTaken, std::string* why) {
    *nameTaken = 0;
    int placed = 0;
#ifdef RENAME_NOREPLACE
    placed =
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
    if (!placed && errno != EINVAL && errno != ENOSYS) {
        *nameTaken = errno == EEXIST;
        *why = systemReason(errno);
        return 0;
    }
#endif
    if (!placed) {
        if (::link(temporary.c_str(), path.c_str()) != 0) {
            *nameTaken = errno == EEXIST;
            *why = systemReason(errno);
            return 0;
        }
        ::unlink(temporary.c_str());
    }
    if (durability == FileDurable)
        syncFolder(folderOf(path));
    return 1;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

void syncEntryOf(const std::string& path) {
    syncFolder(folderOf(path));
}

int readRegularFile(const std::string& path, uint64_t maxBytes, FileBytes* out, std::string* why) {
    *out = FileBytes{};
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        *why = systemReason(errno);
        return 0;
    }
    struct stat status {};
    int ok = ::fstat(descriptor, &status) == 0;
    if (!ok)
        *why = systemReason(errno);
    else if (!S_ISREG(status.st_mode)) {
        *why = notAFileReason(status.st_mode);
        ok = 0;
    } else if (static_cast<uint64_t>(status.st_size) > maxBytes) {
        *why = "larger than " + sizeText(maxBytes);
        ok = 0;
    }
    FileBytes bytes;
    if (ok) {
        bytes.size = static_cast<size_t>(status.st_size);
        // Not value-initialised: every byte is about to be overwritten by the read.
        bytes.data.reset(new (std::nothrow) uint8_t[bytes.size ? bytes.size : 1]);
        if (!bytes.data) {
            *why = "not enough memory to read it";
            ok = 0;
        }
    }
    size_t done = 0;
    while (ok && done < bytes.size) {
        ssize_t got = ::read(descriptor, bytes.data.get() + done, bytes.size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            *why = got < 0 ? systemReason(errno) : "it shrank while it was read";
            ok = 0;
        } else
            done += static_cast<size_t>(got);
    }
    closeDescriptor(descriptor);
    if (ok)
        *out = std::move(bytes);
    return ok;
}

int checkOutputPath(const std::string& path, std::string* why) {
    std::string target;
    struct stat status {};
    int exists = 0;
    if (!resolveOutput(path, &target, &status, &exists, why))
        return 0;
    return !exists || checkExistingOutput(target, status, why);
}

namespace {

// The absolute form of a path that may not exist yet: its folder resolved, its name kept.
std::string placeOf(const std::string& path) {
    std::string folder = folderOf(path);
    std::string name =
        path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    char* real = ::realpath(folder.c_str(), nullptr);
    if (!real)
        return path;
    std::string absolute = real;
    std::free(real);
    return (absolute == "/" ? "" : absolute) + "/" + name;
}

} // namespace

int sameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return placeOf(first) == placeOf(second);
}

} // namespace kavorind
