#include "programrun.h"

#include <chrono>
#include <csignal>
#include <optional>

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
}

void ProgramCopy::Start(const QStringList& arguments) {
    ChildCommand command{.arguments = {Path(QStringLiteral("brevan")).toStdString()},
                         .outputFile = output_.filePath(QStringLiteral("out")).toStdString(),
                         .errorFile = output_.filePath(QStringLiteral("err")).toStdString(),
                         .directory = dir_.path().toStdString()};
    for (const QString& argument : arguments)
        command.arguments.push_back(argument.toStdString());
    for (const QString& variable : environment.toStringList())
        command.environment.push_back(variable.toStdString());
    process_.Start(command);
    pid_ = process_.Pid();
}

int ProgramCopy::Finish() {
    const std::optional<int> status = process_.Wait(std::chrono::milliseconds(kPatienceMs));
    return status ? ExitCode(*status) : -1;
}

int ProgramCopy::Terminate() {
    // Only while it runs: -1 would signal every process there is.
    if (process_.Running())
        ::kill(process_.Pid(), SIGTERM);
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
