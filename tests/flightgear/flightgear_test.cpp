// The bridge to FlightGear: its line parser and data folder on their own, then brevan-fg
// between the program's link and a fake FlightGear that speaks the shipped protocol files.

#include "builders.h"
#include "fgprotocol.h"
#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simprocess.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cmath>
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

TEST(FgLineTest, OnlyFiniteValuesInRangeComeThrough) {
    // Lines that give a frame, with the heading served, wrapped into 0-360.
    for (const auto& [line, heading] : {std::pair{"21.5,-158.2,3000.5,12.25,90,1,2,3,0,1\n", 90},
                                        {"90,180,0,0,0,0,0,0,1,1", 0},
                                        {"-90,-180,-5000,-1000,0,0,0,0,0,1", 0},
                                        {"0,0,0,0,360,0,0,0,0,1", 0},
                                        {"0,0,0,0,-90,0,0,0,0,1", 270},
                                        {"0,0,0,0,725,0,0,0,0,1", 5}}) {
        const std::optional<FgFrame> frame = ParseFgLine(line);
        ASSERT_TRUE(frame) << line;
        EXPECT_DOUBLE_EQ(frame->heading, heading) << line;
    }
    // Just past a pole, the date line, the highest altitude or ground; not finite; a field
    // short or over; an empty field or one with a space; a flag of 2.
    for (const char* line :
         {"90.000001,0,0,0,0,0,0,0,0,1", "0,-180.000001,0,0,0,0,0,0,0,1",
          "0,0,330000.1,0,0,0,0,0,0,1", "0,0,0,10000.1,0,0,0,0,0,1", "0,0,0,0,0,0,inf,0,0,1",
          "0,0,0,0,0,0,0,0,0", "0,0,0,0,0,0,0,0,0,0,1", "0,,0,0,0,0,0,0,0,1",
          "0, 0,0,0,0,0,0,0,0,1", "0,0,0,0,0,0,0,0,2,1", "0,0,0,0,0,0,0,0,0,2"})
        EXPECT_FALSE(ParseFgLine(line)) << line;
}

TEST(FgDataTest, OnlyTheWindFromDownRateIsRaised) {
    const std::string xml = "<filter><name>EnvironmentInterpolator:wind-speed</name>"
                            "<max-rate-of-change>2.0</max-rate-of-change></filter>\n"
                            "<filter><name>EnvironmentInterpolator:wind-from-down</name>"
                            "<output>x</output><max-rate-of-change>2.0</max-rate-of-change>"
                            "</filter>";
    // The last of the two limits, the wind-from-down filter's, alone.
    EXPECT_EQ(RaiseLiftRate(xml, 100),
              xml.substr(0, xml.rfind("2.0")) + "100" + xml.substr(xml.rfind("2.0") + 3));
    // A filter without its own limit must not take the next filter's.
    EXPECT_FALSE(RaiseLiftRate("<filter><name>wind-from-down</name></filter><filter>"
                               "<max-rate-of-change>2</max-rate-of-change></filter>",
                               100));
    EXPECT_FALSE(RaiseLiftRate("<filter><name>wind-speed</name></filter>", 100));
}

// A shipped protocol file's chunks in order: the property and its printf format.
using Chunks = std::vector<std::pair<std::string, std::string>>;
Chunks ReadChunks(const char* file) {
    QFile in(QStringLiteral(BREVAN_FG_PROTOCOL_DIR "/") + file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file;
    QXmlStreamReader xml(&in);
    Chunks chunks;
    while (!xml.atEnd())
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        else if (xml.name() == QLatin1String("node"))
            chunks.push_back({xml.readElementText().toStdString(), {}});
        else if (xml.name() == QLatin1String("format"))
            chunks.back().second = xml.readElementText().toStdString();
    EXPECT_FALSE(xml.hasError()) << file << ": " << xml.errorString().toStdString();
    return chunks;
}

sockaddr_in Loopback(int port) {
    return {AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
}

// A UDP socket on a free port of 127.0.0.1, and the port.
std::pair<int, int> UdpSocket() {
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), size), 0);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return {s, ntohs(address.sin_port)};
}

// FlightGear as the bridge meets it: lines made and read by the shipped protocol files.
class FakeFlightGear : public ::testing::Test {
protected:
    const Chunks out = ReadChunks("brevan_out.xml"), in = ReadChunks("brevan_in.xml"),
                 move = ReadChunks("brevan_move.xml");
    const std::pair<int, int> inSocket = UdpSocket(), moveSocket = UdpSocket();
    int bridgePort = 0;
    std::map<std::string, double> properties{
        {"/position/latitude-deg", 21.5},   {"/position/longitude-deg", -158.25},
        {"/position/altitude-ft", 3280.84}, {"/position/ground-elev-m", 12.5},
        {"/orientation/heading-deg", 270},  {"/sim/freeze/master", 0},
        {"/sim/sceneryloaded", 1}};
    std::map<std::string, double> received; // the last value of each property sent
    SimProcess bridge{SimProcess::Program::flightGearBridge};
    std::unique_ptr<FSUPIC> link;

    void SetUp() override {
        bridge.Start({"--out-port", "0", "--in-port", std::to_string(inSocket.second),
                      "--move-port", std::to_string(moveSocket.second), "--fg-timeout", "0.5",
                      "--write-timeout", "0.5", "--strength", "200"});
        const std::string text = ReadText(bridge.Path("sim.out"));
        std::smatch port;
        ASSERT_TRUE(std::regex_search(text, port, std::regex("udp port (\\d+)"))) << text;
        bridgePort = std::stoi(port[1]);
        link =
            std::make_unique<FSUPIC>(std::make_unique<PosixTransport>(), LinkTiming{30ms, 1ms, 9});
    }
    void TearDown() override {
        ::close(inSocket.first);
        ::close(moveSocket.first);
    }

    void SendFrame() {
        std::string line;
        for (const auto& [node, format] : out) {
            char field[64];
            const double value = properties[node];
            format == "%d" ? std::snprintf(field, sizeof field, "%d", static_cast<int>(value))
                           : std::snprintf(field, sizeof field, format.c_str(), value);
            line += (line.empty() ? "" : ",") + std::string(field);
        }
        line += "\n";
        const sockaddr_in to = Loopback(bridgePort);
        ::sendto(inSocket.first, line.data(), line.size(), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

    void Receive(int s, const Chunks& chunks) {
        char buffer[512];
        for (ssize_t got; (got = ::recv(s, buffer, sizeof buffer - 1, 0)) > 0;) {
            buffer[got] = '\0';
            std::istringstream fields(buffer);
            std::string field;
            for (const auto& chunk : chunks) {
                ASSERT_TRUE(std::getline(fields, field, ',')) << buffer;
                received[chunk.first] = std::stod(field);
            }
        }
    }

    // FlightGear's frames every 10 ms and the program's read cycle, until the condition
    // holds; false once `limit` has passed.
    bool Fly(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3s) {
        return Eventually(
            [&] {
                SendFrame();
                std::this_thread::sleep_for(10ms);
                // Lines first: what the bridge sent before this read is then what the program
                // reads.
                Receive(inSocket.first, in);
                Receive(moveSocket.first, move);
                link->ReadCycle();
                return condition();
            },
            limit, 0ms);
    }
    double Lift() { return received["/environment/local-weather-lift-fps"]; }
    double Trim() { return received["/controls/flight/aileron-trim"]; }
};

TEST_F(FakeFlightGear, TheProgramFliesFlightGearsAircraftThroughTheBridge) {
    properties["/sim/sceneryloaded"] = 0; // FlightGear still starting
    EXPECT_FALSE(Fly([&] { return link->ThermalBlockPresent(); }, 300ms));
    properties["/sim/sceneryloaded"] = 1;
    ASSERT_TRUE(Fly([&] { return link->ThermalBlockPresent(); }));
    ASSERT_TRUE(link->Position());
    EXPECT_NEAR(link->Position()->lat, 21.5, 1e-7);
    EXPECT_NEAR(link->Position()->lon, -158.25, 1e-7);
    EXPECT_EQ(std::tuple(link->GetAltitude(), link->GetGroundAlt(), link->GetMsStrength()),
              std::tuple(1000.0, 12.5, 200));
    EXPECT_NEAR(link->GetHeading(), -90, 1e-6);

    // Written on every cycle, as the profiler does, so that a slow test run never meets the
    // write time-out.
    // Lifting unless the condition is given.
    const auto writing = [&](double roll, std::function<bool()> condition = nullptr) {
        return [&, roll, condition] {
            link->SetMsStrength(100);
            link->SetRollRate(roll);
            return condition ? condition()
                             : Lift() > 0 && Trim() == std::clamp(roll / 10, -1.0, 1.0);
        };
    };
    ASSERT_TRUE(Fly(writing(5)));
    EXPECT_NEAR(Lift(), 100 * 0.02 / 0.3048, 1e-3); // 2 m/s
    // The sink sent with the strength reaches FlightGear as lift below 0; a strength written
    // alone, as from a program that does not send the air, is the byte's lift again.
    ASSERT_TRUE(Fly([&] {
        link->SetLift(0, -1.5);
        return std::abs(Lift() + 1.5 / 0.3048) < 1e-3;
    }));
    ASSERT_TRUE(Fly(writing(-30))); // past full trim
    // Paused: no block and no lift, whatever the program writes.
    properties["/sim/freeze/master"] = 1;
    ASSERT_TRUE(Fly(writing(5, [&] { return !link->ThermalBlockPresent() && Lift() == 0; })));
    properties["/sim/freeze/master"] = 0;
    ASSERT_TRUE(Fly(writing(5)));
    // The program stops writing: the lift ends, the block stays.
    ASSERT_TRUE(Fly([&] { return Lift() == 0; }));
    EXPECT_TRUE(link->ThermalBlockPresent());

    // The move is served at once, though FlightGear's next lines still carry the old place.
    link->MoveAircraft({21.25, -157.75});
    ASSERT_TRUE(Fly([&] { return received.count("/position/latitude-deg"); }));
    EXPECT_NEAR(received["/position/latitude-deg"], 21.25, 1e-7);
    EXPECT_NEAR(received["/position/longitude-deg"], -157.75, 1e-7);
    EXPECT_NEAR(link->Position()->lat, 21.25, 1e-7);
    EXPECT_NEAR(link->Position()->lon, -157.75, 1e-7);

    // A FlightGear that flies on without the bridge keeps no lift.
    ASSERT_TRUE(Fly(writing(5)));
    EXPECT_EQ(bridge.Stop(), 0);
    Receive(inSocket.first, in);
    EXPECT_EQ(std::pair(Lift(), Trim()), std::pair(0.0, 0.0));
}

} // namespace
