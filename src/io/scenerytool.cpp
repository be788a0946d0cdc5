#include "scenerytool.h"

#include "filestore.h"
#include "geo/textfields.h"
#include "prompts/prompts.h"
#include "scenery/bounds.h"
#include "scenery/cumulus.h"
#include "scenery/thermik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// What went wrong and where: the file or the tool, and the reason.
void ReportGenerationError(const QString& where, const QString& reason) {
    ShowFileMessage("Error", "Error Generating Thermals", ShownPath(where), reason.toStdString());
}

// The tool directory joined with the tool's name by the platform's separator.
QString ToolPath(const QString& toolDir, const QString& name) {
#ifdef Q_OS_WIN
    return toolDir + '\\' + name;
#else
    return toolDir + '/' + name;
#endif
}

// Written in text mode, replacing an existing file. A file that cannot be created shows
// "Error opening file", a failed write "Error Generating Thermals"; false then.
bool WriteToolInput(const QString& path, std::string_view text) {
    if (QFile::exists(path))
        QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ShowFileMessage("File Error", "Error opening file", ShownPath(path),
                        file.errorString().toStdString());
        return false;
    }
    const std::string bytes = TextModeBytes(text);
    const auto size = static_cast<qint64>(bytes.size());
    bool written = file.write(bytes.data(), size) == size && file.flush();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (!written)
        ReportGenerationError(path, file.errorString());
    return written;
}

} // namespace

std::unique_ptr<SceneryRun> SceneryRun::Prepare(SceneryKind kind, const QString& toolDir,
                                                const ThermalList& thermals,
                                                const QString& projectPath) {
    if (thermals.empty()) {
        prompts().message("Error", "There are no thermals to generate from: place at least one.");
        return nullptr;
    }
    const FileLocation project = SplitFilePath(projectPath);
    const QDir folder(project.folder);
    const QString base = QString::fromStdString(BaseName(project.fileName.toStdString()));
    const ThermalBox box = ThermalBounds(thermals);
    if (kind == SceneryKind::thermik) {
        const QString source = base + ".sca";
        if (!WriteToolInput(folder.filePath(source), ThermikSource(thermals, box.minLat, box.minLon,
                                                                   box.maxLat, box.maxLon)))
            return nullptr;
        return std::unique_ptr<SceneryRun>(
            new SceneryRun(ToolPath(toolDir, "scasm"), project.folder,
                           {FileArgument(source), FileArgument(base + ".bgl")}, {}));
    }
    const QString input = folder.filePath(base + "_cu.cms");
    if (!WriteToolInput(input, CumulusInput(thermals, base.toLocal8Bit().toStdString(), box.minLat,
                                            box.minLon, box.maxLat, box.maxLon)))
        return nullptr;
    return std::unique_ptr<SceneryRun>(
        new SceneryRun(ToolPath(toolDir, "cumulus31"), project.folder, {}, input));
}

SceneryRun::SceneryRun(QString program, const QString& folder, QStringList arguments,
                       const QString& standardInput)
    : program_(std::move(program))
    , arguments_(std::move(arguments)) {
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    // The names on the command line are relative to the project's folder.
    process_.setWorkingDirectory(folder);
    if (!standardInput.isEmpty())
        process_.setStandardInputFile(standardInput);
}

bool SceneryRun::Succeeded() const {
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

void SceneryRun::Start() {
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ReportGenerationError(program_, process_.errorString());
        emit finished(false);
    });
    connect(&process_, &QProcess::finished, this, [this] { emit finished(Succeeded()); });
    process_.start(program_, arguments_);
}

bool SceneryRun::RunToEnd() {
    process_.start(program_, arguments_);
    if (!process_.waitForStarted(-1)) {
        ReportGenerationError(program_, process_.errorString());
        return false;
    }
    process_.waitForFinished(-1);
    return Succeeded();
}

QString FileArgument(const QString& fileName) {
    if (fileName.startsWith('-'))
        return QDir::toNativeSeparators("./" + fileName);
    return fileName;
}
