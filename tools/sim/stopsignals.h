#pragma once

#include <csignal>

// SIGINT and SIGTERM ask the server's loop to end; a peer that hangs up raises no SIGPIPE.
// No SA_RESTART: a wait in poll ends at once.
void InstallStopSignals();
// Set once either signal has arrived.
extern volatile std::sig_atomic_t stopRequested;
