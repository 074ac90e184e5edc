#pragma once
#include <string>
#include <vector>

namespace kavorind {

// Everything the search for the content folder looks at, gathered once so the choice can be made
// (and tested) without the real environment.
struct DataSearchInputs {
    std::string dataOption;       // --data DIR
    std::string dataVariable;     // $KAVORIND_DATA
    std::string workingFolder;    // the working directory
    std::string executableFolder; // the folder of the running program
    std::string dataHome;         // $XDG_DATA_HOME
    std::string home;             // $HOME
};

// A folder the search may choose. A folder named explicitly is taken as it is; any other counts
// only when it holds "Pal.Pal".
struct DataCandidate {
    std::string folder;
    int named = 0;
};

// The outcome: the content folder (absolute), or none and every folder looked in.
struct DataChoice {
    int found = 0;
    std::string folder;
    std::vector<std::string> searched;
};

// The folders in the order they are tried: --data, $KAVORIND_DATA, the working directory, "data"
// beside the program, "../share/kavorind" from the program's folder (so an installed tree may
// move), then $XDG_DATA_HOME/kavorind (~/.local/share/kavorind when unset or empty). Empty inputs
// give no candidate.
std::vector<DataCandidate> dataCandidates(const DataSearchInputs& inputs);
// The first candidate that is named or holds "Pal.Pal" (its name matched without regard to case).
// Nothing falls through once a folder is chosen: a folder missing other files is still the one.
DataChoice chooseDataFolder(const DataSearchInputs& inputs);
// 1 when the folder holds "Pal.Pal", its name matched the way the game matches content names.
int folderHoldsPalette(const std::string& folder);
// The real inputs: the environment, the working directory and the running program's folder.
DataSearchInputs gatherDataSearchInputs(const std::string& dataOption);

} // namespace kavorind
