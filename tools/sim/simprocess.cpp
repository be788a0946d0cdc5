#include "simprocess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<char*> Argv(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

} // namespace

SimProcess::SimProcess(Program program)
    : program_(program == Program::standIn ? BREVAN_SIM_PATH : BREVAN_FG_PATH) {
    std::string pattern = (std::filesystem::temp_directory_path() / "brevansimXXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory");
    dir_ = pattern;
    if (const char* old = std::getenv("BREVAN_IPC_DIR")) {
        hadIpcDir_ = true;
        oldIpcDir_ = old;
    }
    ::setenv("BREVAN_IPC_DIR", dir_.c_str(), 1);
}

SimProcess::~SimProcess() {
    if (Running())
        Kill();
    if (hadIpcDir_)
        ::setenv("BREVAN_IPC_DIR", oldIpcDir_.c_str(), 1);
    else
        ::unsetenv("BREVAN_IPC_DIR");
    std::filesystem::remove_all(dir_);
}

void SimProcess::Start(const std::vector<std::string>& options, const char* socketName) {
    const std::string name = std::filesystem::path(program_).filename().string();
    const std::string announcement = name + ": listening on " + Path(socketName);
    std::vector<std::string> arguments{program_};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv = Argv(arguments);
    const std::string output = Path("sim.out");

    // Opened before the fork: the child of a threaded process may only make plain system calls.
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0)
        throw std::runtime_error("cannot write " + output);
    pid_ = ::fork();
    if (pid_ == 0) {
        if (::dup2(out, STDOUT_FILENO) >= 0)
            ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out);
    if (pid_ < 0)
        throw std::runtime_error("cannot start " + name);
    // Its announcement, not the socket file: a killed run leaves a stale file behind.
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error(name + " stopped at start");
        }
        std::ifstream out(output);
        const std::string text{std::istreambuf_iterator<char>(out), {}};
        if (text.find(announcement) != std::string::npos)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error(name + " did not start listening");
}

int SimProcess::Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

int SimProcess::Stop() {
    ::kill(pid_, SIGTERM);
    const int status = Wait();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SimProcess::Kill() {
    ::kill(pid_, SIGKILL);
    Wait();
}

SimRun RunSim(const std::vector<std::string>& options) {
    // Bounded, so a stand-in that should have refused to run cannot hang the test.
    std::string command = std::string("timeout 10 ") + BREVAN_SIM_PATH;
    for (const std::string& o : options)
        command += " '" + o + "'";
    command += " 2>&1";
    SimRun run{-1, {}};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
