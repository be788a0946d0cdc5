#include "commandline.h"

#include <algorithm>

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
    const QCommandLineOption newProject(
        QStringLiteral("new-project"),
        QStringLiteral("Write a new project on the map picture <map> to the project file given "
                       "after the options, without a window. The map's edges come from its "
                       "world file or GeoTIFF tags unless --bounds gives them."),
        QStringLiteral("map"));
    const QCommandLineOption bounds(
        QStringLiteral("bounds"),
        QStringLiteral("The new project's map edges: north,south,west,east, each like 47.5, "
                       "N47*30' or 47:30.000N."),
        QStringLiteral("N,S,W,E"));
    const QCommandLineOption force(
        QStringLiteral("force"),
        QStringLiteral("Let --new-project replace a project file that exists already."));
    const QCommandLineOption climbs(
        QStringLiteral("climbs"),
        QStringLiteral("Print the climbs of the flight log <log> (IGC) as comma-separated values, "
                       "without a window."),
        QStringLiteral("log"));
    parser.addOption(thermik);
    parser.addOption(cumulus);
    parser.addOption(newProject);
    parser.addOption(bounds);
    parser.addOption(force);
    parser.addOption(climbs);
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("Project file (.prj) to load at start."),
                                 QStringLiteral("[PROJECT.prj]"));
    parser.addPositionalArgument(QStringLiteral("waypoints"),
                                 QStringLiteral("Waypoint file (.dat) to load at start."),
                                 QStringLiteral("[WAYPOINTS.dat]"));
    parser.addPositionalArgument(QStringLiteral("log"),
                                 QStringLiteral("Flight log (.igc) to show at start."),
                                 QStringLiteral("[LOG.igc]"));

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

    QStringList positional = parser.positionalArguments();
    const bool batch = parser.isSet(thermik) || parser.isSet(cumulus);
    if (parser.isSet(thermik) && parser.isSet(cumulus))
        return fail(QStringLiteral("Choose one of --thermik and --cumulus."));
    if (parser.isSet(bounds) && !parser.isSet(newProject))
        return fail(QStringLiteral("--bounds belongs to --new-project."));
    if (parser.isSet(force) && !parser.isSet(newProject))
        return fail(QStringLiteral("--force belongs to --new-project."));
    if (parser.isSet(climbs)) {
        if (batch || parser.isSet(newProject))
            return fail(QStringLiteral("Choose one of --climbs, --new-project, --thermik and "
                                       "--cumulus."));
        if (!positional.isEmpty())
            return fail(QStringLiteral("Too many arguments: %1").arg(positional.join(' ')));
        result.action = CommandLine::Climbs;
        result.log = parser.value(climbs);
        return result;
    }
    if (parser.isSet(newProject)) {
        if (batch)
            return fail(QStringLiteral("Choose one of --new-project, --thermik and --cumulus."));
        if (positional.size() != 1)
            return fail(QStringLiteral("Name one project file to write: --new-project MAP "
                                       "[--bounds N,S,W,E] OUT.prj"));
        result.action = CommandLine::NewProject;
        result.map = QFileInfo(parser.value(newProject)).absoluteFilePath();
        result.bounds = parser.value(bounds);
        result.force = parser.isSet(force);
        result.project = QFileInfo(positional.constFirst()).absoluteFilePath();
        return result;
    }
    if (batch) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("Too many arguments: %1").arg(positional.join(' ')));
        result.action = parser.isSet(thermik) ? CommandLine::Thermik : CommandLine::Cumulus;
        result.project = parser.value(parser.isSet(thermik) ? thermik : cumulus);
        return result;
    }
    // Made absolute like the names an open dialog gives, so that the files' folders are known.
    const auto absolute = [](const QString& name) {
        return name.isEmpty() ? name : QFileInfo(name).absoluteFilePath();
    };
    // A flight log is known by its name wherever it stands.
    const auto isLog = [](const QString& name) {
        return name.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive);
    };
    const auto log = std::find_if(positional.begin(), positional.end(), isLog);
    if (log != positional.end()) {
        result.log = absolute(*log);
        positional.erase(log);
    }
    if (positional.size() > 2)
        return fail(QStringLiteral("Too many arguments: %1").arg(positional.mid(2).join(' ')));
    result.project = absolute(positional.value(0));
    result.waypoints = absolute(positional.value(1));
    return result;
}
