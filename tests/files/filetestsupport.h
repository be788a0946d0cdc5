#pragma once

#include "map/map.h"
#include "recordingprompts.h"
#include "scene/mapview.h"

#include <string>
#include <string_view>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fixture file in tests/data/files.
QString DataPath(const char* name);
std::string ReadBytes(const QString& path);
void WriteBytes(const QString& path, std::string_view bytes);

// A map panel that is never shown, a scratch folder and the recorded messages.
class FileTest : public ::testing::Test {
protected:
    FileTest();

    QString Scratch(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A scratch file with the given bytes.
    QString Scratch(const char* name, std::string_view bytes) const;

    RecordingPrompts rec;
    QTemporaryDir dir;
    Map map;
    MapView panel{map};
};
