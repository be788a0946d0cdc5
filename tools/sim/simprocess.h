#pragma once

#include "childprocess.h"

#include <string>
#include <sys/types.h>
#include <vector>

// brevan-sim (or the bridge brevan-fg) run as a child process in a private socket directory,
// which this process's BREVAN_IPC_DIR is pointed at for as long as the object lives. What it
// prints goes to sim.out there.
class SimProcess {
public:
    enum class Program { standIn, flightGearBridge };
    explicit SimProcess(Program program = Program::standIn);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the program with the options and waits until it listens on its socket.
    void Start(const std::vector<std::string>& options, const char* socketName = "UIPCMAIN.sock");
    // SIGTERM and wait; returns the exit status.
    int Stop();
    // SIGKILL and wait: a crash that leaves the socket file behind.
    void Kill();
    bool Running() const { return process_.Running(); }
    // For signals of the test's own (stopping and continuing the stand-in).
    pid_t Pid() const { return process_.Pid(); }

    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

private:
    const char* program_;
    std::string dir_;
    std::string oldIpcDir_;
    bool hadIpcDir_ = false;
    ChildProcess process_;
};
