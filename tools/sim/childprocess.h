#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// What a child process runs, with what, where, and where its output goes.
struct ChildCommand {
    std::vector<std::string> arguments;     // the program first; looked up on PATH without a slash
    std::string outputFile{};               // standard output; /dev/null when empty
    std::string errorFile{};                // standard error; the output's file when empty
    std::vector<std::string> environment{}; // NAME=value each; this process's when empty
    std::string directory{};                // this process's when empty
};

// A process that a test or a benchmark starts, and everything that process starts in turn.
// It runs in a process group of its own with its output in files, never in this process's
// standard output or error (a test runner waits until those close). It dies with this
// process even when this one is killed outright, and the object ends it on every path:
// SIGTERM to its group, SIGKILL after a grace time, then whatever is left of the group.
// Started from the thread that outlives it (the kernel's parent-death signal follows the
// thread that forked).
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { End(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Ends the one before, if any. Throws std::runtime_error when it cannot start, a missing
    // program included.
    void Start(const ChildCommand& command);
    // Waits at most `limit` for its end: then its wait status, and the rest of its group is
    // killed; nothing while it still runs.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    // Waits at most `limit` until its output file holds `text`; false when it ended first or
    // the time ran out.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // The wait status of its end; ends it first when it still runs.
    int End(std::chrono::milliseconds grace = std::chrono::seconds(5));
    int Kill();

    bool Running() const { return pid_ > 0; }
    // For signals of the test's own, such as stopping and continuing it.
    pid_t Pid() const { return pid_; }

private:
    std::optional<int> WaitMs(int timeoutMs);
    int Collect();

    pid_t pid_ = -1;
    int pidFd_ = -1;
    pid_t guard_ = -1;
    int guardFd_ = -1;
    int status_ = 0;
    std::string outputFile_;
};

// The exit code in a wait status; -1 after a death by a signal.
int ExitCode(int status);
