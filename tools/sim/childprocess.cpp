#include "childprocess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

// Debian 12's header declares its functions without C linkage.
extern "C" {
#include <sys/pidfd.h>
}

extern char** environ;

namespace {

// A file descriptor, closed when it goes.
class Fd {
public:
    explicit Fd(int fd = -1)
        : fd_(fd) {}
    Fd(Fd&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::runtime_error SystemError(const std::string& what, int error) {
    return std::runtime_error(what + ": " + std::strerror(error));
}

// Never inherited past an exec: only the child's own dup2 copies reach its program.
Fd Open(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0)
        throw SystemError("cannot open " + path, errno);
    return Fd(fd);
}

std::pair<Fd, Fd> Pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw SystemError("cannot make a pipe", errno);
    return {Fd(ends[0]), Fd(ends[1])};
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

void ChildProcess::Start(const ChildCommand& command) {
    End();
    // Everything made before the fork: the child of a threaded process may only make plain
    // system calls until its exec.
    std::vector<std::string> arguments = command.arguments;
    std::vector<std::string> environment = command.environment;
    if (environment.empty())
        for (char** variable = environ; *variable; ++variable)
            environment.emplace_back(*variable);
    const std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);
    outputFile_ = command.outputFile.empty() ? "/dev/null" : command.outputFile;
    const Fd in = Open("/dev/null", O_RDONLY);
    const Fd out = Open(outputFile_, O_WRONLY | O_CREAT | O_TRUNC);
    const Fd err =
        command.errorFile.empty() ? Fd() : Open(command.errorFile, O_WRONLY | O_CREAT | O_TRUNC);
    auto [report, reportEnd] = Pipe(); // says why the exec failed; closed by a good one
    auto [watch, watchEnd] = Pipe();
    const char* directory = command.directory.empty() ? nullptr : command.directory.c_str();

    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::setpgid(0, 0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        // Killed with this process; one that died before the request took hold is seen here.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && ::getppid() == parent &&
            ::dup2(in.get(), STDIN_FILENO) >= 0 && ::dup2(out.get(), STDOUT_FILENO) >= 0 &&
            ::dup2(err.get() >= 0 ? err.get() : out.get(), STDERR_FILENO) >= 0 &&
            (!directory || ::chdir(directory) == 0)) {
            // No descriptor of this process (a test's sockets and pipes) reaches the program.
            ::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
            ::execvpe(argv[0], argv.data(), envp.data());
        }
        const int error = errno;
        if (::write(reportEnd.get(), &error, sizeof error) < 0)
            ::_exit(126);
        ::_exit(127);
    }
    if (child < 0)
        throw SystemError("cannot start " + arguments[0], errno);
    // Here too: a signal to the group may come before the child has made it.
    ::setpgid(child, child);
    pid_ = child;
    pidFd_ = ::pidfd_open(child, 0);
    const int pidFdError = errno;
    guardFd_ = watchEnd.release();
    if (pidFd_ < 0) {
        Collect();
        throw SystemError("cannot watch " + arguments[0], pidFdError);
    }

    // The guard outlives this process just long enough to kill the child's group, so that
    // what the child started goes too when this process is killed outright: the pipe's end
    // of file tells it. A group of its own keeps it out of reach of signals to this
    // process's group (Ctrl+C) and to the child's.
    guard_ = ::fork();
    if (guard_ == 0) {
        ::setpgid(0, 0);
        ::dup2(watch.get(), STDIN_FILENO);
        ::close_range(STDIN_FILENO + 1, ~0U, 0);
        char word = 0;
        while (::read(STDIN_FILENO, &word, 1) < 0 && errno == EINTR) {
        }
        ::kill(-child, SIGKILL);
        ::_exit(0);
    }
    const int guardError = errno;
    ::close(reportEnd.release()); // the child's copy alone then
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report.get(), &error, sizeof error)) < 0 && errno == EINTR) {
    }
    if (guard_ < 0 || got > 0) {
        const int reason = guard_ < 0 ? guardError : error;
        Collect();
        throw SystemError("cannot start " + arguments[0], reason);
    }
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
    return WaitMs(static_cast<int>(std::clamp<std::int64_t>(limit.count(), 0, INT_MAX)));
}

std::optional<int> ChildProcess::WaitMs(int timeoutMs) {
    if (!Running())
        return status_;
    pollfd ended{pidFd_, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&ended, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready <= 0)
        return std::nullopt;
    return Collect();
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        std::ifstream file(outputFile_);
        const std::string said{std::istreambuf_iterator<char>(file), {}};
        if (said.find(text) != std::string::npos)
            return true;
        if (!Running() || std::chrono::steady_clock::now() >= deadline)
            return false;
        // Its end or a short while, whichever comes first; then the file once more.
        Wait(std::chrono::milliseconds(10));
    }
}

int ChildProcess::End(std::chrono::milliseconds grace) {
    if (!Running())
        return status_;
    // A stopped child goes on first, then takes its SIGTERM. A SIGCONT sent after the SIGTERM
    // could reach a child that is already exiting and being stopped by a leak checker's tracer:
    // it would cancel that stop and leave the tracer, and the child, waiting for ever.
    ::kill(-pid_, SIGCONT);
    ::kill(-pid_, SIGTERM);
    if (Wait(grace))
        return status_;
    return Kill();
}

int ChildProcess::Kill() {
    if (Running())
        Collect();
    return status_;
}

int ChildProcess::Collect() {
    // Before the reap, while the child's number still names its group: whatever it left
    // running goes with it.
    ::kill(-pid_, SIGKILL);
    if (guard_ > 0) {
        ::kill(guard_, SIGKILL);
        while (::waitpid(guard_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (guardFd_ >= 0)
        ::close(guardFd_);
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    if (pidFd_ >= 0)
        ::close(pidFd_);
    pid_ = guard_ = -1;
    pidFd_ = guardFd_ = -1;
    return status_;
}

int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
