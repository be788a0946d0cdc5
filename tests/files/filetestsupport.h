#pragma once

#include "map/map.h"
#include "recordingprompts.h"
#include "scene/mapview.h"

#include <string>
#include <string_view>
#include <sys/resource.h>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fixture file in tests/data/files.
QString DataPath(const char* name);
std::string ReadBytes(const QString& path);
void WriteBytes(const QString& path, std::string_view bytes);

// While alive, no file of this process may grow beyond the given size: a write past it fails
// as on a full disk, for root as for anyone (read-only folders do not stop root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

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
