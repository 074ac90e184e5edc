#include "extras/screenshot_place.h"

#include "extras/player_files.h"
#include "platform/file_io.h"
#include "platform/system_places.h"

#include <cstdio>
#include <cstdlib>

namespace kavorind {

namespace {

// No player writes a folder list this long; a larger file is not one.
constexpr uint64_t userDirsLimit = 64 * 1024;

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The value as the shell reads it: quotes taken off, a backslash keeping the character after it.
std::string unquoted(std::string_view value) {
    std::string out;
    char quote = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size() && quote != '\'')
            out += value[++i];
        else if ((c == '"' || c == '\'') && (!quote || quote == c))
            quote = quote ? 0 : c;
        else
            out += c;
    }
    return out;
}

// "$HOME/Pictures" or "/srv/pictures" as a folder; "" for anything else, and for home itself.
std::string folderFromSetting(const std::string& value, const char* home) {
    std::string folder;
    if (!value.empty() && value[0] == '/')
        folder = value;
    else if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/') && home &&
             home[0] == '/')
        folder = std::string(home) + value.substr(5);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (home && folder == std::string(home))
        return "";
    return folder == "/" ? "" : folder;
}

} // namespace

std::string userDirsPath(const char* configHome, const char* home) {
    if (configHome && configHome[0] == '/')
        return std::string(configHome) + "/user-dirs.dirs";
    if (home && *home)
        return std::string(home) + "/.config/user-dirs.dirs";
    return "";
}

std::string picturesFolderFromUserDirs(std::string_view text, const char* home) {
    std::string value;
    int named = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.rfind("export ", 0) == 0)
            line = trimmed(line.substr(7));
        const std::string_view key = "XDG_PICTURES_DIR=";
        if (line.rfind(key, 0) == 0) {
            value = unquoted(line.substr(key.size()));
            named = 1;
        }
    }
    return named ? folderFromSetting(value, home) : "";
}

std::string screenshotFolder(const ScreenshotEnvironment& environment) {
    if (!environment.userFolder.empty())
        return environment.userFolder + "/screenshots";
    std::string pictures;
    if (environment.picturesDir)
        pictures = folderFromSetting(environment.picturesDir, environment.home);
    if (pictures.empty())
        pictures = picturesFolderFromUserDirs(environment.userDirsText, environment.home);
    if (!pictures.empty())
        return pictures + "/kavorind";
    const std::string data = playerDataFolder(environment.dataHome, environment.home);
    return data.empty() ? "" : data + "/screenshots";
}

ScreenshotEnvironment screenshotEnvironmentNow() {
    ScreenshotEnvironment environment;
    environment.picturesDir = std::getenv("XDG_PICTURES_DIR");
    environment.configHome = std::getenv("XDG_CONFIG_HOME");
    environment.dataHome = std::getenv("XDG_DATA_HOME");
    environment.home = std::getenv("HOME");
    environment.userFolder = platformUserFolder();
    const std::string path = userDirsPath(environment.configHome, environment.home);
    FileBytes bytes;
    std::string why;
    // A missing or unreadable list leaves the data folder to take the pictures.
    if (!path.empty() && readRegularFile(path, userDirsLimit, &bytes, &why))
        environment.userDirsText.assign(reinterpret_cast<const char*>(bytes.data.get()),
                                        bytes.size);
    return environment;
}

std::string screenshotFileName(const std::tm& localTime, int tick, int attempt) {
    char name[96];
    std::snprintf(name, sizeof name, "kavorind-%04d%02d%02d-%02d%02d%02d-t%d",
                  localTime.tm_year + 1900, localTime.tm_mon + 1, localTime.tm_mday,
                  localTime.tm_hour, localTime.tm_min, localTime.tm_sec, tick);
    std::string text = name;
    if (attempt > 1)
        text += "-" + std::to_string(attempt);
    return text + ".png";
}

} // namespace kavorind
