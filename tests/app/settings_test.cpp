#include "app/mainform.h"
#include "app/settings.h"
#include "appfixture.h"
#include "map/accursor.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

TEST(SettingsPath, ExtensionReplacedByIni) {
    EXPECT_EQ(SettingsPathBesideExecutable(QStringLiteral("/opt/bt/Brevan.exe")),
              QStringLiteral("/opt/bt/Brevan.INI"));
    EXPECT_EQ(SettingsPathBesideExecutable(QStringLiteral("/usr/bin/brevan")),
              QStringLiteral("/usr/bin/brevan.INI"));
    // A dot in a folder name is no extension.
    EXPECT_EQ(SettingsPathBesideExecutable(QStringLiteral("/home/a.b/brevan")),
              QStringLiteral("/home/a.b/brevan.INI"));
}

TEST(SettingsPath, BesideTheExecutableWhenWritable) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("brevan"));
    EXPECT_EQ(ChooseSettingsPath(exe, dir.filePath(QStringLiteral("config"))),
              dir.filePath(QStringLiteral("brevan.INI")));
}

TEST(SettingsPath, ConfigurationFolderWhenTheExecutableFolderCannotBeWritten) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config/brevan"));
    const QString chosen =
        ChooseSettingsPath(QStringLiteral("/nonexistent-folder/bin/brevan"), config);
    EXPECT_EQ(chosen, QDir(config).filePath(QStringLiteral("brevan.INI")));
    EXPECT_TRUE(QDir(config).exists());

    QSettings settings(chosen, QSettings::IniFormat);
    ReadTimerIntervals(settings);
    settings.sync();
    EXPECT_EQ(settings.status(), QSettings::NoError);
    EXPECT_TRUE(QFile::exists(chosen));
}

TEST(SettingsPath, FolderWhereTheFileShouldBeSendsTheSettingsToTheConfigurationFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("brevan.INI")));
    const QString config = dir.filePath(QStringLiteral("config"));
    EXPECT_EQ(ChooseSettingsPath(dir.filePath(QStringLiteral("brevan")), config),
              QDir(config).filePath(QStringLiteral("brevan.INI")));
}

TEST(SettingsPath, InstalledProgramUsesTheConfigurationFolderEvenWhereItCouldWrite) {
    // Root can write /usr/bin, but the settings of an installed program belong to the user.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    for (const char* exe : {"/usr/bin/brevan", "/usr/local/bin/brevan", "/opt/brevan/brevan"})
        EXPECT_EQ(ChooseSettingsPath(QString::fromLatin1(exe), config),
                  QDir(config).filePath(QStringLiteral("brevan.INI")))
            << exe;
}

TEST(TimerSettings, MissingBadAndNegativeValuesGiveDefaultsWrittenBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.INI"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Timers]\nDataRead=abc\nProfiler=-5\nDisplay=120\n");
    }
    QSettings settings(path, QSettings::IniFormat);
    const TimerIntervals intervals = ReadTimerIntervals(settings);
    EXPECT_EQ(intervals.dataRead, 50);
    EXPECT_EQ(intervals.profiler, 50);
    EXPECT_EQ(intervals.display, 120);
    settings.sync();

    QSettings reread(path, QSettings::IniFormat);
    EXPECT_EQ(reread.value(QStringLiteral("Timers/DataRead")).toString(), QStringLiteral("50"));
    EXPECT_EQ(reread.value(QStringLiteral("Timers/Profiler")).toString(), QStringLiteral("50"));
    EXPECT_EQ(reread.value(QStringLiteral("Timers/Display")).toString(), QStringLiteral("120"));
}

class SettingsFile : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("brevan.INI")); }
    void write(const QByteArray& text) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void start() { form = std::make_unique<TMainForm>(std::make_unique<FakeLink>(), path()); }
    QTimer* timer(const char* name) const { return form->findChild<QTimer*>(QLatin1String(name)); }
    int stored(const QString& key) const {
        QSettings settings(path(), QSettings::IniFormat);
        bool ok = false;
        const int value = settings.value(key).toString().toInt(&ok);
        EXPECT_TRUE(ok) << qPrintable(key);
        return value;
    }

    QTemporaryDir dir;
    RecordingPrompts rec;
    std::unique_ptr<TMainForm> form;
};

TEST_F(SettingsFile, FirstRunCreatesTheSixDefaults) {
    start();
    form.reset();
    EXPECT_EQ(stored(QStringLiteral("Timers/DataRead")), 50);
    EXPECT_EQ(stored(QStringLiteral("Timers/Profiler")), 50);
    EXPECT_EQ(stored(QStringLiteral("Timers/Display")), 300);
    EXPECT_EQ(stored(QStringLiteral("ACCursor/Width")), 20);
    EXPECT_EQ(stored(QStringLiteral("ACCursor/Height")), 20);
    EXPECT_EQ(stored(QStringLiteral("ACCursor/Weight")), 1);
}

TEST_F(SettingsFile, IntervalsStartTheTimers) {
    write("[Timers]\nDataRead=40\nProfiler=60\nDisplay=250\n");
    start();
    EXPECT_TRUE(timer("ReadDataTimer")->isActive());
    EXPECT_EQ(timer("ReadDataTimer")->interval(), 40);
    EXPECT_EQ(timer("Profiler")->interval(), 60);
    EXPECT_EQ(timer("DisplayUpdateTimer")->interval(), 250);
    EXPECT_TRUE(timer("DisplayUpdateTimer")->isActive());
}

TEST_F(SettingsFile, DisplayZeroStopsThatTimerAndIsWrittenBack) {
    write("[Timers]\nDisplay=0\n");
    start();
    EXPECT_FALSE(timer("DisplayUpdateTimer")->isActive());
    EXPECT_TRUE(timer("ReadDataTimer")->isActive());
    EXPECT_TRUE(timer("Profiler")->isActive());
    form.reset();
    EXPECT_EQ(stored(QStringLiteral("Timers/Display")), 0);
    EXPECT_EQ(stored(QStringLiteral("Timers/DataRead")), 50);
}

TEST_F(SettingsFile, BadValueIsReplacedByTheDefault) {
    write("[Timers]\nDataRead=fast\nProfiler=12.5\nDisplay=300\n[ACCursor]\nWidth=31\n");
    start();
    EXPECT_EQ(timer("ReadDataTimer")->interval(), 50);
    EXPECT_EQ(timer("Profiler")->interval(), 50);
    EXPECT_EQ(form->cursor().width(), 31);
    form.reset();
    EXPECT_EQ(stored(QStringLiteral("Timers/DataRead")), 50);
    EXPECT_EQ(stored(QStringLiteral("Timers/Profiler")), 50);
    EXPECT_EQ(stored(QStringLiteral("ACCursor/Width")), 31);
    EXPECT_EQ(stored(QStringLiteral("ACCursor/Height")), 20);
}
