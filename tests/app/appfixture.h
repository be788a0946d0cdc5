#pragma once

#include "app/mainform.h"
#include "fakelink.h"
#include "recordingprompts.h"

#include <memory>

#include <QTemporaryDir>

#include <gtest/gtest.h>

class QAction;
class QMenu;

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
