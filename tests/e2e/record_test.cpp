// A flight recorded as the program records it: the stand-in flies a real log again over its
// take-off's ground, the recorder writes what the link reads, one fix a second, and the file
// reads back.

#include "app/flightrecorder.h"
#include "flight/igcfile.h"
#include "programrun.h"
#include "simlink/fsupic.h"
#include "simlink/transport.h"
#include "simprocess.h"

#include <cmath>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(RecordFlight, AReplayOverItsTakeOffGroundReadsBackFixByFix) {
    SimProcess sim; // first: the link takes its BREVAN_IPC_DIR
    const char* log = BREVAN_TEST_DATA "/igc/olsztyn.igc";
    sim.Start({"--replay", log, "--speed", "20"});
    FSUPIC link(MakeDefaultTransport());
    ASSERT_EQ(link.Result(), LinkResult::okay);
    QTemporaryDir dir;
    FlightRecorder recorder(link);
    ASSERT_TRUE(recorder.Start(dir.filePath("flight.igc"), {{}, "A. Pilot", "LS 8", "D-1234"}));

    std::vector<std::pair<GeoPoint, double>> seen; // the position and altitude the link read
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int second = 0; second < 30; ++second) {
        // Each fix somewhere new: the replay flies on between the reads.
        ASSERT_TRUE(QTest::qWaitFor([&] {
            link.ReadCycle();
            return seen.empty() || *link.Position() != seen.back().first;
        }));
        const QDateTime utc = start.addSecs(second);
        recorder.Record(utc);
        recorder.Record(utc); // a second has one fix
        seen.push_back({*link.Position(), link.GetAltitude()});
    }
    recorder.Stop();
    ASSERT_EQ(recorder.fixes(), 30);
    // The replay flies over the take-off's ground.
    const IgcFlight flown = ReadIgcFile(ReadBytes(log).toStdString());
    EXPECT_EQ(link.GetGroundAlt(), flown.AltitudeM(flown.fixes.front()));

    const IgcFlight flight = ReadIgcFile(ReadBytes(dir.filePath("flight.igc")).toStdString());
    EXPECT_EQ(IgcReadReport(flight), "");
    EXPECT_EQ(std::tuple(flight.pilot, flight.gliderType), std::tuple("A. Pilot", "LS 8"));
    ASSERT_EQ(flight.fixes.size(), seen.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const IgcFix& fix = flight.fixes[i];
        EXPECT_NEAR(fix.latMilliMinutes / 1000.0, seen[i].first.lat * 60, 0.001) << i;
        EXPECT_NEAR(fix.lonMilliMinutes / 1000.0, seen[i].first.lon * 60, 0.001) << i;
        EXPECT_NEAR(flight.AltitudeM(fix), seen[i].second, 1) << i;
        EXPECT_EQ(fix.timeS - flight.fixes.front().timeS, int(i)) << i;
    }
}

} // namespace
