// The owner of the tests' processes: what a child started goes with it, a child deaf to
// SIGTERM still ends, a missing program is named; and a test that fails, throws or is
// killed outright while the stand-in runs, and a script with two processes of its own,
// leaves nothing running and nothing holding its output.

#include "builders.h"
#include "childprocess.h"
#include "rowname.h"
#include "scratch.h"
#include "simprocess.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Debian 12's header declares its functions without C linkage.
extern "C" {
#include <sys/pidfd.h>
}

#include <gmock/gmock.h>
#include <gtest/gtest.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

int MsUntil(Clock::time_point deadline) {
    return static_cast<int>(
        std::max<std::int64_t>(0, (deadline - Clock::now()) / std::chrono::milliseconds(1)));
}

// Whether the process has ended by the deadline. One still running then is killed, so that
// the check leaves nothing behind either.
bool EndsBy(pid_t pid, Clock::time_point deadline) {
    const int fd = ::pidfd_open(pid, 0);
    if (fd < 0)
        return true;
    pollfd ended{fd, POLLIN, 0};
    const bool ends = ::poll(&ended, 1, MsUntil(deadline)) > 0;
    if (!ends)
        ::pidfd_send_signal(fd, SIGKILL, nullptr, 0);
    ::close(fd);
    return ends;
}

// The processes whose environment holds the marker (zombies have none left).
std::vector<pid_t> Marked(const std::string& marker) {
    std::vector<pid_t> marked;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") == std::string::npos &&
            ReadText(entry.path() / "environ").find(marker) != std::string::npos)
            marked.push_back(std::stoi(name));
    }
    return marked;
}

// The prelude of the child's script, and the signal that ends it.
using EndRow = std::tuple<Name, const char*, int>;

class ChildEnd : public ::testing::TestWithParam<EndRow> {};

TEST_P(ChildEnd, TakesWhatTheChildStartedWithIt) {
    const auto& [name, prelude, endingSignal] = GetParam();
    Scratch scratch;
    ChildProcess child;
    child.Start(
        {.arguments = {"/bin/sh", "-c", std::string(prelude) + "sleep 60 & echo $! started; wait"},
         .outputFile = scratch.Path("out")});
    ASSERT_TRUE(child.WaitForOutput("started", 5s));
    const pid_t sleeper = std::stoi(ReadText(scratch.Path("out")));
    const int status = child.End(200ms);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == endingSignal) << status;
    EXPECT_TRUE(EndsBy(sleeper, Clock::now() + 5s));
}

INSTANTIATE_TEST_SUITE_P(Signals, ChildEnd,
                         ::testing::Values(EndRow{"HeedsSigterm", "", SIGTERM},
                                           // Killed once the grace time is over.
                                           EndRow{"IgnoresSigterm", "trap '' TERM; ", SIGKILL}),
                         RowName);

TEST(ChildProcessTest, AMissingProgramIsNamedWithTheReason) {
    ChildProcess child;
    EXPECT_THAT([&] { child.Start({.arguments = {"/nonexistent/brevan"}}); },
                ::testing::ThrowsMessage<std::runtime_error>(
                    "cannot start /nonexistent/brevan: No such file or directory"));
    EXPECT_FALSE(child.Running());
}

// Run by the check below alone, whose switch says how it ends: it fails, throws or waits to
// be killed while the stand-in runs, and a script with two processes of its own.
TEST(DeliberateFailure, DISABLED_EndsWhileItsProcessesRun) {
    const char* ending = std::getenv("BREVAN_DELIBERATE_END");
    const std::string end = ending ? ending : "fail";
    SimProcess sim;
    sim.Start({});
    ChildProcess script;
    script.Start({.arguments = {"/bin/sh", "-c", "sleep 60 & sleep 60 & echo started; wait"},
                  .outputFile = sim.Path("script.out")});
    ASSERT_TRUE(script.WaitForOutput("started", 5s));
    std::cout << "running" << std::endl;
    if (end == "throw")
        throw std::runtime_error("deliberately");
    while (end == "wait")
        ::pause();
    FAIL() << "deliberately";
}

// Reads what the pipe brings until `said` holds the text, or to its end when the text is
// empty; false when the time runs out first.
bool ReadUntil(int fd, const std::string& text, std::string& said) {
    const Clock::time_point deadline = Clock::now() + 10s;
    while (text.empty() || said.find(text) == std::string::npos) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, MsUntil(deadline)) <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            return text.empty();
        said.append(buffer, std::max<ssize_t>(got, 0));
    }
    return true;
}

// How the test ends, and whether it is killed outright, by SIGKILL, as a test runner's
// time-out does.
using FailureRow = std::tuple<Name, const char*, bool>;

class LeftBehind : public ::testing::TestWithParam<FailureRow> {};

TEST_P(LeftBehind, NothingOnceTheTestHasEnded) {
    const auto& [name, end, killed] = GetParam();
    Scratch scratch;
    // The test's output is a pipe, as a test runner's is; its reader first, so that the
    // test's side can open.
    const std::string output = scratch.Path("output");
    ASSERT_EQ(::mkfifo(output.c_str(), 0600), 0);
    const int reader = ::open(output.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::unique_ptr<const int, void (*)(const int*)> closeReader(
        &reader, [](const int* fd) { ::close(*fd); });
    // Every process the test starts inherits the marker.
    const std::string marker = "BREVAN_LEFTOVER_MARK=" + std::to_string(::getpid()) + name.text;
    std::vector<std::string> environment{marker, std::string("BREVAN_DELIBERATE_END=") + end};
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    ChildProcess test;
    test.Start({.arguments = {"/proc/self/exe", "--gtest_also_run_disabled_tests",
                              "--gtest_filter=DeliberateFailure.*"},
                .outputFile = output,
                .environment = environment});
    std::string said;
    if (killed) {
        ASSERT_TRUE(ReadUntil(reader, "running", said)) << said;
        // The test, the stand-in, the script and its two.
        EXPECT_GE(Marked(marker).size(), 5u);
        ::kill(test.Pid(), SIGKILL);
    }

    EXPECT_TRUE(ReadUntil(reader, "", said)) << said;
    EXPECT_THAT(said, ::testing::HasSubstr("running"));
    const std::optional<int> status = test.Wait(10s);
    ASSERT_TRUE(status);
    EXPECT_EQ(killed ? WTERMSIG(*status) : ExitCode(*status), killed ? SIGKILL : 1);
    std::string survivors;
    const Clock::time_point deadline = Clock::now() + 5s;
    for (const pid_t pid : Marked(marker)) {
        std::string command = ReadText("/proc/" + std::to_string(pid) + "/cmdline");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (!EndsBy(pid, deadline))
            survivors += command + "\n";
    }
    EXPECT_EQ(survivors, "");
}

INSTANTIATE_TEST_SUITE_P(Endings, LeftBehind,
                         ::testing::Values(FailureRow{"FailedAssertion", "fail", false},
                                           FailureRow{"Exception", "throw", false},
                                           FailureRow{"KilledOutright", "wait", true}),
                         RowName);

} // namespace
