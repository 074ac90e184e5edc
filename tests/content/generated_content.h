#pragma once
// The default content, written once per test program by the real generator into a folder of its
// own, and the file names the program reads.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace kavorind {

namespace generated {

namespace fs = std::filesystem;

// Writes the content into a fresh folder under the system's temporary folder; "" on failure.
inline std::string writeInto(const std::string& leaf) {
    fs::path dir =
        fs::temp_directory_path() / ("kavorind-content-" + std::to_string(getpid()) + "-" + leaf);
    std::error_code problem;
    fs::remove_all(dir, problem);
    std::string command =
        std::string(KAVORIND_BUILD_DIR "/kavorind-content '") + dir.string() + "'";
    if (std::system(command.c_str()) != 0)
        return "";
    return dir.string();
}

// A folder this program wrote for itself, removed when the program ends.
struct OwnFolder {
    std::string dir = writeInto("shared");
    ~OwnFolder() {
        std::error_code problem;
        if (!dir.empty())
            fs::remove_all(dir, problem);
    }
};

// The default content, only ever read: the folder ctest writes once before the tests that need
// it (KAVORIND_DEFAULT_CONTENT), or else one written by the first call and shared by the tests
// of this program.
inline const std::string& folder() {
    static const std::string shared = [] {
        const char* written = std::getenv("KAVORIND_DEFAULT_CONTENT");
        return written && *written ? std::string(written) : std::string();
    }();
    if (!shared.empty())
        return shared;
    static const OwnFolder own;
    return own.dir;
}

inline std::vector<uint8_t> bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// Start-up's files, in the order it reads them.
inline std::vector<std::string> startUpNames() {
    std::vector<std::string> names = {"Pal.Pal"};
    for (const char* kind : {"B", "M", "F"})
        for (int i = 1; i <= 3; ++i)
            names.push_back(std::string("Stage-") + kind + std::to_string(i) + ".map");
    for (const char* n : {"MyCap.spr", "MyACap.spr", "Hit.spr"})
        names.push_back(n);
    for (int i = 0; i < 8; ++i)
        names.push_back("Enemy" + std::to_string(i) + ".spr");
    for (int i = 0; i < 8; ++i)
        names.push_back("Weapon" + std::to_string(i) + ".spr");
    for (int i = 0; i < 3; ++i)
        names.push_back("Item" + std::to_string(i) + ".spr");
    for (int i = 0; i < 17; ++i)
        names.push_back("Dead" + std::to_string(i) + ".spr");
    for (const char* n : {"infobarf.spr", "infobare.spr", "Number.spr", "English.spr",
                          "Clear-bk.bmp", "SWIcon.spr"})
        names.push_back(n);
    for (int i = 0; i < 8; ++i)
        names.push_back("Effect" + std::to_string(i) + ".Wav");
    for (int i = 0; i < 3; ++i)
        names.push_back("Music" + std::to_string(i) + ".Wav");
    return names;
}

// Files read as the program starts, by the menu, and by the ending.
inline std::vector<std::string> otherNames() {
    return {"C-Eff.wav",  "C-Music.wav", "Ending-s.spr", "LOGO.BMP",   "open-bk.bmp",
            "open-s.bmp", "open-c.spr",  "Open-M.wav",   "Menu-b.BMP", "Menu-s.BMP",
            "MENU-B.WAV", "MENU-S.WAV",  "Ending-B.WAV"};
}

inline std::vector<std::string> allNames() {
    std::vector<std::string> names = startUpNames();
    for (const std::string& n : otherNames())
        names.push_back(n);
    return names;
}

inline std::string extensionOf(const std::string& name) {
    std::string ext = name.substr(name.rfind('.') + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace generated

} // namespace kavorind
