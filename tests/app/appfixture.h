#pragma once

#include "app/mainform.h"
#include "recordingprompts.h"
#include "simlink/simlink.h"

#include <memory>
#include <utility>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

class QAction;
class QMenu;

// A simulator link that answers from fields and records what is written to it.
class FakeLink final : public SimLink {
public:
    double lat = 0;
    double lon = 0;
    double ground = 0;
    double altitude = 0;
    double heading = 0;
    bool block = false;
    int msStrength = 0;

    int readCycles = 0;
    int headingReads = 0;
    std::vector<int> strengthWrites;
    std::vector<std::pair<double, double>> moves;

    void ReadCycle() override { ++readCycles; }
    double GetLat() const override { return lat; }
    double GetLon() const override { return lon; }
    double GetGroundAlt() const override { return ground; }
    double GetAltitude() const override { return altitude; }
    double GetHeading() override {
        ++headingReads;
        return heading;
    }
    bool ThermalBlockPresent() const override { return block; }
    int GetMsStrength() const override { return msStrength; }
    void SetMsStrength(int value) override { strengthWrites.push_back(value); }
    void SetRollRate(double) override {}
    void MoveAircraft(double newLat, double newLon) override {
        lat = newLat;
        lon = newLon;
        moves.emplace_back(newLat, newLon);
    }
};

// A main window on a fake link, with its settings in a temporary folder and every prompt
// recorded. The window is shown (offscreen) so that its panel has a real size.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // (Re)creates the window; the settings file may be prepared before.
    void createForm();
    QString settingsPath() const { return dir.filePath(QStringLiteral("brevan.INI")); }

    // A project in the temporary folder: a 200 x 100 map picture covering 47.5 N to 47.0 N
    // and 7.5 E to 8.5 E, and the given thermal lines.
    QString writeProject(const QString& name, const QStringList& thermalLines) const;
    QString writeDat(const QString& name, const QStringList& lines) const;
    // Loads a project through "Load Project" with its dialog answered.
    void loadProject(const QString& path);

    QAction* action(const char* name) const;
    QMenu* menu(const char* name) const;
    // The map panel's viewport position of a map-image pixel.
    QPoint viewportPoint(int x, int y) const;
    void moveMouseTo(int x, int y) const;
    void clickMap(int x, int y) const;
    // Opens a context menu at a map-image pixel and triggers the item with that caption.
    void popupCommand(int x, int y, const char* menuName, const QString& caption) const;

    QTemporaryDir dir;
    RecordingPrompts rec;
    FakeLink* link = nullptr;
    std::unique_ptr<TMainForm> form;
};
