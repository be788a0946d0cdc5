// The program against brevan-sim: the demo flight, seen through the stand-in's request log
// (the test moves the glider with a link of its own), and the end while the simulator is
// frozen.

#include "programrun.h"
#include "simlink/fsupic.h"
#include "simlink/transport.h"
#include "simprocess.h"

#include <csignal>
#include <string>

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

// Waits until the last eight strength bytes the log shows written are all `hex`; empty then,
// else the writes so far.
std::string SettlesOn(const std::string& log, const QString& hex) {
    QStringList writes;
    const bool settled = QTest::qWaitFor(
        [&] {
            writes.clear();
            for (const QByteArray& line : ReadBytes(QString::fromStdString(log)).split('\n')) {
                const QJsonObject o = QJsonDocument::fromJson(line).object();
                if (o["op"].toString() == "write" && o["offset"].toInt() == 0x2AE6)
                    writes << o["bytes"].toString();
            }
            return writes.size() >= 8 && writes.mid(writes.size() - 8).count(hex) == 8;
        },
        kPatienceMs);
    return settled ? "" : "[" + writes.join(' ').toStdString() + "]";
}

TEST(DemoFlight, ShapesTheLiftWhereTheGliderIsAndEndsCleanly) {
    SimProcess sim; // first: the program copy takes its BREVAN_IPC_DIR
    const std::string log = sim.Path("flight.log");
    sim.Start({"--block", "on", "--script", BREVAN_DEMO_DIR "/flight.txt", "--log", log});
    ProgramCopy program;
    program.Start({QStringLiteral(BREVAN_DEMO_DIR "/demo.prj"), BREVAN_DEMO_DIR "/demo.dat"});
    // Circling in the first thermal (100 %) on the simulator's strength of 120.
    EXPECT_EQ(SettlesOn(log, "78"), "") << program.Errors().toStdString();
    // Moved into the core of the 150 % thermal in the east: 180.
    FSUPIC mover(MakeDefaultTransport());
    ASSERT_EQ(mover.Result(), LinkResult::okay);
    mover.MoveAircraft({46.57706, 7.62491});
    EXPECT_EQ(SettlesOn(log, "b4"), "");

    EXPECT_EQ(program.Terminate(), 0) << program.Errors().toStdString();
    EXPECT_EQ(QDir(program.Path(".")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' '),
              "brevan brevan.INI");
}

// The simulator answers every request 1.5 s late, so the link is nearly always waiting for
// a reply; frozen then, it would never answer. SIGTERM still ends the program at once, and
// the request area goes with it.
TEST(Program, EndsAtOnceOnSigtermWhileTheSimulatorIsFrozen) {
    SimProcess sim; // first: the program copy takes its BREVAN_IPC_DIR
    sim.Start({"--delay", "1500"});
    ProgramCopy program;
    program.Start({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.IpcAreas().isEmpty(); }, kPatienceMs));
    ASSERT_TRUE(WaitForSettings(program.SettingsFile()));
    ::kill(sim.Pid(), SIGSTOP);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(program.Terminate(), 0);
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_TRUE(program.IpcAreas().isEmpty());
    ::kill(sim.Pid(), SIGCONT);
}

} // namespace
