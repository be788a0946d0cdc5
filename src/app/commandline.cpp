#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Places thermals and waypoints on a calibrated map, follows the "
                       "simulator's aircraft and shapes its lift."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption thermik(
        QStringLiteral("thermik"),
        QStringLiteral("Generate the thermal scenery of <project> without a window."),
        QStringLiteral("project"));
    const QCommandLineOption cumulus(
        QStringLiteral("cumulus"),
        QStringLiteral("Generate the cumulus tool's input of <project> without a window."),
        QStringLiteral("project"));
    parser.addOption(thermik);
    parser.addOption(cumulus);
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("Project file (.prj) to load at start."),
                                 QStringLiteral("[PROJECT.prj]"));
    parser.addPositionalArgument(QStringLiteral("waypoints"),
                                 QStringLiteral("Waypoint file (.dat) to load at start."),
                                 QStringLiteral("[WAYPOINTS.dat]"));

    CommandLine result;
    const auto fail = [&](const QString& why) {
        result.action = CommandLine::Error;
        result.text = why + QLatin1Char('\n') + parser.helpText();
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        result.action = CommandLine::Help;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Version;
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }

    const QStringList positional = parser.positionalArguments();
    const bool batch = parser.isSet(thermik) || parser.isSet(cumulus);
    if (parser.isSet(thermik) && parser.isSet(cumulus))
        return fail(QStringLiteral("Choose one of --thermik and --cumulus."));
    if (batch) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("Too many arguments: %1").arg(positional.join(' ')));
        result.action = parser.isSet(thermik) ? CommandLine::Thermik : CommandLine::Cumulus;
        result.project = parser.value(parser.isSet(thermik) ? thermik : cumulus);
        return result;
    }
    if (positional.size() > 2)
        return fail(QStringLiteral("Too many arguments: %1").arg(positional.mid(2).join(' ')));
    // Made absolute like the names an open dialog gives, so that the files' folders are known.
    const auto absolute = [](const QString& name) {
        return name.isEmpty() ? name : QFileInfo(name).absoluteFilePath();
    };
    result.project = absolute(positional.value(0));
    result.waypoints = absolute(positional.value(1));
    return result;
}
