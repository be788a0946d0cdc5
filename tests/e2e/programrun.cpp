#include "programrun.h"

#include <csignal>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

ProgramCopy::ProgramCopy()
    : environment(QProcessEnvironment::systemEnvironment()) {
    EXPECT_TRUE(QFile::copy(QStringLiteral(BREVAN_PROGRAM), Path(QStringLiteral("brevan"))));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), config_.path());
    if (!environment.contains(QStringLiteral("BREVAN_IPC_DIR")))
        environment.insert(QStringLiteral("BREVAN_IPC_DIR"), config_.path());
    process.setWorkingDirectory(dir_.path());
}

ProgramCopy::~ProgramCopy() {
    process.kill();
    process.waitForFinished();
}

void ProgramCopy::Start(const QStringList& arguments) {
    process.setProcessEnvironment(environment);
    process.start(Path(QStringLiteral("brevan")), arguments);
    EXPECT_TRUE(process.waitForStarted()) << process.errorString().toStdString();
    pid_ = process.processId();
}

int ProgramCopy::Finish() {
    const bool ended = process.waitForFinished(kPatienceMs);
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int ProgramCopy::Terminate() {
    // Never 0: that would signal the test's own process group.
    if (process.processId() > 0)
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    return Finish();
}

void ProgramCopy::NoDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
}

QStringList ProgramCopy::IpcAreas() const {
    const QString names =
        QStringLiteral("FsasmLib:IPC:%1:*").arg(QString::number(pid_, 16).toUpper());
    return QDir(QStringLiteral("/dev/shm")).entryList({names}, QDir::Files | QDir::System);
}

bool WaitForSettings(const QString& path) {
    return QTest::qWaitFor([&] { return ReadBytes(path).contains("Weight="); }, kPatienceMs);
}
