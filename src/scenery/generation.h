#pragma once

#include "scene/thermal.h"

#include <string_view>

#include <QString>
#include <QStringList>

// The steps both scenery generators share: refusing an empty thermal list, writing the
// tool's input file and running the tool.

// Shows an "Error" message and returns true when there is no thermal to generate from.
bool RefuseEmptyThermals(const ThermalList& thermals);

// The tool's program path: the tool directory joined with the tool's name by the
// platform's separator.
QString ToolPath(const QString& toolDir, const QString& name);

// Writes text (line feeds as in memory) to path in text mode, replacing an existing file.
// A file that cannot be created shows "Error opening file", a failed write "Error
// Generating Thermals"; false then.
bool WriteToolInput(const QString& path, std::string_view text);

// Runs program with arguments (and, when standardInput is not empty, that file as its
// standard input) in the current directory, without a shell, and waits for it. A tool
// that is missing or cannot start shows "Error Generating Thermals". True when the tool
// ran and exited with status 0; the tool's output goes to this program's output.
bool RunTool(const QString& program, const QStringList& arguments,
             const QString& standardInput = {});

// A file name as a tool argument: a name that starts with "-" gets "./" in front, so that
// the tool cannot take it for an option.
QString FileArgument(const QString& fileName);
