// The demo flight: the program with the demo project against brevan-sim flying the demo
// script, seen through the stand-in's request log. The test moves the glider with a link
// of its own.

#include "programrun.h"
#include "simlink/fsupic.h"
#include "simlink/transport.h"
#include "simprocess.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::AllOf;
using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::Ge;
using ::testing::SizeIs;

constexpr int kPosition = 0x0560;
constexpr int kBlock = 0x2AE0;
constexpr int kStrength = 0x2AE6;

struct Record {
    bool write;
    int offset;
    std::string bytes; // written bytes in hex
};

class DemoFlight : public ::testing::Test {
protected:
    ~DemoFlight() override { program.Terminate(); }

    void StartSim(const char* block, const std::string& logName) {
        log = sim.Path(logName);
        moves = 0;
        sim.Start({"--block", block, "--script", BREVAN_DEMO_DIR "/flight.txt", "--log", log});
    }

    // The complete lines of the log so far; a line still being written is left for later.
    std::vector<Record> ReadLog() const {
        const QByteArray text = ReadBytes(QString::fromStdString(log));
        std::vector<Record> records;
        for (const QByteArray& line : text.left(text.lastIndexOf('\n')).split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (!o.isEmpty())
                records.push_back({o["op"].toString() == "write", o["offset"].toInt(),
                                   o["bytes"].toString().toStdString()});
        }
        return records;
    }

    // The strength bytes written since the program read the glider's place after the last
    // move, less the first few that may lag (the window's ticks work on values up to two
    // read cycles old). Waits until the log shows every move and n such writes.
    std::vector<std::string> StrengthsSinceMove(std::size_t n, std::size_t lagging = 3) const {
        std::vector<std::string> writes;
        const auto found = [&] {
            const std::vector<Record> records = ReadLog();
            std::size_t from = 0;
            int seen = 0;
            for (std::size_t i = 0; i < records.size(); ++i)
                if (records[i].write && records[i].offset == kPosition) {
                    from = i;
                    ++seen;
                }
            while (seen > 0 && from < records.size() &&
                   (records[from].write || records[from].offset != kPosition))
                ++from;
            writes.clear();
            std::size_t skipped = 0;
            for (std::size_t i = from; i < records.size(); ++i)
                if (records[i].write && records[i].offset == kStrength && skipped++ >= lagging)
                    writes.push_back(records[i].bytes);
            return seen == moves && writes.size() >= n;
        };
        // The callers check what came.
        static_cast<void>(QTest::qWaitFor(found, kPatienceMs));
        return writes;
    }

    SimProcess sim; // first: the program copy takes its BREVAN_IPC_DIR
    ProgramCopy program;
    std::string log;
    int moves = 0; // made by the test
};

TEST_F(DemoFlight, ShapesTheLiftUntilTheBlockGoesAndEndsCleanly) {
    StartSim("on", "flight.log");
    program.Start({QStringLiteral(BREVAN_DEMO_DIR "/demo.prj")});
    const QString areaNames = QStringLiteral("FsasmLib:IPC:%1:*")
                                  .arg(QString::number(program.process.processId(), 16).toUpper());
    const auto areas = [&] {
        return QDir(QStringLiteral("/dev/shm")).entryList({areaNames}, QDir::Files | QDir::System);
    };

    // Circling in the first thermal (100 %) on the simulator's strength of 120; the first
    // tick searches every thermal.
    const std::vector<std::string> first = StrengthsSinceMove(8);
    ASSERT_GE(first.size(), 8u) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(first.front(), "78");
    EXPECT_THAT(first, Each("78"));
    {
        FSUPIC mover(MakeDefaultTransport());
        ASSERT_EQ(mover.LinkResult(), 0u);
        // The core of the 150 % thermal in the east: 180, once a sample has found it (until
        // then the thermal held is out of reach: 0); from then on it is held, whatever the
        // later samples of ten thermals look at.
        mover.MoveAircraft(46.57706, 7.62491);
        ++moves;
        const std::vector<std::string> east = StrengthsSinceMove(8);
        const auto found = std::find(east.begin(), east.end(), "b4");
        ASSERT_NE(found, east.end());
        EXPECT_TRUE(std::all_of(east.begin(), found, [](const auto& s) { return s == "00"; }));
        EXPECT_TRUE(std::all_of(found, east.end(), [](const auto& s) { return s == "b4"; }));
        // Between thermals, 2 km from the nearest: no lift.
        mover.MoveAircraft(46.55, 7.51);
        ++moves;
        EXPECT_THAT(StrengthsSinceMove(8), AllOf(SizeIs(Ge(8)), Each("00")));
    }

    // The simulator again, without the thermal block, the glider back in the first thermal:
    // the program links again and reads the block every cycle, but writes no strength.
    sim.Stop();
    StartSim("off", "noblock.log");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::vector<Record> records = ReadLog();
            return std::count_if(records.begin(), records.end(), [](const Record& r) {
                       return !r.write && r.offset == kBlock;
                   }) >= 20;
        },
        kPatienceMs))
        << "never linked again";
    EXPECT_EQ(StrengthsSinceMove(0, 0), std::vector<std::string>{});

    EXPECT_FALSE(areas().isEmpty());
    EXPECT_EQ(program.Terminate(), 0) << program.process.readAllStandardError().toStdString();
    EXPECT_EQ(areas().join(' ').toStdString(), "");
    EXPECT_EQ(QDir(program.Path(".")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' '),
              "brevan brevan.INI");
}

} // namespace
