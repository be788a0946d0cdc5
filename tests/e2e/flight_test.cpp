// The program flying against the stand-in simulator: the strength byte it writes, as the
// stand-in logs it.

#include "simlink/fsupic.h"
#include "simlink/posixtransport.h"
#include "simlog.h"
#include "simprocess.h"

#include <string>
#include <vector>

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

constexpr unsigned kStrengthOffset = 0x2AE6;
constexpr unsigned kBlockOffset = 0x2AE0;
// Enough for the program to start on a busy machine; every wait ends as soon as what it
// waits for is logged.
constexpr auto kPatience = 30s;

// One thermal at 46.5 N 7.5 E: type 4 from 0 to 2000 m, radius 1000 m with a core of 500 m,
// 80 % strength, full strength between 200 and 1800 m above the ground.
constexpr char kProject[] =
    "map.bmp\r\n46:30.600N\r\n46:29.400N\r\n7:29.000E\r\n7:31.000E\r\n"
    "4650000,750000,4,0,2000,1000,270,5,0,0,0,0,0,1,7,-1,-1,0,-0.5,-1,-1,0,2,4,80,50,10,90\r\n";

// The glider standing still in the thermal's core over flat ground at sea level, the
// simulator's strength at 100.
std::vector<std::string> InTheCore(const std::string& log) {
    return {"--lat", "46.5",    "--lon", "7.5",        "--ground", "0",     "--altitude",
            "1000",  "--speed", "0",     "--strength", "100",      "--log", log};
}

class FlightTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage map(200, 200, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        ASSERT_TRUE(map.save(Path("map.bmp")));
        QFile project(Path("one.prj"));
        ASSERT_TRUE(project.open(QIODevice::WriteOnly));
        project.write(kProject);
    }

    void TearDown() override {
        if (program.state() == QProcess::NotRunning)
            return;
        program.terminate();
        if (!program.waitForFinished(5000)) {
            program.kill();
            program.waitForFinished();
        }
    }

    QString Path(const char* name) const { return QString::fromStdString(sim.Path(name)); }

    // The program with the one-thermal project, linking to the stand-in's socket directory.
    void StartProgram() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setStandardOutputFile(Path("brevan.out"));
        program.start(BREVAN_PROGRAM_PATH, {Path("one.prj")});
        ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();
    }

    std::string ProgramOutput() const {
        QFile out(Path("brevan.out"));
        return out.open(QIODevice::ReadOnly) ? out.readAll().toStdString() : std::string();
    }

    // Waits for at least n strength writes in the log.
    std::vector<SimRecord> StrengthWrites(const std::string& log, std::size_t n) {
        std::vector<SimRecord> writes;
        WaitFor(
            [&] {
                writes = Writes(ReadSimLog(QString::fromStdString(log)), kStrengthOffset);
                return writes.size() >= n;
            },
            kPatience);
        return writes;
    }

    SimProcess sim;
    QProcess program;
};

TEST_F(FlightTest, WritesTheCoreStrengthThenZeroOutsideTheRadius) {
    const std::string log = sim.Path("sim.log");
    sim.Start(InTheCore(log));
    StartProgram();

    const std::vector<SimRecord> inside = StrengthWrites(log, 1);
    ASSERT_FALSE(inside.empty()) << ProgramOutput();
    // 100 x 80 %, at full strength in the core.
    EXPECT_EQ(inside.front().bytes, "50");

    // 2 km north, beyond the radius but within 10 km: moved through a link of the test's own.
    FSUPIC mover(std::make_unique<PosixTransport>());
    ASSERT_EQ(mover.LinkResult(), resultOkay);
    const std::size_t before = StrengthWrites(log, 1).size();
    mover.MoveAircraft(46.5 + 2.0 / 111.195, 7.5);

    // A tick may still be under way with the old position; the last five are later ones.
    const std::vector<SimRecord> outside = StrengthWrites(log, before + 10);
    ASSERT_GE(outside.size(), before + 10) << ProgramOutput();
    for (auto w = outside.end() - 5; w != outside.end(); ++w)
        EXPECT_EQ(w->bytes, "00") << "at " << w->time << " s";
}

TEST_F(FlightTest, RemovingTheThermalBlockStopsTheWrites) {
    const std::string present = sim.Path("present.log");
    sim.Start(InTheCore(present));
    StartProgram();
    ASSERT_FALSE(StrengthWrites(present, 1).empty()) << ProgramOutput();

    sim.Stop();
    const std::string absent = sim.Path("absent.log");
    std::vector<std::string> options = InTheCore(absent);
    options.insert(options.end(), {"--block", "off"});
    sim.Start(options);

    // Linked again, the program reads the block every cycle: twenty cycles, no write.
    std::vector<SimRecord> log;
    const bool read = WaitFor(
        [&] {
            log = ReadSimLog(QString::fromStdString(absent));
            return Reads(log, kBlockOffset).size() >= 20;
        },
        kPatience);
    ASSERT_TRUE(read) << ProgramOutput();
    EXPECT_TRUE(Writes(log, kStrengthOffset).empty());
}

} // namespace
