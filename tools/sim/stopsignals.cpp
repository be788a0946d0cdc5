#include "stopsignals.h"

volatile std::sig_atomic_t stopRequested = 0;

namespace {

void RequestStop(int) {
    stopRequested = 1;
}

} // namespace

void InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}
