#include "scenery/thermik.h"
#include "standintools.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {

class Thermik : public SceneryTest {
protected:
    // The worked example: one thermal with a cloud.
    void AddExampleThermal() {
        auto& t = AddThermal(46.5, 7.25, 1);
        t.SetBottom(300);
        t.SetTop(1500);
        t.SetRadius(400);
        t.SetWindDir(270);
        t.SetFactor(5);
        t.SetCloud(true);
        t.SetCloudBase(1600);
        t.SetCloudRadius(300);
        t.SetCloudType(2);
    }

    bool Generate(const QString& base, double minLat, double minLon, double maxLat, double maxLon) {
        TThermik thermik(tools);
        thermik.Generate(thermals, base, minLat, minLon, maxLat, maxLon);
        return thermik.succeeded();
    }
};

TEST_F(Thermik, WorkedExampleByteForByte) {
    AddExampleThermal();
    EXPECT_TRUE(Generate("alps", 46.5, 7.25, 46.5, 7.25));

    EXPECT_EQ(Output("alps.sca").toStdString(), kExampleSource);
    EXPECT_EQ(Arguments("scasm"), (QStringList{"alps.sca", "alps.bgl"}));
    EXPECT_EQ(Recorded("scasm.cwd").trimmed(), QDir(work).canonicalPath().toUtf8());
    EXPECT_TRUE(rec.messages().isEmpty());
    // The wait cursor is gone once the assembler has finished.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Thermik, NoCloudLinesWithoutClouds) {
    auto& a = AddThermal(46.1, 7.2, 2);
    a.SetTop(1000);
    AddThermal(46.9, 7.0, 3).SetCloudBase(2000);
    EXPECT_TRUE(Generate("valley", 46.1, 7.0, 46.9, 7.2));

    EXPECT_EQ(Output("valley.sca").toStdString(), "Header( 1 47.1 45.9 7.4 6.8 )\r\r\n"
                                                  "LatRange( 45.9 47.1 )\r\r\n"
                                                  "\r\r\n"
                                                  "\r\r\n"
                                                  "Macro( lift_02.scm 46.1 7.2 0 1000 0 0 0 )\r\r\n"
                                                  "Macro( lift_03.scm 46.9 7 0 0 0 0 0 )\r\r\n");
}

TEST_F(Thermik, TypeFourHasNoWindAndFactorAndOtherTypesKeepTheirNumber) {
    auto& four = AddThermal(1, 2, 4);
    four.SetWindDir(90);
    four.SetFactor(3);
    // The setter keeps types to 1-4; the generator writes whatever value the field holds.
    AddThermal(1, 2).SetWindDir(45);
    thermals.back()->type = 12;
    EXPECT_TRUE(Generate("types", 1, 2, 1, 2));

    const auto lines = QString::fromUtf8(Output("types.sca")).split("\r\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[4], "Macro( lift_04.scm 1 2 0 0 0 )");
    EXPECT_EQ(lines[5], "Macro( lift_012.scm 1 2 0 0 0 45 0 )");
}

TEST_F(Thermik, LargestCloudRadiusGivesItsWholeDiameter) {
    auto& t = AddThermal(1, 2);
    t.SetCloud(true);
    t.SetCloudRadius(2147483647);
    EXPECT_TRUE(Generate("wide", 1, 2, 1, 2));
    const auto lines = QString::fromUtf8(Output("wide.sca")).split("\r\r\n");
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines[3], "Macro( cloud_01.scm 1 2 0 0 4294967294  cld0.bmp )");
}

TEST_F(Thermik, NegativeBoundsKeepTheirSignAndZeroIsPlain) {
    AddThermal(-0.2, -1.15);
    EXPECT_TRUE(Generate("west", -0.2, -1.15, -0.2, -1.15));
    const auto lines = QString::fromUtf8(Output("west.sca")).split("\r\r\n");
    EXPECT_EQ(lines[0], "Header( 1 0 -0.4 -0.95 -1.35 )");
    EXPECT_EQ(lines[1], "LatRange( -0.4 0 )");
}

TEST_F(Thermik, NeverSavedProjectWritesDotSca) {
    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate("", 46.5, 7.25, 46.5, 7.25));
    EXPECT_TRUE(QFile::exists(work + "/.sca"));
    EXPECT_EQ(Arguments("scasm"), (QStringList{".sca", ".bgl"}));
}

TEST_F(Thermik, ExistingSourceIsReplaced) {
    QFile old(work + "/alps.sca");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();

    AddExampleThermal();
    EXPECT_TRUE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_TRUE(Output("alps.sca").startsWith("Header( 1 46.7"));
    EXPECT_FALSE(Output("alps.sca").contains('x'));
}

TEST_F(Thermik, ShellCharactersInTheNameAreNeverRun) {
    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate("a b;touch x", 46.5, 7.25, 46.5, 7.25));
    EXPECT_TRUE(QFile::exists(work + "/a b;touch x.sca"));
    EXPECT_EQ(Arguments("scasm"), (QStringList{"a b;touch x.sca", "a b;touch x.bgl"}));
    EXPECT_FALSE(QFile::exists(work + "/x"));
    EXPECT_FALSE(QFile::exists(tools + "/x"));
}

TEST_F(Thermik, NameThatLooksLikeAnOptionIsPassedAsAPath) {
    AddThermal(46.5, 7.25);
    EXPECT_TRUE(Generate("-o", 46.5, 7.25, 46.5, 7.25));
    EXPECT_TRUE(QFile::exists(work + "/-o.sca"));
    EXPECT_EQ(Arguments("scasm"), (QStringList{"./-o.sca", "./-o.bgl"}));
}

TEST_F(Thermik, EmptyListIsRefusedBeforeAnythingIsWritten) {
    EXPECT_FALSE(Generate("alps", 0, 0, 0, 0));
    EXPECT_EQ(rec.messages(),
              QStringList{"Error|There are no thermals to generate from: place at least one."});
    EXPECT_FALSE(QFile::exists(work + "/alps.sca"));
    EXPECT_FALSE(ToolRan("scasm"));
}

TEST_F(Thermik, SourceThatCannotBeCreated) {
    // A directory stands where the source should go.
    ASSERT_TRUE(QDir(work).mkdir("alps.sca"));
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error opening file"});
    EXPECT_FALSE(ToolRan("scasm"));
}

TEST_F(Thermik, UnwritableDirectory) {
    // Not even root may create files here.
    ASSERT_TRUE(QDir::setCurrent("/proc"));
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error opening file"});
    EXPECT_FALSE(ToolRan("scasm"));
}

TEST_F(Thermik, MissingToolIsReported) {
    ASSERT_TRUE(QFile::remove(tools + "/scasm"));
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_EQ(rec.messages(), QStringList{"Error|Error Generating Thermals"});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The source stays for the user to run the assembler by hand.
    EXPECT_TRUE(Output("alps.sca").startsWith("Header("));
}

TEST_F(Thermik, ToolThatCannotStartIsReported) {
    QFile::setPermissions(tools + "/scasm", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_EQ(rec.messages(), QStringList{"Error|Error Generating Thermals"});
}

TEST_F(Thermik, ToolFailureShowsNothingButIsNoSuccess) {
    WriteTool("scasm", "pwd > \"$dir/scasm.cwd\"\nexit 3\n");
    AddThermal(46.5, 7.25);
    EXPECT_FALSE(Generate("alps", 46.5, 7.25, 46.5, 7.25));
    EXPECT_TRUE(ToolRan("scasm"));
    EXPECT_TRUE(rec.messages().isEmpty());
}

} // namespace
