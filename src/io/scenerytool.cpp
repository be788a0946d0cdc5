#include "scenerytool.h"

#include "geo/textfields.h"
#include "prompts/prompts.h"
#include "scenery/bounds.h"
#include "scenery/cumulus.h"
#include "scenery/thermik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void ReportGenerationError() {
    prompts().message("Error", "Error Generating Thermals");
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

} // namespace

std::unique_ptr<SceneryRun> SceneryRun::Prepare(SceneryKind kind, const QString& toolDir,
                                                const ThermalList& thermals,
                                                const QString& projectFileName) {
    if (thermals.empty()) {
        prompts().message("Error", "There are no thermals to generate from: place at least one.");
        return nullptr;
    }
    const QString base = QString::fromStdString(BaseName(projectFileName.toStdString()));
    const ThermalBox box = ThermalBounds(thermals);
    if (kind == SceneryKind::thermik) {
        const QString source = base + ".sca";
        if (!WriteToolInput(
                source, ThermikSource(thermals, box.minLat, box.minLon, box.maxLat, box.maxLon)))
            return nullptr;
        return std::unique_ptr<SceneryRun>(new SceneryRun(
            ToolPath(toolDir, "scasm"), {FileArgument(source), FileArgument(base + ".bgl")}, {}));
    }
    const QString input = base + "_cu.cms";
    if (!WriteToolInput(input, CumulusInput(thermals, base.toLocal8Bit().toStdString(), box.minLat,
                                            box.minLon, box.maxLat, box.maxLon)))
        return nullptr;
    return std::unique_ptr<SceneryRun>(new SceneryRun(ToolPath(toolDir, "cumulus31"), {}, input));
}

SceneryRun::SceneryRun(QString program, QStringList arguments, QString standardInput)
    : program_(std::move(program))
    , arguments_(std::move(arguments))
    , standardInput_(std::move(standardInput)) {
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!standardInput_.isEmpty())
        process_.setStandardInputFile(QFileInfo(standardInput_).absoluteFilePath());
}

bool SceneryRun::Succeeded() const {
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

void SceneryRun::Start() {
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ReportGenerationError();
        emit finished(false);
    });
    connect(&process_, &QProcess::finished, this, [this] { emit finished(Succeeded()); });
    process_.start(program_, arguments_);
}

bool SceneryRun::RunToEnd() {
    process_.start(program_, arguments_);
    if (!process_.waitForStarted(-1)) {
        ReportGenerationError();
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
