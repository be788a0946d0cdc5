#include "scenery/cumulus.h"
#include "standintools.h"

#include <QDir>
#include <QFile>

namespace {

TEST(AngleText, TruncatedDegreesMinutesSecondsWithTrailingBlank) {
    EXPECT_EQ(AngleText(46.5), "46 30 0 ");
    EXPECT_EQ(AngleText(-8.25), "-8 15 0 ");
    EXPECT_EQ(AngleText(8.7), "8 41 59 ");
    EXPECT_EQ(AngleText(7.25), "7 15 0 ");
    EXPECT_EQ(AngleText(0), "0 0 0 ");
    EXPECT_EQ(AngleText(-10.855833333333333), "-10 51 20 ");
}

TEST(AngleText, AnglesAboveMinusOneKeepTheirSign) {
    EXPECT_EQ(AngleText(-0.5), "-0 30 0 ");
    EXPECT_EQ(AngleText(-0.0), "0 0 0 ");
}

class Cumulus : public SceneryTest {
protected:
    bool Generate(const QString& base) {
        double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
        if (!thermals.empty()) {
            minLat = maxLat = thermals.front()->lat;
            minLon = maxLon = thermals.front()->lon;
        }
        TCumulus cumulus(tools);
        cumulus.Generate(thermals, base, minLat, minLon, maxLat, maxLon);
        return cumulus.succeeded();
    }
};

TEST_F(Cumulus, WorkedExampleByteForByte) {
    auto& t = AddThermal(46.5, 7.25);
    t.SetTop(1500);
    t.SetGroundHeight(600);
    t.SetCuHs(1.5f);
    t.SetCuVs(1.2f);
    t.SetCuRotation(45);
    t.SetCuCloud(0.5f);
    t.SetCuStart(10);
    t.SetCuEnd(90);
    EXPECT_TRUE(Generate("alps"));

    const QByteArray expected = "alps_cu\r\r\n"
                                "46 30 0 7 15 0 \r\r\n"
                                "P\r\r\n"
                                "46 30 0 7 15 0 2100 1.5 1.20000004768372 45 0.5 10 90\r\n";
    EXPECT_EQ(Output("alps_cu.cms"), expected);
    // The tool reads the file from its standard input and gets no argument.
    EXPECT_EQ(Recorded("cumulus31.stdin"), expected);
    EXPECT_TRUE(Arguments("cumulus31").isEmpty());
    EXPECT_EQ(Recorded("cumulus31.cwd").trimmed(), QDir(work).canonicalPath().toUtf8());
    EXPECT_TRUE(rec.messages().isEmpty());
}

TEST_F(Cumulus, EveryThermalGetsALineAndTheCentreIsTheMiddleOfTheBounds) {
    AddThermal(46.0, 7.0).SetCloud(true);
    AddThermal(47.0, 8.0);
    TCumulus cumulus(tools);
    cumulus.Generate(thermals, "two", 46.0, 7.0, 47.0, 8.0);
    EXPECT_TRUE(cumulus.succeeded());

    EXPECT_EQ(Output("two_cu.cms").toStdString(), "two_cu\r\r\n"
                                                  "46 30 0 7 30 0 \r\r\n"
                                                  "P\r\r\n"
                                                  "46 0 0 7 0 0 0 -1 -1 0 -0.5 -1 -1\r\n"
                                                  "47 0 0 8 0 0 0 -1 -1 0 -0.5 -1 -1\r\n");
}

TEST_F(Cumulus, TopAboveSeaLevelBeyondAnIntIsWrittenWhole) {
    auto& t = AddThermal(46.5, 7.25);
    t.SetTop(2147483647);
    t.SetGroundHeight(600);
    EXPECT_TRUE(Generate("high"));
    EXPECT_TRUE(Output("high_cu.cms").endsWith("46 30 0 7 15 0 2147484247 -1 -1 0 -0.5 -1 -1\r\n"));
}

TEST_F(Cumulus, NeverSavedProjectWritesUnderscoreCuCms) {
    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate(""));
    EXPECT_TRUE(Output("_cu.cms").startsWith("_cu\r\r\n"));
}

TEST_F(Cumulus, ExistingFileIsReplaced) {
    QFile old(work + "/alps_cu.cms");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();

    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate("alps"));
    EXPECT_TRUE(Output("alps_cu.cms").startsWith("alps_cu\r\r\n"));
    EXPECT_FALSE(Output("alps_cu.cms").contains('x'));
}

TEST_F(Cumulus, ShellCharactersInTheNameAreNeverRun) {
    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate("a b;touch x"));
    EXPECT_TRUE(Recorded("cumulus31.stdin").startsWith("a b;touch x_cu\r\r\n"));
    EXPECT_FALSE(QFile::exists(work + "/x"));
}

TEST_F(Cumulus, EmptyListIsRefusedBeforeAnythingIsWritten) {
    EXPECT_FALSE(Generate("alps"));
    EXPECT_EQ(rec.messages(),
              QStringList{"Error|There are no thermals to generate from: place at least one."});
    EXPECT_FALSE(QFile::exists(work + "/alps_cu.cms"));
    EXPECT_FALSE(ToolRan("cumulus31"));
}

TEST_F(Cumulus, FileThatCannotBeCreated) {
    ASSERT_TRUE(QDir(work).mkdir("alps_cu.cms"));
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps"));
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error opening file"});
    EXPECT_FALSE(ToolRan("cumulus31"));
}

TEST_F(Cumulus, MissingToolIsReported) {
    ASSERT_TRUE(QFile::remove(tools + "/cumulus31"));
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps"));
    EXPECT_EQ(rec.messages(), QStringList{"Error|Error Generating Thermals"});
}

} // namespace
