// The program's link against the real stand-in, over the POSIX transport.

#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// Short waits so that a dead or silent stand-in is noticed in well under a second.
constexpr LinkTiming quick{50ms, 1ms, 9};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class LinkIntegrationTest : public ::testing::Test {
protected:
    SimProcess sim;

    std::unique_ptr<FSUPIC> Connect(LinkTiming timing = {}) {
        return std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), timing);
    }
};

TEST_F(LinkIntegrationTest, ReadCycleGivesTheStandInsValuesInProgramUnits) {
    sim.Start({"--lat", "47.25", "--lon", "-8.5", "--heading", "270", "--ground", "0.5",
               "--altitude", "1200", "--speed", "0", "--strength", "40", "--sim", "3"});
    const auto link = Connect();
    ASSERT_EQ(link->LinkResult(), resultOkay) << ResultText(link->LinkResult());
    EXPECT_EQ(link->Link().FsVersion(), 3u);
    EXPECT_EQ(link->Link().FsuipcVersion(), 0x19980005u);

    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetLat(), 47.25, 1e-9);
    EXPECT_NEAR(link->GetLon(), -8.5, 1e-9);
    EXPECT_EQ(link->GetGroundAlt(), 0.5);
    EXPECT_GE(link->GetAltitude(), 1199);
    EXPECT_LE(link->GetAltitude(), 1201);
    EXPECT_EQ(link->GetHeading(), -90.0);
    EXPECT_TRUE(link->ThermalBlockPresent());
    EXPECT_EQ(link->GetMsStrength(), 40);
}

TEST_F(LinkIntegrationTest, GroundComesFromTheTerrainAndTheBlockCanBeAbsent) {
    sim.Start({"--block", "off", "--speed", "0"});
    const auto link = Connect();
    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    EXPECT_FALSE(link->ThermalBlockPresent());
    EXPECT_GE(link->GetGroundAlt(), 40);
    EXPECT_LE(link->GetGroundAlt(), 1000);
}

TEST_F(LinkIntegrationTest, WrongVersionsAreRefused) {
    sim.Start({"--fsuipc-version", "0x19980004"});
    EXPECT_EQ(Connect()->LinkResult(), resultWrongVersion);
    sim.Stop();
    sim.Start({"--fsuipc-version", "0x19980004", "--fs98"}, "FS98MAIN.sock");
    EXPECT_EQ(Connect()->LinkResult(), resultNoSimOnServer);
}

TEST_F(LinkIntegrationTest, MoveAircraftWritesTheNewPositionAndTheStandInFliesOnFromThere) {
    const std::string log = sim.Path("requests.log");
    sim.Start({"--log", log, "--speed", "0"});
    const auto link = Connect();
    link->ReadCycle();
    link->MoveAircraft(-33.5, 151.25);
    EXPECT_NEAR(link->GetLat(), -33.5, 1e-9);

    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetLat(), -33.5, 1e-9);
    EXPECT_NEAR(link->GetLon(), 151.25, 1e-9);

    link->SetMsStrength(0); // one more exchange, so the log holds the move
    const std::string text = ReadAll(log);
    EXPECT_NE(text.find(R"("op":"write","offset":1376,"size":16,"bytes":")"), std::string::npos)
        << text;
    // The handshake's version write is logged with its bytes.
    EXPECT_NE(text.find(R"("op":"write","offset":13066,"size":2,"bytes":"ec03"})"),
              std::string::npos);
}

TEST_F(LinkIntegrationTest, StrengthWrittenLiftsTheGlider) {
    sim.Start({"--ground", "0", "--speed", "0"});
    const auto link = Connect();
    link->ReadCycle();
    const double before = link->GetAltitude();
    link->SetMsStrength(255);
    link->ReadCycle();
    EXPECT_EQ(link->GetMsStrength(), 255);
    std::this_thread::sleep_for(300ms);
    link->ReadCycle();
    EXPECT_GT(link->GetAltitude(), before);
}

TEST_F(LinkIntegrationTest, RestartedStandInIsReconnectedWithAFreshArea) {
    sim.Start({"--speed", "0", "--altitude", "800"});
    const auto link = Connect(quick);
    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    const std::string firstArea = link->Link().AreaName();

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(sim.Path("UIPCMAIN.sock")));
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), 1u);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultNoServer);
    EXPECT_NEAR(link->GetAltitude(), 800, 2);

    sim.Start({"--speed", "0", "--altitude", "900"});
    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetAltitude(), 900, 2);
    EXPECT_NE(link->Link().AreaName(), firstArea);
}

TEST_F(LinkIntegrationTest, KilledStandInLeavesTheClientRunning) {
    sim.Start({"--speed", "0", "--altitude", "700"});
    const auto link = Connect(quick);
    link->ReadCycle();
    sim.Kill();
    for (int i = 0; i < 3; ++i) {
        link->ReadCycle();
        EXPECT_NE(link->LinkResult(), resultOkay);
        link->SetMsStrength(10);
        link->MoveAircraft(1, 2);
        EXPECT_EQ(link->GetHeading(), 0);
    }
    EXPECT_NEAR(link->GetAltitude(), 700, 2);

    // A new stand-in replaces the socket file the killed one left.
    sim.Start({"--speed", "0", "--altitude", "600"});
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetAltitude(), 600, 2);
}

TEST_F(LinkIntegrationTest, StandInThatStopsAnsweringTimesOut) {
    const std::string script = sim.Path("silent.script");
    std::ofstream(script) << "# goes quiet after half a second\n0.5 answer off\n";
    sim.Start({"--script", script});
    const auto link = Connect(quick);
    link->ReadCycle();
    ASSERT_EQ(link->LinkResult(), resultOkay);
    std::this_thread::sleep_for(600ms);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), 1u);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultTimedOut);
}

// A raw client of the stand-in's socket, for frames the link itself never sends.
class RawClient {
public:
    explicit RawClient(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        connected_ =
            ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { ::close(socket_); }
    bool connected() const { return connected_; }

    void SendFrame(std::uint32_t length, std::uint32_t sequence, const std::string& name) {
        std::string frame(8, '\0');
        std::memcpy(frame.data(), &length, 4);
        std::memcpy(frame.data() + 4, &sequence, 4);
        frame += name;
        ASSERT_EQ(::send(socket_, frame.data(), frame.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(frame.size()));
    }
    // The reply value, or -1 when the stand-in closed the connection or gave no reply.
    std::int64_t Reply(std::uint32_t sequence) {
        pollfd waiting{socket_, POLLIN, 0};
        std::uint32_t reply[2] = {};
        if (::poll(&waiting, 1, 2000) != 1 || ::recv(socket_, reply, 8, MSG_WAITALL) != 8)
            return -1;
        EXPECT_EQ(reply[0], sequence);
        return reply[1];
    }

private:
    int socket_ = -1;
    bool connected_ = false;
};

TEST_F(LinkIntegrationTest, FramesNamingNoRequestAreaAreAnsweredAsBadData) {
    // Another shared-memory object of the same user, laid out like a request area.
    const std::string foreign = "brevan-test-foreign-" + std::to_string(::getpid());
    const int fd = ::shm_open(("/" + foreign).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 0x8000), 0);
    const std::uint32_t record[5] = {1, 0x3304, 4, 0, 0};
    ASSERT_EQ(::pwrite(fd, record, sizeof record, 0), static_cast<ssize_t>(sizeof record));

    sim.Start({});
    RawClient client(sim.Path("UIPCMAIN.sock"));
    ASSERT_TRUE(client.connected());
    for (const std::string& name :
         {foreign, std::string("FsasmLib:IPC:1:FFFF"), std::string("FsasmLib:IPC:/x")}) {
        client.SendFrame(static_cast<std::uint32_t>(4 + name.size()), 7, name);
        EXPECT_EQ(client.Reply(7), 0) << name;
    }
    std::uint32_t data = 0xFFFFFFFF;
    ASSERT_EQ(::pread(fd, &data, 4, 16), 4);
    EXPECT_EQ(data, 0u); // left untouched
    ::close(fd);
    ::shm_unlink(("/" + foreign).c_str());
}

TEST_F(LinkIntegrationTest, BrokenFrameDropsOnlyThatClient) {
    sim.Start({"--speed", "0", "--altitude", "1000"});
    const auto link = Connect();
    RawClient client(sim.Path("UIPCMAIN.sock"));
    client.SendFrame(100000, 1, "FsasmLib:IPC:1:1");
    EXPECT_EQ(client.Reply(1), -1);
    link->ReadCycle();
    EXPECT_EQ(link->LinkResult(), resultOkay);
    EXPECT_NEAR(link->GetAltitude(), 1000, 2);
}

TEST(StandInCommandLineTest, HelpAndBadOptions) {
    const SimRun help = RunSim({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: brevan-sim"), std::string::npos);
    EXPECT_NE(help.output.find("--script FILE"), std::string::npos);

    const SimRun bad = RunSim({"--heading", "north"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("bad heading 'north'"), std::string::npos);

    const SimRun missing = RunSim({"--script", "/nonexistent/script"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("cannot read script"), std::string::npos);
}

TEST(StandInCommandLineTest, SecondStandInOnTheSameSocketIsRefused) {
    SimProcess first;
    first.Start({});
    const SimRun second = RunSim({});
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.output.find("already listening"), std::string::npos);
    EXPECT_EQ(first.Stop(), 0);
}

} // namespace
