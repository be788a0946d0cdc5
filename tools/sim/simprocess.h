#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// brevan-sim (or the bridge brevan-fg) run as a child process in a private socket directory,
// which this process's BREVAN_IPC_DIR is pointed at for as long as the object lives.
class SimProcess {
public:
    enum class Program { standIn, flightGearBridge };
    explicit SimProcess(Program program = Program::standIn);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the program with the options and waits until its socket is there.
    void Start(const std::vector<std::string>& options, const char* socketName = "UIPCMAIN.sock");
    // SIGTERM and wait; returns the exit status.
    int Stop();
    // SIGKILL and wait: a crash that leaves the socket file behind.
    void Kill();
    bool Running() const { return pid_ > 0; }
    // For signals of the test's own (stopping and continuing the stand-in).
    pid_t Pid() const { return pid_; }

    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

private:
    int Wait();

    const char* program_;
    std::string dir_;
    std::string oldIpcDir_;
    bool hadIpcDir_ = false;
    pid_t pid_ = -1;
};

// Runs brevan-sim with the arguments to its end; the exit status and what it printed.
struct SimRun {
    int status;
    std::string output;
};
SimRun RunSim(const std::vector<std::string>& arguments);
