#include "files/project.h"
#include "filetestsupport.h"

#include <QDir>
#include <QFile>

namespace {

const QString kExampleHeader = "map.bmp\n47:30.000N\n47:00.000N\n7:30.000E\n8:30.000E\n";
const std::string kHeaderBytes =
    "map.bmp\r\n47:30.000N\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n";
const std::string kBasic = "4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2\r\n";

class ProjectTest : public FileTest {
protected:
    // The example project copied into the scratch folder, next to its map picture.
    QString ScratchExample() {
        QFile::copy(DataPath("map.bmp"), Scratch("map.bmp"));
        return Scratch("example.prj", ReadBytes(DataPath("example.prj")));
    }

    ThermalList thermals;
    Project project{map, thermals};
};

void ExpectSameThermal(const TThermal& a, const TThermal& b) {
    EXPECT_EQ(a.lat, b.lat);
    EXPECT_EQ(a.lon, b.lon);
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.bottom, b.bottom);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.radius, b.radius);
    EXPECT_EQ(a.windDir, b.windDir);
    EXPECT_EQ(a.factor, b.factor);
    EXPECT_EQ(a.cloud, b.cloud);
    EXPECT_EQ(a.cloudBase, b.cloudBase);
    EXPECT_EQ(a.cloudRadius, b.cloudRadius);
    EXPECT_EQ(a.cloudType, b.cloudType);
    EXPECT_EQ(a.tCuHS, b.tCuHS);
    EXPECT_EQ(a.tCuVS, b.tCuVS);
    EXPECT_EQ(a.tCuRotation, b.tCuRotation);
    EXPECT_EQ(a.tCuCloud, b.tCuCloud);
    EXPECT_EQ(a.tCuStart, b.tCuStart);
    EXPECT_EQ(a.tCuEnd, b.tCuEnd);
    EXPECT_EQ(a.tGroundHeight, b.tGroundHeight);
    EXPECT_EQ(a.tStrengthPercent, b.tStrengthPercent);
    EXPECT_EQ(a.tCorePercent, b.tCorePercent);
    EXPECT_EQ(a.tCoreBasePercent, b.tCoreBasePercent);
    EXPECT_EQ(a.tCoreTopPercent, b.tCoreTopPercent);
}

TEST_F(ProjectTest, ExampleLoadsHeaderMapAndThermals) {
    project.modified = true;
    project.Load(DataPath("example.prj"), panel, false);

    EXPECT_TRUE(rec.messages().isEmpty()) << rec.messages().join('\n').toStdString();
    EXPECT_EQ(project.header, kExampleHeader);
    EXPECT_EQ(project.fileName, "example.prj");
    EXPECT_EQ(project.folder, QStringLiteral(FILES_TEST_DATA "/"));
    EXPECT_FALSE(project.modified);
    EXPECT_TRUE(map.loaded);
    EXPECT_EQ(map.mapFile, "map.bmp");
    EXPECT_DOUBLE_EQ(map.latTop, 47.5);
    EXPECT_DOUBLE_EQ(map.latBottom, 47.0);
    EXPECT_DOUBLE_EQ(map.lonLeft, 7.5);
    EXPECT_DOUBLE_EQ(map.lonRight, 8.5);
    EXPECT_EQ(map.displayWidth(), 400);

    ASSERT_EQ(thermals.size(), 2u);
    const TThermal& basic = *thermals[0];
    EXPECT_DOUBLE_EQ(basic.lat, 47.25);
    EXPECT_DOUBLE_EQ(basic.lon, 8.0);
    EXPECT_EQ(basic.spare, 450);
    EXPECT_EQ(basic.tGroundHeight, 450);
    EXPECT_EQ(basic.tCuHS, -1.0f);
    EXPECT_EQ(basic.tCuCloud, -0.5f);
    EXPECT_EQ(basic.tCuStart, -1);
    EXPECT_EQ(basic.tStrengthPercent, 0);
    EXPECT_EQ(basic.tCoreTopPercent, 0);

    const TThermal& full = *thermals[1];
    EXPECT_DOUBLE_EQ(full.lat, 47.12345);
    EXPECT_DOUBLE_EQ(full.lon, 8.12345);
    EXPECT_EQ(full.type, 4);
    EXPECT_EQ(full.bottom, 0);
    EXPECT_EQ(full.top, 1500);
    EXPECT_EQ(full.radius, 300);
    EXPECT_EQ(full.windDir, 270);
    EXPECT_EQ(full.factor, 5);
    EXPECT_TRUE(full.cloud);
    EXPECT_EQ(full.cloudBase, 1800);
    EXPECT_EQ(full.cloudRadius, 400);
    EXPECT_EQ(full.cloudType, 2);
    EXPECT_EQ(full.tGroundHeight, 450);
    EXPECT_EQ(full.tCuHS, -1.0f);
    EXPECT_EQ(full.tCuVS, -1.0f);
    EXPECT_EQ(full.tCuRotation, 0);
    EXPECT_EQ(full.tCuCloud, -0.5f);
    EXPECT_EQ(full.tCuStart, -1);
    EXPECT_EQ(full.tCuEnd, -1);
    EXPECT_EQ(full.tStrengthPercent, 100);
    EXPECT_EQ(full.tCorePercent, 50);
    EXPECT_EQ(full.tCoreBasePercent, 10);
    EXPECT_EQ(full.tCoreTopPercent, 90);
    EXPECT_EQ(full.heightUnits, meters);

    for (const auto& t : thermals) {
        EXPECT_TRUE(t->isVisible());
        EXPECT_EQ(t->scene(), panel.scene());
        EXPECT_EQ(t->mapX(), map.LonToX(t->lon));
        EXPECT_EQ(t->mapY(), map.LatToY(t->lat));
    }
}

TEST_F(ProjectTest, SectionsAndCloudDiameterOfLoadedThermals) {
    project.Load(DataPath("sections.prj"), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    ASSERT_EQ(thermals.size(), 3u);
    // 801 and -3 as cloud diameter; ",1,5" announces too few cumulus values: no sections.
    EXPECT_EQ(thermals[0]->cloudBase, 801);
    EXPECT_EQ(thermals[0]->cloudRadius, -1);
    EXPECT_EQ(thermals[0]->tCuHS, -1.0f);
    EXPECT_EQ(thermals[0]->tStrengthPercent, 0);
    // The profile section alone.
    EXPECT_EQ(thermals[1]->tStrengthPercent, 100);
    EXPECT_EQ(thermals[1]->tCoreTopPercent, 90);
    EXPECT_EQ(thermals[1]->tCuHS, -1.0f);
    EXPECT_EQ(thermals[1]->tGroundHeight, 450);
    // A decimal position.
    EXPECT_DOUBLE_EQ(thermals[2]->lat, 47.123459);
    EXPECT_FALSE(thermals[2]->cloud);
}

TEST_F(ProjectTest, LinesOfTwentyFiveCharactersAreThermals) {
    project.Load(DataPath("boundary.prj"), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    // The third line has 24 characters: it ends the list and the fourth is not read.
    ASSERT_EQ(thermals.size(), 2u);
    EXPECT_EQ(thermals[0]->type, 1);
    EXPECT_EQ(thermals[1]->type, 2);
}

TEST_F(ProjectTest, BlankLineEndsTheThermals) {
    project.Load(DataPath("blankline.prj"), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    ASSERT_EQ(thermals.size(), 1u);
    EXPECT_DOUBLE_EQ(thermals[0]->lat, 47.25);
}

TEST_F(ProjectTest, HeaderOnlyLoadsTheMap) {
    project.Load(DataPath("headeronly.prj"), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_TRUE(map.loaded);
    EXPECT_TRUE(thermals.empty());
    EXPECT_EQ(project.header, kExampleHeader);
}

TEST_F(ProjectTest, BadThermalLineKeepsTheThermalsBeforeIt) {
    project.Load(DataPath("badthermal.prj"), panel, false);
    EXPECT_EQ(rec.messages(),
              QStringList{"File Error|Error reading thermal data from Project File map"});
    ASSERT_EQ(thermals.size(), 1u);
    EXPECT_DOUBLE_EQ(thermals[0]->lat, 47.25);
    EXPECT_TRUE(map.loaded);
    EXPECT_EQ(project.fileName, "badthermal.prj");
}

TEST_F(ProjectTest, AddKeepsHeaderNamesMapAndFlag) {
    project.Load(DataPath("example.prj"), panel, false);
    project.modified = true;
    project.Load(DataPath("badthermal.prj"), panel, true);

    EXPECT_EQ(rec.messages(),
              QStringList{"File Error|Error reading thermal data from Project File map"});
    EXPECT_EQ(project.fileName, "example.prj");
    EXPECT_EQ(project.header, kExampleHeader);
    EXPECT_TRUE(project.modified);
    ASSERT_EQ(thermals.size(), 3u);
    EXPECT_DOUBLE_EQ(thermals[2]->lat, 47.25);
    EXPECT_EQ(thermals[2]->scene(), panel.scene());
}

TEST_F(ProjectTest, AddOnAShortFileReportsTheHeader) {
    project.Load(DataPath("example.prj"), panel, false);
    project.Load(DataPath("shortheader.prj"), panel, true);
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error reading additional Project data map"});
    EXPECT_EQ(thermals.size(), 2u);
}

TEST_F(ProjectTest, MissingFileLoadsNothing) {
    project.Load(DataPath("example.prj"), panel, false);
    project.Load(Scratch("absent.prj"), panel, false);
    project.Load(dir.path(), panel, false);
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error opening Project File",
                                           "File Error|Error opening Project File"}));
    EXPECT_EQ(project.fileName, "example.prj");
    EXPECT_EQ(thermals.size(), 2u);
}

TEST_F(ProjectTest, FileThatFailsToReadLoadsNothing) {
    // Opens, but every read of it fails.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFile::exists(unreadable))
        GTEST_SKIP() << "needs Linux's /proc";
    project.Load(unreadable, panel, false);
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error opening Project File 2"});
    EXPECT_TRUE(project.fileName.isEmpty());
}

TEST_F(ProjectTest, EmptyFileReportsEachMissingHeaderLine) {
    project.Load(Scratch("empty.prj", ""), panel, false);
    EXPECT_EQ(rec.messages(),
              QStringList({"File Error|Error reading Project File header 1",
                           "File Error|Error reading Project File header 2:readline",
                           "File Error|Error reading Project File header",
                           "File Error|Error with Map File"}));
    EXPECT_EQ(project.fileName, "empty.prj");
    EXPECT_EQ(project.header, "\n\n\n\n\n");
    EXPECT_TRUE(thermals.empty());
}

TEST_F(ProjectTest, ShortHeaderGoesOnWithTheMap) {
    project.Load(DataPath("shortheader.prj"), panel, false);
    // Lines 2 and 3 are read; the map gets 0 for the lines the file lacks.
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error reading Project File header"});
    EXPECT_TRUE(map.loaded);
    EXPECT_DOUBLE_EQ(map.latTop, 47.5);
    EXPECT_DOUBLE_EQ(map.latBottom, 47.0);
    EXPECT_DOUBLE_EQ(map.lonRight, 0.0);
}

TEST_F(ProjectTest, CalibrationProblemsAreReportedByTheDegreeParser) {
    const QString path =
        Scratch("nohemisphere.prj",
                "map.bmp\r\n47:30\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n" + kBasic);
    QFile::copy(DataPath("map.bmp"), Scratch("map.bmp"));
    project.Load(path, panel, false);
    ASSERT_EQ(rec.messages().size(), 1);
    EXPECT_TRUE(rec.messages()[0].startsWith("Error|Error converting negative"));
    EXPECT_DOUBLE_EQ(map.latTop, 47.5);
    EXPECT_EQ(thermals.size(), 1u);
}

TEST_F(ProjectTest, GarbageNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 100000; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    project.Load(Scratch("garbage.prj", garbage), panel, false);
    for (const QString& m : rec.messages())
        EXPECT_TRUE(m.startsWith("File Error|") || m.startsWith("Error|")) << m.toStdString();

    rec.clear();
    const std::string longLine(2'000'000, '7');
    project.Load(Scratch("long.prj", kHeaderBytes + kBasic + longLine + "\r\n" + kBasic), panel,
                 true);
    EXPECT_EQ(rec.messages(),
              QStringList{"File Error|Error reading thermal data from Project File map"});
}

TEST_F(ProjectTest, SaveAllRoundTripKeepsEveryField) {
    project.Load(ScratchExample(), panel, false);
    TThermal& t = *thermals[0];
    t.SetCuHs(1.3f);
    t.SetCuVs(0.75f);
    t.SetCuRotation(45);
    t.SetCuCloud(0.1f);
    t.SetCuStart(10);
    t.SetCuEnd(50);
    t.SetStrengthPercent(80);
    t.SetCorePercent(60);
    t.SetCoreBasePercent(20);
    t.SetCoreTopPercent(85);
    t.SetWindDir(123);
    t.SetLat(-3398765 * 0.00001); // as read from a file
    project.modified = true;
    project.SaveTo(Scratch("saved.prj"), true);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_FALSE(project.modified);
    EXPECT_EQ(project.fileName, "saved.prj");

    ThermalList again;
    Project reloaded(map, again);
    reloaded.Load(Scratch("saved.prj"), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_EQ(reloaded.header, project.header);
    ASSERT_EQ(again.size(), thermals.size());
    for (std::size_t i = 0; i < again.size(); ++i)
        ExpectSameThermal(*again[i], *thermals[i]);
}

TEST_F(ProjectTest, BasicSaveResetsCumulusAndProfile) {
    project.Load(ScratchExample(), panel, false);
    project.SaveTo(Scratch("basic.prj"), false);
    EXPECT_EQ(ReadBytes(Scratch("basic.prj")),
              kHeaderBytes + kBasic + "4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2\r\n");

    ThermalList again;
    Project reloaded(map, again);
    reloaded.Load(Scratch("basic.prj"), panel, false);
    ASSERT_EQ(again.size(), 2u);
    const TThermal constructed;
    for (const auto& t : again) {
        EXPECT_EQ(t->tCuHS, constructed.tCuHS);
        EXPECT_EQ(t->tCuVS, constructed.tCuVS);
        EXPECT_EQ(t->tCuRotation, constructed.tCuRotation);
        EXPECT_EQ(t->tCuCloud, constructed.tCuCloud);
        EXPECT_EQ(t->tCuStart, constructed.tCuStart);
        EXPECT_EQ(t->tCuEnd, constructed.tCuEnd);
        EXPECT_EQ(t->tStrengthPercent, constructed.tStrengthPercent);
        EXPECT_EQ(t->tCorePercent, constructed.tCorePercent);
        EXPECT_EQ(t->tCoreBasePercent, constructed.tCoreBasePercent);
        EXPECT_EQ(t->tCoreTopPercent, constructed.tCoreTopPercent);
        EXPECT_EQ(t->tGroundHeight, 450);
    }
}

TEST_F(ProjectTest, SavedFileHasCrLfLinesAndTheHeaderAsRead) {
    // A header from elsewhere, in Windows-1252 and with a name that needs no calibration.
    const std::string header = "Karte M\xFCnchen.bmp\r\n47:30.000N\r\n47:00.000N\r\n"
                               "7:30.000E\r\n8:30.000E\r\n";
    project.Load(Scratch("muenchen.prj", header + kBasic), panel, false);
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error with Map File"});
    EXPECT_TRUE(project.header.startsWith(QString::fromUtf8("Karte München.bmp\n")));

    project.Save(true);
    EXPECT_EQ(ReadBytes(Scratch("muenchen.prj")),
              header + "4725000,800000,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,-0.5,"
                       "-1,-1,450,2,4,0,0,0,0\r\n");
}

TEST_F(ProjectTest, ByteOrderMarkStaysWithTheHeader) {
    QFile::copy(DataPath("map.bmp"), Scratch("map.bmp"));
    const std::string bytes = "\xEF\xBB\xBF" + kHeaderBytes + kBasic;
    project.Load(Scratch("marked.prj", bytes), panel, false);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_EQ(map.mapFile, "map.bmp");
    EXPECT_EQ(thermals.size(), 1u);
    project.Save(false);
    EXPECT_EQ(ReadBytes(Scratch("marked.prj")), bytes);
}

TEST_F(ProjectTest, WriteThermalTruncatesPositions) {
    TThermal t;
    t.map = &map;
    t.SetLat(47.123456);
    t.SetLon(-0.000019);
    std::string out;
    project.WriteThermal(out, t, false);
    EXPECT_EQ(out, "4712345,-1,0,0,0,0,0,0,0,0,0,0,0\r\n");
}

TEST_F(ProjectTest, SaveBeforeAnyLoadFails) {
    project.modified = true;
    project.Save(true);
    EXPECT_EQ(rec.messages(), QStringList{"File Error|Error with Project File"});
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(project.fileName.isEmpty());
}

TEST_F(ProjectTest, FailedSaveKeepsTheOldFileAndTheNames) {
    const QString path = ScratchExample();
    project.Load(path, panel, false);
    project.modified = true;

    QDir(dir.path()).mkdir("folder.prj");
    WriteBytes(Scratch("folder.prj/inside.txt"), "kept");
    project.SaveTo(Scratch("folder.prj"), true);
    project.SaveTo(Scratch("nowhere/new.prj"), true);
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error with Project File",
                                           "File Error|Error with Project File"}));
    EXPECT_EQ(ReadBytes(Scratch("folder.prj/inside.txt")), "kept");
    EXPECT_FALSE(QFile::exists(Scratch("nowhere/new.prj")));
    EXPECT_EQ(project.fileName, "example.prj");
    EXPECT_TRUE(project.modified);
}

TEST_F(ProjectTest, WriteFailingPartWayKeepsTheOldFileWhole) {
    const QString path = ScratchExample();
    const std::string before = ReadBytes(path);
    project.Load(path, panel, false);
    project.Load(path, panel, true);
    project.modified = true;
    ASSERT_EQ(thermals.size(), 4u);
    {
        // Room for the header and part of the first thermal line only.
        const FileSizeLimit limit(static_cast<long>(kHeaderBytes.size()) + 20);
        project.Save(true);
        project.SaveTo(Scratch("copy.prj"), true);
    }
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error with Project File",
                                           "File Error|Error with Project File"}));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(project.fileName, "example.prj");
    EXPECT_TRUE(project.modified);
    // No partly written file is left behind under either name.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"example.prj", "map.bmp"}));
}

TEST_F(ProjectTest, SaveAsAsksWithTheProjectFilter) {
    project.Load(ScratchExample(), panel, false);
    project.SaveAs(true);
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::SaveDialog);
    EXPECT_EQ(rec.entries[0].caption, "Project files (*.prj)|*.PRJ");
    EXPECT_EQ(rec.entries[0].text, "prj");
    EXPECT_EQ(rec.entries[0].dir, project.folder);
    EXPECT_EQ(project.fileName, "example.prj");

    rec.files.push_back(Scratch("other.prj"));
    project.SaveAs(false);
    EXPECT_EQ(project.fileName, "other.prj");
    EXPECT_TRUE(ReadBytes(Scratch("other.prj")).starts_with(kHeaderBytes + kBasic));
}

} // namespace
