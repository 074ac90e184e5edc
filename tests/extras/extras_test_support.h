#pragma once
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#ifdef _WIN32
#include <process.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace kavorind {

inline int processNumber() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

// A fresh folder per test, removed afterwards.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        path = std::filesystem::temp_directory_path() /
               ("kavorind-extras-" + std::to_string(processNumber()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void putFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

#ifndef _WIN32
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
#endif

} // namespace kavorind
