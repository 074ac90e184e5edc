// The one reader and the one writer: what they refuse, what a failure leaves behind, and that
// nothing planted beside an output can redirect a write.

#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path path;
    Folder() {
        path = fs::temp_directory_path() /
               ("kavorind-file-io-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(path), {}));
    }
};

void put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string readText(const std::string& path, uint64_t limit, std::string* why) {
    FileBytes bytes;
    if (!readRegularFile(path, limit, &bytes, why))
        return "(refused)";
    return std::string(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
}

// A socket bound to a path in the folder, as a running program might leave one.
int bindSocket(const std::string& path) {
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// Files written in this scope may grow to `bytes` at most; a longer write fails with EFBIG
// (SIGXFSZ ignored), as on a full disk.
struct FileSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

} // namespace

TEST(FileRead, OnlyRegularFilesWithinTheLimitAreRead) {
    Folder folder;
    put(folder / "keys.txt", "1-3 Right\n");
    std::string why;
    EXPECT_EQ(readText(folder / "keys.txt", 1024, &why), "1-3 Right\n");
    EXPECT_EQ(readText(folder / "keys.txt", 5, &why), "(refused)");
    EXPECT_EQ(why, "larger than 5 bytes");

    // A FIFO with no writer: opened without waiting, then refused.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(readText(folder / "fifo", 1024, &why), "(refused)");
    EXPECT_EQ(why, "is a FIFO, not a file");
    EXPECT_EQ(readText("/dev/zero", 1 << 20, &why), "(refused)");
    EXPECT_EQ(why, "is a device, not a file");
    EXPECT_EQ(readText(folder.path.string(), 1024, &why), "(refused)");
    EXPECT_EQ(why, "is a folder, not a file");
    EXPECT_EQ(readText(folder / "absent", 1024, &why), "(refused)");
    EXPECT_EQ(why, "No such file or directory");
}

TEST(FileRead, SizeLimitsAreNamedPlainly) {
    EXPECT_EQ(sizeText(uint64_t{1} << 20), "1 MiB");
    EXPECT_EQ(sizeText(256ull << 20), "256 MiB");
    EXPECT_EQ(sizeText(64 * 1024), "64 KiB");
    EXPECT_EQ(sizeText(1000), "1000 bytes");
}

TEST(FileWrite, WritesANewFileAndReplacesAnOldOneWhole) {
    Folder folder;
    std::string why;
    ASSERT_EQ(writeFileSafely(folder / "out.bmp", std::string_view("first"), FileDurable, &why), 1)
        << why;
    EXPECT_EQ(contents(folder / "out.bmp"), "first");
    ::chmod((folder / "out.bmp").c_str(), 0640);
    ASSERT_EQ(writeFileSafely(folder / "out.bmp", std::string_view("second"), FileQuick, &why), 1);
    EXPECT_EQ(contents(folder / "out.bmp"), "second");
    struct stat status {};
    ::stat((folder / "out.bmp").c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";
    EXPECT_EQ(folder.entries(), 1u) << "nothing is left beside the output";
}

TEST(FileWrite, WhatIsNotARegularWritableFileIsNeverReplaced) {
    Folder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    int socket = bindSocket(folder / "socket");
    put(folder / "locked.spr", "the author's");
    ::chmod((folder / "locked.spr").c_str(), 0444);
    // Only the superuser can make a device node; the refusal is the same one either way.
    const int haveDevice = ::mknod((folder / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;

    struct Case {
        std::string name;
        std::string reason;
    };
    std::vector<Case> cases = {{"fifo", "is a FIFO, not a file"},
                               {"folder", "is a folder, not a file"},
                               {"locked.spr", "is read-only"}};
    if (socket >= 0)
        cases.push_back({"socket", "is a socket, not a file"});
    if (haveDevice)
        cases.push_back({"null", "is a device, not a file"});
    const size_t before = folder.entries();
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(writeFileSafely(folder / c.name, std::string_view("x"), FileQuick, &why), 0)
            << c.name;
        EXPECT_EQ(why, c.reason) << c.name;
        EXPECT_EQ(checkOutputPath(folder / c.name, &why), 0) << c.name;
    }
    struct stat status {};
    EXPECT_TRUE(::lstat((folder / "fifo").c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
    if (haveDevice) {
        EXPECT_TRUE(::lstat((folder / "null").c_str(), &status) == 0 && S_ISCHR(status.st_mode));
    }
    EXPECT_EQ(contents(folder / "locked.spr"), "the author's");
    EXPECT_EQ(folder.entries(), before) << "no new file is left behind";
    if (socket >= 0)
        ::close(socket);
}

TEST(FileWrite, NothingPlantedBesideTheOutputRedirectsTheWrite) {
    Folder folder;
    put(folder / "precious.txt", "precious");
    // The names a careless writer would use for its new file, each a link to the victim.
    for (const char* planted : {"MyCap.json.partial", "MyCap.json.tmp", "MyCap.json~"})
        fs::create_symlink(folder / "precious.txt", folder / planted);
    std::string why;
    ASSERT_EQ(writeFileSafely(folder / "MyCap.json", std::string_view("{}"), FileDurable, &why), 1)
        << why;
    EXPECT_EQ(contents(folder / "precious.txt"), "precious");
    EXPECT_EQ(contents(folder / "MyCap.json"), "{}");
}

TEST(FileWrite, ALinkedOutputReplacesTheFileItPointsTo) {
    Folder folder;
    fs::create_directory(folder / "dotfiles");
    put(folder / "dotfiles/kavorind.cfg", "volume = 10\n");
    fs::create_symlink(folder / "dotfiles/kavorind.cfg", folder / "kavorind.cfg");
    std::string why;
    ASSERT_EQ(writeFileSafely(folder / "kavorind.cfg", std::string_view("volume = 20\n"),
                              FileDurable, &why),
              1)
        << why;
    EXPECT_TRUE(fs::is_symlink(folder / "kavorind.cfg"));
    EXPECT_EQ(contents(folder / "dotfiles/kavorind.cfg"), "volume = 20\n");

    fs::create_symlink(folder / "gone", folder / "dangling");
    EXPECT_EQ(writeFileSafely(folder / "dangling", std::string_view("x"), FileQuick, &why), 0);
    EXPECT_EQ(why, "is a link to nothing");
}

TEST(FileWrite, AFullDiskKeepsTheOldOutputWholeAndLeavesNothingBehind) {
    Folder folder;
    put(folder / "Stage-M1.map", "the old map");
    std::string big(64 * 1024, 'm');
    std::string why;
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(writeFileSafely(folder / "Stage-M1.map", big, FileDurable, &why), 0);
    }
    EXPECT_EQ(why, "File too large");
    EXPECT_EQ(contents(folder / "Stage-M1.map"), "the old map");
    EXPECT_EQ(folder.entries(), 1u);

    // A folder that cannot be written: the reason is the system's, and nothing changes.
    if (::geteuid() != 0) {
        ::chmod(folder.path.c_str(), 0555);
        EXPECT_EQ(writeFileSafely(folder / "new.bmp", std::string_view("x"), FileQuick, &why), 0);
        EXPECT_EQ(why, "Permission denied");
    }
}

TEST(GrowingFile, AnOlderFileStaysUntilTheNewOneIsPlaced) {
    Folder folder;
    put(folder / "run.keys", "the older recording");
    GrowingFile file;
    std::string why;
    ASSERT_EQ(openGrowingFile(&file, folder / "run.keys", FileDurable, &why), 1) << why;
    EXPECT_EQ(appendGrowingFile(&file, "# ticks so far\n"), 1);
    EXPECT_EQ(contents(folder / "run.keys"), "the older recording");
    // A start that failed: closed unplaced, the older file is all there is.
    EXPECT_EQ(closeGrowingFile(&file), 1);
    EXPECT_EQ(contents(folder / "run.keys"), "the older recording");
    EXPECT_EQ(folder.entries(), 1u);

    ASSERT_EQ(openGrowingFile(&file, folder / "run.keys", FileDurable, &why), 1);
    appendGrowingFile(&file, "1-3 Right\n");
    ASSERT_EQ(placeGrowingFile(&file), 1);
    EXPECT_EQ(contents(folder / "run.keys"), "1-3 Right\n");
    appendGrowingFile(&file, "4 Z\n");
    ASSERT_EQ(placeGrowingFile(&file), 1);
    EXPECT_EQ(contents(folder / "run.keys"), "1-3 Right\n4 Z\n") << "seen before the close";
    EXPECT_EQ(closeGrowingFile(&file), 1);
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(GrowingFile, AFailedAppendIsRememberedAndReported) {
    Folder folder;
    GrowingFile file;
    std::string why;
    ASSERT_EQ(openGrowingFile(&file, folder / "trace.jsonl", FileQuick, &why), 1);
    ASSERT_EQ(placeGrowingFile(&file), 1);
    {
        FileSizeLimit limit(100);
        EXPECT_EQ(appendGrowingFile(&file, std::string(200, 't')), 0);
    }
    EXPECT_EQ(appendGrowingFile(&file, "later\n"), 0) << "a gap would make the file lie";
    EXPECT_EQ(file.reason, "File too large");
    EXPECT_EQ(closeGrowingFile(&file), 0);

    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(openGrowingFile(&file, folder / "fifo", FileQuick, &why), 0);
    EXPECT_EQ(why, "is a FIFO, not a file");
}

TEST(SameFile, OneFileUnderTwoNamesIsTheSameFile) {
    Folder folder;
    put(folder / "a.keys", "x");
    fs::create_symlink(folder / "a.keys", folder / "link.keys");
    fs::create_directory(folder / "sub");
    EXPECT_EQ(sameFile(folder / "a.keys", folder / "link.keys"), 1);
    EXPECT_EQ(sameFile(folder / "a.keys", folder / "sub/../a.keys"), 1);
    EXPECT_EQ(sameFile(folder / "new.jsonl", folder / "sub/../new.jsonl"), 1) << "neither exists";
    EXPECT_EQ(sameFile(folder / "a.keys", folder / "sub/a.keys"), 0);
    EXPECT_EQ(sameFile(folder / "new.jsonl", folder / "new.keys"), 0);
}

} // namespace kavorind
