#include "scenery/batch.h"
#include "standintools.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace {

// A batch run finds its tools in the directory current at its start, the working one.
class Batch : public SceneryTest {
protected:
    void SetUp() override {
        SceneryTest::SetUp();
        tools = work;
        InstallTools();
        projectDir = root.filePath("projects");
        ASSERT_TRUE(QDir().mkpath(projectDir));
        ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(projectDir + "/map.bmp"));
    }

    QString WriteProject(const QString& name, const QByteArray& thermalLines) {
        const QString path = projectDir + '/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("map.bmp\r\n47:00.000N\r\n46:00.000N\r\n7:00.000E\r\n8:00.000E\r\n" +
                   thermalLines);
        return path;
    }

    // Runs the batch and keeps what it printed on standard error.
    int Run(const QString& kind, const QString& project) {
        ::testing::internal::CaptureStderr();
        const int status = RunBatch(kind, project);
        printed = QString::fromStdString(::testing::internal::GetCapturedStderr());
        return status;
    }

    static constexpr char kExampleLine[] =
        "4650000,725000,1,300,1500,400,270,5,1,600,1600,600,2\r\n";
    QString projectDir;
    QString printed;
};

TEST_F(Batch, ThermikLoadsTheProjectAndRunsTheAssemblerHere) {
    EXPECT_EQ(Run("thermik", WriteProject("alps.prj", kExampleLine)), 0);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Output("alps.sca").toStdString(), kExampleSource);
    EXPECT_EQ(Arguments("scasm"), (QStringList{"alps.sca", "alps.bgl"}));
    EXPECT_FALSE(QFile::exists(projectDir + "/alps.sca"));
}

TEST_F(Batch, CumulusFeedsTheFileToTheTool) {
    EXPECT_EQ(Run("cumulus", WriteProject("alps.prj", kExampleLine)), 0);
    const QByteArray expected = "alps_cu\r\r\n"
                                "46 30 0 7 15 0 \r\r\n"
                                "P\r\r\n"
                                "46 30 0 7 15 0 2100 -1 -1 0 -0.5 -1 -1\r\n";
    EXPECT_EQ(Output("alps_cu.cms"), expected);
    EXPECT_EQ(Recorded("cumulus31.stdin"), expected);
}

TEST_F(Batch, ShellCharactersInTheProjectNameAreNeverRun) {
    EXPECT_EQ(Run("thermik", WriteProject("a b;touch x.prj", kExampleLine)), 0);
    EXPECT_EQ(Arguments("scasm"), (QStringList{"a b;touch x.sca", "a b;touch x.bgl"}));
    EXPECT_FALSE(QFile::exists(work + "/x"));
    EXPECT_FALSE(QFile::exists(projectDir + "/x"));
}

TEST_F(Batch, MissingProjectFails) {
    EXPECT_EQ(Run("thermik", projectDir + "/none.prj"), 1);
    EXPECT_TRUE(printed.startsWith("File Error: Error opening Project File\n"))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains("Error: There are no thermals")) << printed.toStdString();
    EXPECT_FALSE(ToolRan("scasm"));
}

TEST_F(Batch, ProjectWithoutThermalsFails) {
    EXPECT_EQ(Run("cumulus", WriteProject("empty.prj", "")), 1);
    EXPECT_EQ(printed, "Error: There are no thermals to generate from: place at least one.\n");
    EXPECT_FALSE(QFile::exists(work + "/empty_cu.cms"));
}

TEST_F(Batch, FailingToolFails) {
    WriteTool("scasm", "exit 1\n");
    EXPECT_EQ(Run("thermik", WriteProject("alps.prj", kExampleLine)), 1);
    EXPECT_TRUE(QFile::exists(work + "/alps.sca"));
}

TEST_F(Batch, UnknownKind) {
    EXPECT_EQ(Run("clouds", WriteProject("alps.prj", kExampleLine)), 2);
    EXPECT_EQ(printed, "Error: Unknown scenery kind \"clouds\": use thermik or cumulus\n");
    EXPECT_FALSE(QFile::exists(work + "/alps.sca"));
}

} // namespace
