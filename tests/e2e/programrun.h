#pragma once

#include "childprocess.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// How long a test waits for what the program or the simulator does, at most: enough for a
// busy machine; every wait ends as soon as its condition holds.
inline constexpr int kPatienceMs = 30000;

// A whole file; empty when it cannot be read.
QByteArray ReadBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// The program copied into a scratch folder of its own, so that its settings file lands
// beside it there, and run as a user runs it: headless, with its configuration and runtime
// folders elsewhere, and without a simulator unless BREVAN_IPC_DIR names one. A program
// still running when the object goes is ended.
class ProgramCopy {
public:
    ProgramCopy();

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString SettingsFile() const { return Path(QStringLiteral("brevan.INI")); }
    QString ConfigFolder() const { return config_.path(); }

    void Start(const QStringList& arguments);
    // Waits for the end; the exit code, or -1 when it crashed or did not end in time.
    int Finish();
    // SIGTERM, then Finish.
    int Terminate();
    // No window system at all, as a script runs the program.
    void NoDisplay();
    // The request areas in /dev/shm of the program last started.
    QStringList IpcAreas() const;
    // What it printed on its standard output and error so far.
    QByteArray Output() const { return ReadBytes(output_.filePath(QStringLiteral("out"))); }
    QByteArray Errors() const { return ReadBytes(output_.filePath(QStringLiteral("err"))); }

    QProcessEnvironment environment;

private:
    QTemporaryDir dir_;
    QTemporaryDir config_; // also the runtime folder
    QTemporaryDir output_;
    pid_t pid_ = 0;
    ChildProcess process_; // last: ended before its folders go
};

// Waits until the settings file at path holds what the program writes as it starts: then
// it is past its start-up and answers SIGTERM.
bool WaitForSettings(const QString& path);
