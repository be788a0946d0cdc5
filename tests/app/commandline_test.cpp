#include "app/commandline.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

CommandLine parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("brevan"));
    return ParseCommandLine(arguments);
}

} // namespace

TEST(CommandLineParsing, NoArgumentsRunsWithNothingToLoad) {
    const CommandLine c = parse({});
    EXPECT_EQ(c.action, CommandLine::Run);
    EXPECT_TRUE(c.project.isEmpty());
    EXPECT_TRUE(c.waypoints.isEmpty());
}

TEST(CommandLineParsing, ProjectAndWaypointFilesBecomeAbsolute) {
    CommandLine c = parse({"alps.prj"});
    EXPECT_EQ(c.action, CommandLine::Run);
    EXPECT_EQ(c.project, QDir::current().absoluteFilePath(QStringLiteral("alps.prj")));
    EXPECT_TRUE(c.waypoints.isEmpty());

    c = parse({"/maps/alps.prj", "tours/route.dat"});
    EXPECT_EQ(c.project, QStringLiteral("/maps/alps.prj"));
    EXPECT_EQ(c.waypoints, QDir::current().absoluteFilePath(QStringLiteral("tours/route.dat")));
}

TEST(CommandLineParsing, HelpAndVersion) {
    CommandLine c = parse({"--help"});
    EXPECT_EQ(c.action, CommandLine::Help);
    EXPECT_TRUE(c.text.contains(QStringLiteral("--thermik")));
    EXPECT_TRUE(c.text.contains(QStringLiteral("[PROJECT.prj]")));

    c = parse({"--version"});
    EXPECT_EQ(c.action, CommandLine::Version);
    EXPECT_FALSE(c.text.isEmpty());
}

TEST(CommandLineParsing, BatchGeneration) {
    CommandLine c = parse({"--thermik", "alps.prj"});
    EXPECT_EQ(c.action, CommandLine::Thermik);
    EXPECT_EQ(c.project, QStringLiteral("alps.prj"));

    c = parse({"--cumulus", "alps.prj"});
    EXPECT_EQ(c.action, CommandLine::Cumulus);
    EXPECT_EQ(c.project, QStringLiteral("alps.prj"));
}

TEST(CommandLineParsing, UnusableLinesAreErrorsWithUsage) {
    for (const QStringList& arguments :
         {QStringList{"--bogus"}, QStringList{"a.prj", "b.dat", "c"}, QStringList{"--thermik"},
          QStringList{"--thermik", "a.prj", "--cumulus", "b.prj"},
          QStringList{"--thermik", "a.prj", "b.dat"}}) {
        const CommandLine c = parse(arguments);
        EXPECT_EQ(c.action, CommandLine::Error) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(c.text.contains(QStringLiteral("Usage:"))) << qPrintable(c.text);
    }
    EXPECT_TRUE(parse({"--bogus"}).text.contains(QStringLiteral("bogus")));
    EXPECT_EQ(kUsageExitCode, 2);
}
