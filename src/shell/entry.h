#pragma once
#include "shell/config_file.h"

namespace kavorind {

// The two start-up failures, shown with the caption "Error" and also written to stderr.
constexpr const char* windowFailureText = "프로그램을 초기화 할수 없습니다.";
constexpr const char* startUpFailureText = "Data 를 초기화 할수 없습니다.";

// Sets the display settings (the window mode and scaling of the settings), creates the main window
// and runs start-up from the content in the working directory. 1 when the message loop may run; 0
// after a failure was reported (the game then ends with exitFailure).
int enterProgram(const GameSettings& settings = GameSettings{});
// The message loop: takes and dispatches messages, draws in the idle step when the queue is empty
// and sleeps when there is nothing to draw. Returns the exit code carried by WM_QUIT.
int runMessageLoop();
// Dispatches every message that waits now. Returns 0 once WM_QUIT was taken (its code goes to
// *exitCode), 1 otherwise.
int dispatchWaitingMessages(int* exitCode);
// Exit codes: a finished game, a failure to start or to go on, a command line not understood.
constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// The whole program: the command line, the settings, the search for the content folder (which
// becomes the working directory), enterProgram, then the loop.
int kavorindMain(int argc, const char* const* argv);

} // namespace kavorind
