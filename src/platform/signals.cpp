#include "platform/signals.h"

#include <csignal>

namespace kavorind {

namespace {

// Written by the handler, read and cleared by the main thread: nothing else is safe in a handler.
volatile std::sig_atomic_t hangUpArrived = 0;

void noteHangUp(int) {
    hangUpArrived = 1;
}

} // namespace

void platformQuitOnHangUp() {
    struct sigaction current {};
    if (::sigaction(SIGHUP, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = noteHangUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGHUP, &action, nullptr);
}

int platformTakeHangUp() {
    if (!hangUpArrived)
        return 0;
    hangUpArrived = 0;
    return 1;
}

} // namespace kavorind
