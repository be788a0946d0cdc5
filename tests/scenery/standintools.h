#pragma once

#include "recordingprompts.h"
#include "scene/thermal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The scenery source of the worked example (one thermal at 46.5, 7.25 of type 1, bottom 300,
// top 1500, radius 400, wind 270, factor 5, cloud base 1600, radius 300, type 2) as it
// stands on disk: every "\r\n" of the text reaches the disk as CR CR LF.
inline constexpr char kExampleSource[] =
    "Header( 1 46.7 46.3 7.45 7.05 )\r\r\n"
    "LatRange( 46.3 46.7 )\r\r\n"
    "\r\r\n"
    "Macro( cloud_01.scm 46.5 7.25 0 1600 600  cld2.bmp )\r\r\n"
    "\r\r\n"
    "Macro( lift_01.scm 46.5 7.25 300 1500 400 270 5 )\r\r\n";

// A temporary working directory, made current for the test, and beside it a tool directory
// (with a blank in its name) holding stand-in `scasm` and `cumulus31` scripts. They record
// their arguments one per line in <tool>.args, their working directory in <tool>.cwd and
// (cumulus31) their standard input in cumulus31.stdin, all in the tool directory.
class SceneryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes both stand-in tools into the tool directory.
    void InstallTools() const;
    // Replaces a stand-in tool with a script of the given body.
    void WriteTool(const QString& name, const QByteArray& body) const;
    // What a stand-in tool recorded; empty when it did not run.
    QByteArray Recorded(const QString& file) const;
    bool ToolRan(const QString& name) const;
    QStringList Arguments(const QString& name) const;
    // A file in the working directory.
    QByteArray Output(const QString& name) const;

    // Adds a thermal at lat, lon of the given type; other values are the constructor's.
    TThermal& AddThermal(double lat, double lon, int type = 1);

    QTemporaryDir root;
    QString work;
    QString tools;
    ThermalList thermals;
    RecordingPrompts rec;

private:
    QString previousDir_;
};
