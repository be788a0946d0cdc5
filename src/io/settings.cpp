#include "settings.h"

#include <QDir>
#include <QFileInfo>

QString SettingsPathBesideExecutable(const QString& executablePath) {
    const QFileInfo info(executablePath);
    const QString suffix = info.suffix();
    QString path = executablePath;
    if (!suffix.isEmpty())
        path.chop(suffix.size() + 1);
    return path + QStringLiteral(".INI");
}

namespace {

// Folders that belong to the system's package manager or to `make install`: a program there
// keeps its settings with the user even when it could write beside itself (as root can).
bool InSystemFolder(const QString& path) {
    const QString folder = QDir::cleanPath(QFileInfo(path).absolutePath()) + QLatin1Char('/');
    return folder.startsWith(QLatin1String("/usr/")) || folder.startsWith(QLatin1String("/opt/"));
}

} // namespace

QString ChooseSettingsPath(const QString& executablePath, const QString& configDir) {
    const QString beside = SettingsPathBesideExecutable(executablePath);
    const QFileInfo file(beside);
    // A folder or a device where the file should be cannot hold the settings either.
    const bool writable =
        file.exists() ? file.isFile() && file.isWritable() : QFileInfo(file.path()).isWritable();
    if (writable && !InSystemFolder(beside))
        return beside;
    QDir().mkpath(configDir);
    const QString own = QDir(configDir).filePath(file.fileName());
    if (file.isFile() && file.isReadable()) {
        const QSettings read(beside, QSettings::IniFormat);
        QSettings written(own, QSettings::IniFormat);
        for (const QString& key : read.allKeys())
            written.setValue(key, read.value(key));
    }
    return own;
}

int ReadIntSetting(QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    int value = settings.value(key).toString().trimmed().toInt(&ok);
    if (!ok || value < 0)
        value = fallback;
    settings.setValue(key, value);
    return value;
}

TimerIntervals ReadTimerIntervals(QSettings& settings) {
    TimerIntervals intervals;
    settings.beginGroup(QStringLiteral("Timers"));
    intervals.dataRead = ReadIntSetting(settings, QStringLiteral("DataRead"), intervals.dataRead);
    intervals.profiler = ReadIntSetting(settings, QStringLiteral("Profiler"), intervals.profiler);
    intervals.display = ReadIntSetting(settings, QStringLiteral("Display"), intervals.display);
    settings.endGroup();
    return intervals;
}

CursorSettings ReadCursorSettings(QSettings& settings) {
    CursorSettings cursor;
    settings.beginGroup(QStringLiteral("ACCursor"));
    cursor.width = ReadIntSetting(settings, QStringLiteral("Width"), cursor.width);
    cursor.height = ReadIntSetting(settings, QStringLiteral("Height"), cursor.height);
    cursor.weight = ReadIntSetting(settings, QStringLiteral("Weight"), cursor.weight);
    settings.endGroup();
    return cursor;
}
