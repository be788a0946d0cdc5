// Settings files that cannot be used: a folder in the file's place, a name that cannot be
// opened, a file full of garbage. The program starts with the defaults, draws, closes, and
// starts again; nothing crashes on the way.

#include "app/mainform.h"
#include "fakelink.h"
#include "map/accursor.h"
#include "recordingprompts.h"

#include <random>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class SettingsFaultTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath(QStringLiteral("brevan.INI")); }
    void Write(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    int Interval(const char* timer) const {
        return form->findChild<QTimer*>(QLatin1String(timer))->interval();
    }
    // Starts the window on the settings file, draws it once and checks the defaults that
    // a file without usable values gives.
    void StartWithDefaults() {
        form = std::make_unique<TMainForm>(std::make_unique<FakeLink>(), Path());
        form->grab();
        EXPECT_EQ(Interval("ReadDataTimer"), 50);
        EXPECT_EQ(Interval("Profiler"), 50);
        EXPECT_EQ(Interval("DisplayUpdateTimer"), 300);
        EXPECT_EQ(form->cursor().width(), 20);
        EXPECT_EQ(form->cursor().height(), 20);
        EXPECT_EQ(form->cursor().Weight, 1);
        EXPECT_TRUE(rec.messages().isEmpty()) << rec.messages().join('\n').toStdString();
    }

    QTemporaryDir dir;
    RecordingPrompts rec;
    std::unique_ptr<TMainForm> form;
};

TEST_F(SettingsFaultTest, FolderInThePlaceOfTheFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("brevan.INI")));
    StartWithDefaults();
    form.reset();
    EXPECT_TRUE(QFileInfo(Path()).isDir());
    EXPECT_TRUE(QDir(Path()).isEmpty());
    StartWithDefaults();
}

TEST_F(SettingsFaultTest, NameThatCannotBeOpened) {
    // A link to itself can be opened by nobody, root included.
    ASSERT_TRUE(QFile::link(Path(), Path()));
    StartWithDefaults();
    form.reset();
    StartWithDefaults();
}

TEST_F(SettingsFaultTest, BinaryGarbage) {
    std::mt19937 random(20261206);
    QByteArray bytes(64 * 1024, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    Write(bytes);
    StartWithDefaults();
    form.reset();
    StartWithDefaults();
}

TEST_F(SettingsFaultTest, ValuesBeyondEveryRangeAreReplacedOrHeld) {
    Write(QByteArray("[Timers]\nDataRead=99999999999999999999\nProfiler=-5\nDisplay=\xff\xfe\x01\n"
                     "[ACCursor]\nWidth=2147483647\nHeight=-2147483648\nWeight=2147483647\n"
                     "[Timers]\nDataRead=\n") +
          QByteArray(100000, 'x') + "\n=\n[\n]=[\n");
    form = std::make_unique<TMainForm>(std::make_unique<FakeLink>(), Path());
    EXPECT_EQ(Interval("ReadDataTimer"), 50);
    EXPECT_EQ(Interval("Profiler"), 50);
    EXPECT_EQ(Interval("DisplayUpdateTimer"), 300);
    // The cursor takes any integer; drawing it at the aircraft's place must still work.
    form->DisplayUpdateTimerTimer();
    form->grab();
    form.reset();

    const QSettings reread(Path(), QSettings::IniFormat);
    EXPECT_EQ(reread.value(QStringLiteral("Timers/DataRead")).toInt(), 50);
    EXPECT_EQ(reread.value(QStringLiteral("Timers/Profiler")).toInt(), 50);
    EXPECT_EQ(reread.value(QStringLiteral("Timers/Display")).toInt(), 300);
}

} // namespace
