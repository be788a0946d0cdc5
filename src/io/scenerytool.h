#pragma once

#include "model/thermal.h"

#include <memory>
#include <string>

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

enum class SceneryKind { thermik, cumulus };

// One "Thermik" or "Cumulus" command: the tool's input is written beside the project file
// under its base name ("alps.sca", "alps_cu.cms"), then the tool from the tool directory runs
// in the project's folder without a shell: `scasm alps.sca alps.bgl`, or `cumulus31` with
// the input as its standard input. Its output goes to this program's output.
class SceneryRun : public QObject {
    Q_OBJECT
public:
    // Refuses an empty list, writes the input and prepares the tool; every failure is shown
    // through the prompts and gives nothing.
    static std::unique_ptr<SceneryRun> Prepare(SceneryKind kind, const QString& toolDir,
                                               const ThermalList& thermals,
                                               const QString& projectPath);

    // Starts the tool and returns at once; finished() tells the outcome.
    void Start();
    // Runs the tool to its end. True when it ran and exited with status 0.
    bool RunToEnd();

signals:
    // The tool ran and exited with status 0, or it could not start or failed.
    void finished(bool succeeded);

private:
    SceneryRun(QString program, const QString& folder, QStringList arguments,
               const QString& standardInput);
    bool Succeeded() const;

    QString program_;
    QStringList arguments_;
    QProcess process_;
};

// A file name as a tool argument: a name that starts with "-" gets "./" in front, so that
// the tool cannot take it for an option.
QString FileArgument(const QString& fileName);
