#include "batch.h"
#include "climbsbatch.h"
#include "commandline.h"
#include "io/georeference.h"
#include "io/settings.h"
#include "mainform.h"
#include "newproject.h"
#include "qtprompts.h"
#include "quitonsignal.h"
#include "simlink/threadedlink.h"
#include "simlink/transport.h"

#include <clocale>
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

namespace {

// An error that escapes a command is shown with its text, and the program carries on.
class BrevanApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            prompts().message("Error", QString::fromLocal8Bit(error.what()).toStdString());
        }
        return false;
    }
};

void SetApplicationNames() {
    QCoreApplication::setApplicationName(QStringLiteral("brevan"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0 beta 1"));
}

// "." is the decimal separator whatever the user's regional settings.
void UseDecimalPoint() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

// Reads the command line before any window system is needed: help, version, a usage error
// and the batch runs must work without a display.
CommandLine ReadCommandLine(int argc, char** argv) {
    QCoreApplication probe(argc, argv);
    SetApplicationNames();
    return ParseCommandLine(QCoreApplication::arguments());
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    QuietTiffLibrary();
    switch (commandLine.action) {
    case CommandLine::Error:
        std::fputs(qUtf8Printable(commandLine.text), stderr);
        return kUsageExitCode;
    case CommandLine::Help:
    case CommandLine::Version:
        std::fputs(qUtf8Printable(commandLine.text), stdout);
        return 0;
    case CommandLine::Thermik:
    case CommandLine::Cumulus: {
        // No window and no window system: the batch run needs the core and the files.
        QCoreApplication app(argc, argv);
        SetApplicationNames();
        UseDecimalPoint();
        return RunBatch(commandLine.action == CommandLine::Thermik ? QStringLiteral("thermik")
                                                                   : QStringLiteral("cumulus"),
                        commandLine.project);
    }
    case CommandLine::NewProject: {
        QCoreApplication app(argc, argv);
        SetApplicationNames();
        UseDecimalPoint();
        return RunNewProject(commandLine.map, commandLine.bounds, commandLine.project,
                             commandLine.force);
    }
    case CommandLine::Climbs: {
        QCoreApplication app(argc, argv);
        SetApplicationNames();
        UseDecimalPoint();
        return RunClimbs(commandLine.log);
    }
    case CommandLine::Run:
        break;
    }

    BrevanApplication app(argc, argv);
    SetApplicationNames();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/brevan-talvor.svg")));
    UseDecimalPoint();

    QtPrompts qtPrompts;
    setPrompts(&qtPrompts);
    QuitOnSignal quitOnSignal;

    const QString settingsPath =
        ChooseSettingsPath(QCoreApplication::applicationFilePath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    int status = 0;
    {
        TMainForm mainForm(
            [](std::chrono::milliseconds readInterval) {
                return std::make_unique<ThreadedLink>(MakeDefaultTransport(), readInterval);
            },
            settingsPath,
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                .filePath(QStringLiteral("choices.ini")));
        qtPrompts.setParent(&mainForm);
        mainForm.show();
        if (!commandLine.project.isEmpty())
            mainForm.LoadProjectFile(commandLine.project, false);
        if (!commandLine.waypoints.isEmpty())
            mainForm.LoadDatFile(commandLine.waypoints);
        if (!commandLine.log.isEmpty())
            mainForm.LoadLogFile(commandLine.log);
        // A signal during the start-up loads (a message box runs a loop of its own) ends
        // the program before its main loop starts.
        if (!quitOnSignal.quitRequested())
            status = QApplication::exec();
        qtPrompts.setParent(nullptr);
    }
    setPrompts(nullptr);
    return status;
}
