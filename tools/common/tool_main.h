#pragma once

namespace kavorind {

// Runs a tool's own main. The tools report their failures as exit codes; what the standard library
// may still throw (memory running out) ends the tool with a message naming it and exit code 1
// rather than an abort.
int runTool(const char* program, int (*toolMain)(int, char**), int argc, char** argv);

} // namespace kavorind
