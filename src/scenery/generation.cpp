#include "generation.h"

#include "geo/textfields.h"
#include "prompts/prompts.h"

#include <utility>

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

namespace {

void ReportGenerationError() {
    prompts().message("Error", "Error Generating Thermals");
}

// The wait cursor while a tool runs, when there is a screen to show it on.
class BusyCursor {
public:
    BusyCursor()
        : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (shown_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (shown_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool shown_;
};

// Shows an "Error" message and returns true when there is no thermal to generate from.
bool RefuseEmptyThermals(const ThermalList& thermals) {
    if (!thermals.empty())
        return false;
    prompts().message("Error", "There are no thermals to generate from: place at least one.");
    return true;
}

// The tool directory joined with the tool's name by the platform's separator.
QString ToolPath(const QString& toolDir, const QString& name) {
#ifdef Q_OS_WIN
    return toolDir + '\\' + name;
#else
    return toolDir + '/' + name;
#endif
}

// A file that cannot be created shows "Error opening file", a failed write "Error Generating
// Thermals"; false then.
bool WriteToolInput(const QString& path, std::string_view text) {
    if (QFile::exists(path))
        QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        prompts().message("File Error", "Error opening file");
        return false;
    }
    const std::string bytes = TextModeBytes(text);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        ReportGenerationError();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        ReportGenerationError();
        return false;
    }
    return true;
}

// A tool that is missing or cannot start shows "Error Generating Thermals". True when the
// tool ran and exited with status 0; its output goes to this program's output.
bool RunTool(const QString& program, const QStringList& arguments, const QString& standardInput) {
    const BusyCursor busy;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!standardInput.isEmpty())
        process.setStandardInputFile(QFileInfo(standardInput).absoluteFilePath());
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        ReportGenerationError();
        return false;
    }
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

SceneryGenerator::SceneryGenerator(QString toolDir)
    : toolDir_(std::move(toolDir)) {}

void SceneryGenerator::Run(const ThermalList& thermals, const QString& inputPath,
                           std::string_view input, const QString& tool,
                           const QStringList& arguments, const QString& standardInput) {
    succeeded_ = !RefuseEmptyThermals(thermals) && WriteToolInput(inputPath, input) &&
                 RunTool(ToolPath(toolDir_, tool), arguments, standardInput);
}

QString FileArgument(const QString& fileName) {
    if (fileName.startsWith('-'))
        return QDir::toNativeSeparators("./" + fileName);
    return fileName;
}
