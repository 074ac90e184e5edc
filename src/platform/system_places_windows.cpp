#include "platform/system_places.h"
#include "platform/wide_text_windows.h"

#include <SDL.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <vector>

namespace kavorind {

namespace {

int isAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return 0;
    return 1;
}

// The C library and std::filesystem of this build read narrow paths in the system's ANSI code
// page, not UTF-8; an existing folder whose name has letters outside ASCII (a user's own name in
// the profile's path) is therefore named by its short 8.3 form, which is ASCII and means the same
// folder. Left as it is when the system keeps no short names.
std::string asciiFormOf(const std::string& folder) {
    if (isAscii(folder))
        return folder;
    const std::wstring wide = wideFromUtf8(folder);
    std::vector<wchar_t> shortName(32768);
    const DWORD length =
        GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (length == 0 || length >= shortName.size())
        return folder;
    std::string narrow = utf8FromWide(shortName.data());
    return isAscii(narrow) ? narrow : folder;
}

void dropTrailingSeparator(std::string* folder) {
    while (folder->size() > 3 && (folder->back() == '\\' || folder->back() == '/'))
        folder->pop_back();
}

UINT consoleCodePageBefore = 0;
char outputBuffer[4096];
char errorBuffer[4096];

// The console keeps its code page after the program ends: the one it had goes back, once what
// is still buffered has been written in UTF-8.
void restoreConsoleCodePage() {
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(consoleCodePageBefore);
}

// The C library in text mode passes what goes to a console through the C locale's code page
// byte by byte (UTF-8 comes out as Latin-1 letters, under Wine at least); in binary mode the bytes
// reach the console as they are, and a buffer makes each message one write, so that no letter is
// split between writes. The console itself starts a new line at a bare line feed.
void writeBytesToConsole(FILE* stream, char* buffer, size_t size) {
    DWORD mode = 0;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return;
    std::fflush(stream);
    _setmode(_fileno(stream), _O_BINARY);
    std::setvbuf(stream, buffer, _IOFBF, size);
}

// A program started from a console (the game is a windowed program, which gets none of its own)
// writes --help and its messages there; output already sent to a file or pipe stays where it is.
void reachParentConsole() {
    const int hasOutput = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const int hasErrors = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((!hasOutput || !hasErrors) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!hasOutput)
            std::freopen("CONOUT$", "w", stdout);
        if (!hasErrors)
            std::freopen("CONOUT$", "w", stderr);
    }
    // The game's text is UTF-8 (the Korean start-up failure line among it).
    const UINT before = GetConsoleOutputCP();
    if (before != 0 && before != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePageBefore = before;
        std::atexit(restoreConsoleCodePage);
    }
    writeBytesToConsole(stdout, outputBuffer, sizeof outputBuffer);
    writeBytesToConsole(stderr, errorBuffer, sizeof errorBuffer);
}

} // namespace

std::string platformExecutableFolder() {
    std::vector<wchar_t> name(32768);
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size())
        return "";
    std::string path = utf8FromWide(name.data());
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "" : asciiFormOf(path.substr(0, separator));
}

std::string platformUserFolder() {
    char* pref = SDL_GetPrefPath("", "kavorind");
    if (!pref)
        return "";
    std::string folder = pref;
    SDL_free(pref);
    dropTrailingSeparator(&folder);
    return asciiFormOf(folder);
}

void platformProgramStarts() {
    reachParentConsole();
    // A crash ends the program rather than waiting on a dialog nobody may see.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
}

} // namespace kavorind
