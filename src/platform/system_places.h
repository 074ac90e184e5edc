#pragma once
#include <string>

namespace kavorind {

// The folder of the running program (where "data" beside it is looked for); empty when unknown.
std::string platformExecutableFolder();
// Where the player's own files live when the system names one folder for them: on Windows the
// folder SDL_GetPrefPath gives (%APPDATA%\kavorind), made when missing. Empty on systems whose
// XDG variables decide instead (the settings under XDG_CONFIG_HOME, the scores under
// XDG_DATA_HOME).
std::string platformUserFolder();

// The first call of every program into the platform, before anything is printed: on Windows the
// messages reach the console the program was started from, in UTF-8, and a crash ends the program
// without a dialog. Nothing happens elsewhere.
void platformProgramStarts();

} // namespace kavorind
