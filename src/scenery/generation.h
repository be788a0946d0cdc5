#pragma once

#include "scene/thermal.h"

#include <string_view>

#include <QString>
#include <QStringList>

// What both scenery generators share: the tool directory, refusing an empty thermal list,
// writing the tool's input file and running the tool.
class SceneryGenerator {
public:
    explicit SceneryGenerator(QString toolDir);

    // The input was written and the tool ran and exited with status 0.
    bool succeeded() const { return succeeded_; }

protected:
    // Refuses an empty list with an "Error" message; otherwise writes input (line feeds as
    // in memory) to inputPath in text mode, replacing an existing file, and runs the tool
    // from the tool directory in the current directory, without a shell, with arguments
    // and, when standardInput is not empty, that file as its standard input.
    void Run(const ThermalList& thermals, const QString& inputPath, std::string_view input,
             const QString& tool, const QStringList& arguments, const QString& standardInput = {});

private:
    QString toolDir_;
    bool succeeded_ = false;
};

// A file name as a tool argument: a name that starts with "-" gets "./" in front, so that
// the tool cannot take it for an option.
QString FileArgument(const QString& fileName);
