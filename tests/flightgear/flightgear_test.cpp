// The bridge to FlightGear: its line parser and data folder on their own, then brevan-fg
// between the program's link and a fake FlightGear that speaks the shipped protocol files.

#include "fgprotocol.h"
#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <netinet/in.h>
#include <regex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <QFile>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

struct LineRow {
    const char* name;
    const char* line;
    bool valid;
    double heading = 0; // as served, where valid
};

class FgLineTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(FgLineTest, OnlyFiniteValuesInRangeComeThrough) {
    const std::optional<FgFrame> frame = ParseFgLine(GetParam().line);
    ASSERT_EQ(frame.has_value(), GetParam().valid);
    if (frame) {
        EXPECT_DOUBLE_EQ(frame->heading, GetParam().heading);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FgLineTest,
    ::testing::Values(LineRow{"Plain", "21.5,-158.2,3000.5,12.25,90,1,2,3,0,1\n", true, 90},
                      LineRow{"NorthPole", "90,180,0,0,0,0,0,0,1,1", true, 0},
                      LineRow{"SouthWest", "-90,-180,-5000,-1000,0,0,0,0,0,1", true, 0},
                      LineRow{"PastNorthPole", "90.000001,0,0,0,0,0,0,0,0,1", false},
                      LineRow{"PastDateLine", "0,-180.000001,0,0,0,0,0,0,0,1", false},
                      LineRow{"TooHigh", "0,0,330000.1,0,0,0,0,0,0,1", false},
                      LineRow{"GroundTooHigh", "0,0,0,10000.1,0,0,0,0,0,1", false},
                      LineRow{"NanLatitude", "nan,0,0,0,0,0,0,0,0,1", false},
                      LineRow{"InfiniteLift", "0,0,0,0,0,0,inf,0,0,1", false},
                      LineRow{"ShortLine", "0,0,0,0,0,0,0,0,0", false},
                      LineRow{"LongLine", "0,0,0,0,0,0,0,0,0,0,1", false},
                      LineRow{"EmptyField", "0,,0,0,0,0,0,0,0,1", false},
                      LineRow{"Spaces", "0, 0,0,0,0,0,0,0,0,1", false},
                      LineRow{"PauseTwo", "0,0,0,0,0,0,0,0,2,1", false},
                      LineRow{"LoadedTwo", "0,0,0,0,0,0,0,0,0,2", false},
                      LineRow{"Garbage", "\x01\xff garbage", false},
                      LineRow{"HeadingFullCircle", "0,0,0,0,360,0,0,0,0,1", true, 0},
                      LineRow{"HeadingNegative", "0,0,0,0,-90,0,0,0,0,1", true, 270},
                      LineRow{"HeadingPastCircle", "0,0,0,0,725,0,0,0,0,1", true, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FgDataTest, OnlyTheWindFromDownRateIsRaised) {
    const std::string xml = "<filter><name>EnvironmentInterpolator:wind-speed</name>"
                            "<max-rate-of-change>2.0</max-rate-of-change></filter>\n"
                            "<filter><name>EnvironmentInterpolator:wind-from-down</name>"
                            "<output>x</output><max-rate-of-change>2.0</max-rate-of-change>"
                            "</filter>";
    const std::optional<std::string> raised = RaiseLiftRate(xml, 100);
    ASSERT_TRUE(raised);
    EXPECT_EQ(*raised, std::regex_replace(xml, std::regex("2\\.0(</max-rate-of-change></filter>$)"),
                                          "100$1"));
    // A filter without its own limit must not take the next filter's.
    EXPECT_FALSE(RaiseLiftRate("<filter><name>wind-from-down</name></filter><filter>"
                               "<max-rate-of-change>2</max-rate-of-change></filter>",
                               100));
    EXPECT_FALSE(RaiseLiftRate("<filter><name>wind-speed</name></filter>", 100));
}

// A protocol file's chunks, in order: the property and its printf format.
struct Chunk {
    std::string node;
    std::string format;
};

std::vector<Chunk> Chunks(const char* file) {
    QFile in(QStringLiteral(BREVAN_FG_PROTOCOL_DIR "/") + file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file;
    QXmlStreamReader xml(&in);
    std::vector<Chunk> chunks;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("node"))
            chunks.push_back({xml.readElementText().toStdString(), {}});
        else if (xml.name() == QLatin1String("format") && !chunks.empty())
            chunks.back().format = xml.readElementText().toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << file << ": " << xml.errorString().toStdString();
    return chunks;
}

int UdpSocket(int port) {
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{
        AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return s;
}

int PortOf(int s) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

// FlightGear as the bridge meets it: lines made and read by the shipped protocol files.
class FakeFlightGear : public ::testing::Test {
protected:
    const std::vector<Chunk> out = Chunks("brevan_out.xml");
    const std::vector<Chunk> in = Chunks("brevan_in.xml");
    const std::vector<Chunk> move = Chunks("brevan_move.xml");
    const int inSocket = UdpSocket(0);
    const int moveSocket = UdpSocket(0);
    int bridgePort = 0;
    std::map<std::string, double> properties{
        {"/position/latitude-deg", 21.5},   {"/position/longitude-deg", -158.25},
        {"/position/altitude-ft", 3280.84}, {"/position/ground-elev-m", 12.5},
        {"/orientation/heading-deg", 270},  {"/sim/freeze/master", 0},
        {"/sim/sceneryloaded", 1}};
    std::string rawLine; // sent instead of a frame while not empty
    std::map<std::string, double> lastIn, lastMove;
    SimProcess bridge{SimProcess::Program::flightGearBridge};
    std::unique_ptr<FSUPIC> link;

    void SetUp() override {
        bridge.Start({"--out-port", "0", "--in-port", std::to_string(PortOf(inSocket)),
                      "--move-port", std::to_string(PortOf(moveSocket)), "--fg-timeout", "0.5",
                      "--write-timeout", "0.5", "--strength", "200"});
        std::ifstream said(bridge.Path("sim.out"));
        std::string text{std::istreambuf_iterator<char>(said), {}};
        std::smatch port;
        ASSERT_TRUE(std::regex_search(text, port, std::regex("udp port (\\d+)"))) << text;
        bridgePort = std::stoi(port[1]);
        link =
            std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), LinkTiming{30ms, 1ms, 9});
    }
    void TearDown() override {
        ::close(inSocket);
        ::close(moveSocket);
    }

    void SendFrame() {
        std::string line = rawLine;
        for (std::size_t i = 0; rawLine.empty() && i < out.size(); ++i) {
            char field[64];
            const double value = properties[out[i].node];
            if (out[i].format == "%d")
                std::snprintf(field, sizeof field, "%d", static_cast<int>(value));
            else
                std::snprintf(field, sizeof field, out[i].format.c_str(), value);
            line += (i ? "," : "") + std::string(field);
        }
        line += "\n";
        sockaddr_in to{
            AF_INET, htons(static_cast<std::uint16_t>(bridgePort)), {htonl(INADDR_LOOPBACK)}, {}};
        ::sendto(inSocket, line.data(), line.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to);
    }

    static void Receive(int s, const std::vector<Chunk>& chunks,
                        std::map<std::string, double>& last) {
        char buffer[512];
        for (ssize_t got; (got = ::recv(s, buffer, sizeof buffer - 1, 0)) > 0;) {
            buffer[got] = '\0';
            std::istringstream fields(buffer);
            std::string field;
            for (const Chunk& chunk : chunks) {
                ASSERT_TRUE(std::getline(fields, field, ',')) << buffer;
                last[chunk.node] = std::stod(field);
            }
        }
    }

    // FlightGear's frames every 10 ms (none while `frames` is false) and the program's read
    // cycle, until the condition holds; false once `limit` has passed.
    bool Fly(const std::function<bool()>& condition, bool frames = true,
             std::chrono::milliseconds limit = 3s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (frames)
                SendFrame();
            std::this_thread::sleep_for(10ms);
            // Lines first: what the bridge sent before this read is then what the program reads.
            Receive(inSocket, in, lastIn);
            Receive(moveSocket, move, lastMove);
            link->ReadCycle();
            if (condition())
                return true;
            if (std::chrono::steady_clock::now() > deadline)
                return false;
        }
    }
    double Lift() { return lastIn["/environment/local-weather-lift-fps"]; }
    double Trim() { return lastIn["/controls/flight/aileron-trim"]; }
};

TEST_F(FakeFlightGear, TheProgramReadsFlightGearsAircraftAndItsWritesReachFlightGear) {
    properties["/sim/sceneryloaded"] = 0; // FlightGear still starting
    EXPECT_FALSE(Fly([&] { return link->ThermalBlockPresent(); }, true, 300ms));
    properties["/sim/sceneryloaded"] = 1;
    ASSERT_TRUE(Fly([&] { return link->ThermalBlockPresent(); }));
    EXPECT_NEAR(link->GetLat(), 21.5, 1e-7);
    EXPECT_NEAR(link->GetLon(), -158.25, 1e-7);
    EXPECT_EQ(std::tuple(link->GetAltitude(), link->GetGroundAlt(), link->GetMsStrength()),
              std::tuple(1000.0, 12.5, 200));
    EXPECT_NEAR(link->GetHeading(), -90, 1e-6);

    // Written on every cycle, as the profiler does, so that a slow test run never meets the
    // write time-out.
    const auto writing = [&](double roll) {
        return [&, roll] {
            link->SetMsStrength(100);
            link->SetRollRate(roll);
            return Lift() > 0 && Trim() == std::clamp(roll / 10, -1.0, 1.0);
        };
    };
    ASSERT_TRUE(Fly(writing(5)));
    EXPECT_NEAR(Lift(), 100 * 0.02 / 0.3048, 1e-3); // 2 m/s
    ASSERT_TRUE(Fly(writing(-30)));                 // past full trim

    // The move is served at once, though FlightGear's next lines still carry the old place.
    link->MoveAircraft(21.25, -157.75);
    ASSERT_TRUE(Fly([&] { return !lastMove.empty(); }));
    EXPECT_NEAR(lastMove["/position/latitude-deg"], 21.25, 1e-7);
    EXPECT_NEAR(lastMove["/position/longitude-deg"], -157.75, 1e-7);
    EXPECT_NEAR(link->GetLat(), 21.25, 1e-7);
    properties["/position/latitude-deg"] = 21.25;
    properties["/position/longitude-deg"] = -157.75;
    properties["/position/altitude-ft"] = 10;
    ASSERT_TRUE(Fly([&] { return link->GetAltitude() == 3; }));
    EXPECT_NEAR(link->GetLon(), -157.75, 1e-7);

    // A FlightGear that flies on without the bridge keeps no lift.
    ASSERT_TRUE(Fly(writing(5)));
    EXPECT_EQ(bridge.Stop(), 0);
    Receive(inSocket, in, lastIn);
    EXPECT_EQ(std::pair(Lift(), Trim()), std::pair(0.0, 0.0));
}

TEST_F(FakeFlightGear, LiftIsZeroWhilePausedGoneOrNotWrittenAndTheProfilerStartsAfresh) {
    const auto writing = [&] {
        link->SetMsStrength(150);
        return Lift() > 9.8;
    };
    ASSERT_TRUE(Fly(writing));
    properties["/sim/freeze/master"] = 1;
    ASSERT_TRUE(Fly([&] { return !link->ThermalBlockPresent() && Lift() == 0; }));
    link->SetMsStrength(150); // while paused, a write changes nothing
    EXPECT_FALSE(Fly([&] { return Lift() > 0 || link->GetMsStrength() != 200; }, true, 700ms));

    properties["/sim/freeze/master"] = 0;
    ASSERT_TRUE(Fly(writing));
    // FlightGear gone: no line for the time-out.
    ASSERT_TRUE(Fly([&] { return !link->ThermalBlockPresent() && Lift() == 0; }, false));
    EXPECT_EQ(link->GetMsStrength(), 200);
    ASSERT_TRUE(Fly(writing)); // and back

    // The program stops writing: the lift ends, the block stays.
    ASSERT_TRUE(Fly([&] { return Lift() == 0; }));
    EXPECT_TRUE(link->ThermalBlockPresent());
    EXPECT_EQ(link->GetMsStrength(), 200);
}

TEST_F(FakeFlightGear, LinesOutOfRangeNeverReachTheProgram) {
    ASSERT_TRUE(Fly([&] { return link->ThermalBlockPresent(); }));
    for (const char* bad : {"91,-158,1000,0,0,0,0,0,0,1", "nan,nan,nan,nan,nan,0,0,0,0,1",
                            "21,-158,1e300,0,0,0,0,0,0,1", "21;-158;1000", "\xff\xfe"}) {
        rawLine = bad;
        // Bad lines are no sign of life: the block goes, the last good values stay.
        ASSERT_TRUE(Fly([&] { return !link->ThermalBlockPresent(); })) << bad;
        EXPECT_NEAR(link->GetLat(), 21.5, 1e-7) << bad;
        EXPECT_EQ(link->GetAltitude(), 1000) << bad;
        rawLine.clear();
        ASSERT_TRUE(Fly([&] { return link->ThermalBlockPresent(); })) << bad;
    }
}

} // namespace
