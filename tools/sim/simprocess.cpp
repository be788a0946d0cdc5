#include "simprocess.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

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
    process_.End();
    if (hadIpcDir_)
        ::setenv("BREVAN_IPC_DIR", oldIpcDir_.c_str(), 1);
    else
        ::unsetenv("BREVAN_IPC_DIR");
    std::filesystem::remove_all(dir_);
}

void SimProcess::Start(const std::vector<std::string>& options, const char* socketName) {
    const std::string name = std::filesystem::path(program_).filename().string();
    std::vector<std::string> arguments{program_};
    arguments.insert(arguments.end(), options.begin(), options.end());
    process_.Start({.arguments = arguments, .outputFile = Path("sim.out")});
    // Its announcement, not the socket file: a killed run leaves a stale file behind.
    if (process_.WaitForOutput(name + ": listening on " + Path(socketName),
                               std::chrono::seconds(5)))
        return;
    std::ifstream out(Path("sim.out"));
    const std::string said{std::istreambuf_iterator<char>(out), {}};
    throw std::runtime_error(
        name + (Running() ? " did not start listening: " : " stopped at start: ") + said);
}

int SimProcess::Stop() {
    return ExitCode(process_.End());
}

void SimProcess::Kill() {
    process_.Kill();
}
