#include "files/dat.h"
#include "filetestsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

class DatTest : public FileTest {
protected:
    // Loads a fixture into a fresh list, saves it into the scratch folder and returns the
    // bytes written.
    std::string LoadAndSave(const char* name) {
        dat.Load(DataPath(name), panel);
        dat.SaveTo(Scratch(name));
        return ReadBytes(Scratch(name));
    }

    WaypointList waypoints;
    Dat dat{map, waypoints};
};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

bool IsWaypoint(const std::string& line) {
    return !line.empty() && std::isdigit(line[0]);
}

TEST_F(DatTest, ReadsHemispheresUnitsAndTrailer) {
    dat.modified = true;
    dat.Load(DataPath("hemispheres.dat"), panel);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_FALSE(dat.modified);
    EXPECT_EQ(dat.fileName, "hemispheres.dat");
    EXPECT_EQ(dat.folder, QStringLiteral(FILES_TEST_DATA "/"));
    ASSERT_EQ(waypoints.size(), 5u);
    EXPECT_DOUBLE_EQ(waypoints[0]->lat, -(47 + 30.5 / 60));
    EXPECT_DOUBLE_EQ(waypoints[0]->lon, -(8 + 15.25 / 60));
    EXPECT_EQ(waypoints[0]->tGroundHeight, 457);
    EXPECT_GT(waypoints[1]->lat, 0);
    EXPECT_EQ(waypoints[2]->tAttributes, "TL");
    EXPECT_EQ(waypoints[3]->tGroundHeight, 120);
    EXPECT_EQ(waypoints[4]->tText, "a");

    EXPECT_EQ(dat.trailer, "\r\nTrailing text\r\n\r\nafter a blank line\r\n");
    for (const auto& w : waypoints) {
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->scene(), panel.scene());
        EXPECT_EQ(w->heightUnits, meters);
    }
}

TEST_F(DatTest, FirstLineThatIsNoWaypointMakesTheFileTrailer) {
    dat.Load(DataPath("notwaypoints.dat"), panel);
    EXPECT_TRUE(rec.messages().isEmpty());
    EXPECT_TRUE(waypoints.empty());
    EXPECT_EQ(dat.trailer, ReadBytes(DataPath("notwaypoints.dat")));

    auto w = std::make_unique<TWaypoint>();
    w->map = &map;
    w->SetID(3);
    w->SetLat(47 + 30.5 / 60);
    w->SetLon(8 + 15.25 / 60);
    w->SetAttributes("T");
    w->SetName("Waypoint 1");
    w->SetText("Waypoint 1");
    waypoints.push_back(std::move(w));
    dat.SaveTo(Scratch("route.dat"));
    EXPECT_EQ(ReadBytes(Scratch("route.dat")),
              "3,47:30.500N,8:15.250E,0M,T,Waypoint 1,Waypoint 1\r\n" +
                  ReadBytes(DataPath("notwaypoints.dat")));
}

TEST_F(DatTest, RealFilesLoadWithoutAMessage) {
    struct Expected {
        const char* file;
        std::size_t count;
        std::size_t headerLines;
    };
    for (const Expected& e :
         {Expected{"xcsoar_waypoints.dat", 5, 1}, Expected{"xcsoar_wp_parser_test.dat", 90, 0},
          Expected{"xcsoar_wp_parser_euregio9.dat", 99, 28}}) {
        waypoints.clear();
        dat.Load(DataPath(e.file), panel);
        EXPECT_TRUE(rec.messages().isEmpty()) << e.file;
        EXPECT_EQ(waypoints.size(), e.count) << e.file;
        EXPECT_EQ(Lines(dat.header).size(), e.headerLines) << e.file;
    }
}

TEST_F(DatTest, RealFilesKeepNamesAndElevationsAsWritten) {
    dat.Load(DataPath("xcsoar_waypoints.dat"), panel);
    ASSERT_EQ(waypoints.size(), 5u);
    EXPECT_EQ(waypoints[0]->tName, "Aconcagua");
    EXPECT_EQ(waypoints[0]->tGroundHeight, 6962);
    EXPECT_DOUBLE_EQ(waypoints[0]->lat, -(32 + 39.2 / 60));
    EXPECT_DOUBLE_EQ(waypoints[0]->lon, -(70 + 0.7 / 60));
    EXPECT_EQ(waypoints[1]->tID, 553);
    EXPECT_EQ(waypoints[1]->tAttributes, "ATH");
    EXPECT_EQ(waypoints[1]->tText, "123.650 MHz 0422");
    EXPECT_NEAR(waypoints[1]->lat, 51 + 3 / 60.0 + 7 / 3600.0, 1e-12);
    EXPECT_EQ(waypoints[2]->tText, "");
    EXPECT_EQ(waypoints[4]->tName, "Sydney Opera");
    EXPECT_EQ(dat.header, "* WRITTEN BY WELT2000 AT 05.12.2010\r\n");
    EXPECT_EQ(dat.trailer, "\r\n");

    waypoints.clear();
    dat.Load(DataPath("xcsoar_wp_parser_euregio9.dat"), panel);
    EXPECT_EQ(waypoints[0]->tName, "Aachen      ");
    EXPECT_EQ(waypoints[0]->tText, "PmpsttnGfr=3");
    EXPECT_EQ(waypoints[0]->tGroundHeight, 189);
    EXPECT_EQ(waypoints.back()->tID, 103);
    EXPECT_EQ(waypoints.back()->tAttributes, "HFA");
    EXPECT_EQ(dat.trailer, "\x1A");

    waypoints.clear();
    dat.Load(DataPath("xcsoar_wp_parser_test.dat"), panel);
    EXPECT_EQ(waypoints.back()->tName, "KAMEH");
    EXPECT_EQ(waypoints.back()->tGroundHeight, 62);
}

TEST_F(DatTest, RealFilesSurviveLoadAndSave) {
    for (const char* name :
         {"xcsoar_waypoints.dat", "xcsoar_wp_parser_test.dat", "xcsoar_wp_parser_euregio9.dat"}) {
        waypoints.clear();
        const std::string original = ReadBytes(DataPath(name));
        const std::string saved = LoadAndSave(name);
        EXPECT_TRUE(rec.messages().isEmpty()) << name;

        // Every line that is not a waypoint comes back unchanged and in its place.
        const auto before = Lines(original);
        const auto after = Lines(saved);
        ASSERT_EQ(after.size(), before.size()) << name;
        const QRegularExpression form(
            QStringLiteral("^\\d+,\\d+:\\d\\d\\.\\d\\d\\d[NS],\\d+:\\d\\d\\.\\d\\d\\d[EW],"));
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (IsWaypoint(before[i]))
                EXPECT_TRUE(form.match(QString::fromStdString(after[i])).hasMatch()) << after[i];
            else
                EXPECT_EQ(after[i], before[i]) << name << " line " << i + 1;
        }
        EXPECT_EQ(saved.substr(saved.size() - 3), original.substr(original.size() - 3)) << name;

        // The written file reads back to the same waypoints, positions to 0.001 minute.
        WaypointList again;
        Dat reread(map, again);
        reread.Load(Scratch(name), panel);
        EXPECT_TRUE(rec.messages().isEmpty()) << name;
        ASSERT_EQ(again.size(), waypoints.size()) << name;
        for (std::size_t i = 0; i < again.size(); ++i) {
            EXPECT_NEAR(again[i]->lat, waypoints[i]->lat, 0.0005 / 60 + 1e-12);
            EXPECT_NEAR(again[i]->lon, waypoints[i]->lon, 0.0005 / 60 + 1e-12);
            EXPECT_EQ(again[i]->tID, waypoints[i]->tID);
            EXPECT_EQ(again[i]->tGroundHeight, waypoints[i]->tGroundHeight);
            EXPECT_EQ(again[i]->tAttributes, waypoints[i]->tAttributes);
            EXPECT_EQ(again[i]->tName, waypoints[i]->tName);
            EXPECT_EQ(again[i]->tText, waypoints[i]->tText);
        }
        // Written once, the file no longer changes.
        reread.Save();
        EXPECT_EQ(ReadBytes(Scratch(name)), saved) << name;
    }
}

TEST_F(DatTest, NamesKeepTheFilesCharacterSet) {
    for (const char* name : {"windows1252.dat", "utf8.dat"}) {
        waypoints.clear();
        const std::string saved = LoadAndSave(name);
        EXPECT_TRUE(rec.messages().isEmpty());
        ASSERT_EQ(waypoints.size(), 2u);
        EXPECT_EQ(waypoints[0]->tName, QString::fromUtf8("Zürich Kloten")) << name;
        EXPECT_EQ(waypoints[0]->tText, QString::fromUtf8("Flugplatz – Süd")) << name;
        EXPECT_EQ(waypoints[1]->tText, QString::fromUtf8("Höhe 1600 m")) << name;
        EXPECT_EQ(saved, ReadBytes(DataPath(name))) << name;
    }
}

TEST_F(DatTest, ByteOrderMarkBelongsToNoLine) {
    const std::string bytes = "\xEF\xBB\xBF"
                              "1,47:30.500N,8:15.250E,457M,T,H\xC3\xB6he,ok\r\n";
    dat.Load(Scratch("marked.dat", bytes), panel);
    EXPECT_TRUE(rec.messages().isEmpty());
    ASSERT_EQ(waypoints.size(), 1u);
    EXPECT_EQ(waypoints[0]->tName, QString::fromUtf8("Höhe"));
    dat.Save();
    EXPECT_EQ(ReadBytes(Scratch("marked.dat")), bytes);
}

TEST_F(DatTest, BadLineKeepsTheWaypointsBeforeItAndTheRestOfTheFile) {
    const std::string saved = LoadAndSave("badline.dat");
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error with Dat File"}));
    ASSERT_EQ(waypoints.size(), 2u);
    EXPECT_EQ(waypoints[1]->tName, "Second");
    EXPECT_EQ(dat.fileName, "badline.dat");
    // The line that could not be read and all after it are kept for the next save.
    EXPECT_EQ(dat.trailer, "3,47:31.500N,8:16.500E\r\n"
                           "4,47:32.000N,8:17.000E,459M,T,Fourth,never read\r\ntail\r\n");
    EXPECT_EQ(saved, ReadBytes(DataPath("badline.dat")));
}

TEST_F(DatTest, MissingFileChangesNothing) {
    dat.Load(DataPath("hemispheres.dat"), panel);
    dat.Load(Scratch("absent.dat"), panel);
    dat.Load(dir.path(), panel);
    EXPECT_EQ(rec.messages(),
              QStringList({"File Error|Error with Dat File", "File Error|Error with Dat File"}));
    EXPECT_EQ(dat.fileName, "hemispheres.dat");
    EXPECT_EQ(waypoints.size(), 5u);
}

TEST_F(DatTest, GarbageAndLongLinesNeverCrash) {
    std::string garbage = "1";
    for (int i = 0; i < 100000; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    dat.Load(Scratch("garbage.dat", garbage), panel);
    for (const QString& m : rec.messages())
        EXPECT_EQ(m, "File Error|Error with Dat File");
    EXPECT_TRUE(garbage.starts_with(dat.header));
    EXPECT_TRUE(garbage.ends_with(dat.trailer));

    rec.clear();
    waypoints.clear();
    const std::string longName(1'000'000, 'x');
    dat.Load(Scratch("long.dat", "1,47:30.500N,8:15.250E,0M,T," + longName + ",t\r\n" +
                                     std::string(1'000'000, '9') + "\r\n"),
             panel);
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error with Dat File"}));
    ASSERT_EQ(waypoints.size(), 1u);
    EXPECT_EQ(waypoints[0]->tName.size(), 1'000'000);
}

TEST_F(DatTest, FailedSaveKeepsTheOldFileAndTheNames) {
    const QString path = Scratch("route.dat", ReadBytes(DataPath("hemispheres.dat")));
    dat.Load(path, panel);
    dat.modified = true;
    QDir(dir.path()).mkdir("folder.dat");
    dat.SaveTo(Scratch("folder.dat"));
    EXPECT_EQ(rec.messages(), QStringList({"File Error|Error with Dat File"}));
    EXPECT_TRUE(QFileInfo(Scratch("folder.dat")).isDir());
    EXPECT_EQ(dat.fileName, "route.dat");
    EXPECT_TRUE(dat.modified);
    EXPECT_EQ(ReadBytes(path), ReadBytes(DataPath("hemispheres.dat")));
}

TEST_F(DatTest, WriteFailingPartWayKeepsTheOldFileWhole) {
    const std::string before = ReadBytes(DataPath("hemispheres.dat"));
    const QString path = Scratch("route.dat", before);
    dat.Load(path, panel);
    dat.Load(path, panel);
    dat.modified = true;
    {
        // Room for the first waypoint line only.
        const FileSizeLimit limit(40);
        dat.Save();
        dat.SaveTo(Scratch("copy.dat"));
    }
    EXPECT_EQ(rec.messages(),
              QStringList({"File Error|Error with Dat File", "File Error|Error with Dat File"}));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dat.fileName, "route.dat");
    EXPECT_TRUE(dat.modified);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"route.dat"});
}

TEST_F(DatTest, SaveAsAsksWithTheDatFilter) {
    dat.Load(DataPath("hemispheres.dat"), panel);
    rec.files.push_back(Scratch("copy.dat"));
    dat.SaveAs();
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_EQ(rec.entries[0].kind, RecordingPrompts::Entry::SaveDialog);
    EXPECT_EQ(rec.entries[0].caption, "Dat files (*.dat)|*.DAT");
    EXPECT_EQ(rec.entries[0].text, "dat");
    EXPECT_EQ(rec.entries[0].dir, QStringLiteral(FILES_TEST_DATA "/"));
    EXPECT_EQ(dat.fileName, "copy.dat");
    EXPECT_EQ(dat.folder, dir.path() + '/');

    dat.SaveAs();
    EXPECT_EQ(dat.fileName, "copy.dat");
    EXPECT_EQ(rec.messages().size(), 0);
}

} // namespace
