// The batch scenery runs, `brevan --thermik P.prj` and `brevan --cumulus P.prj`, as a script
// runs them: no window system at all, the tools in the current folder (stand-ins that
// record what they were given and exit with a chosen status).

#include "programrun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct BatchRow {
    const char* name;
    const char* option;
    const char* project; // from the test data, on the map map.bmp
    int toolStatus;
    int exitCode;
    const char* input; // the tool's input, written in the current folder; null: none
};

class BatchRun : public ::testing::TestWithParam<BatchRow> {};

TEST_P(BatchRun, ExitStatusFollowsTheToolAndTheProject) {
    const BatchRow& row = GetParam();
    ProgramCopy program;
    for (const char* name : {row.project, "map.bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(BREVAN_TEST_DATA "/files/") + name,
                                program.Path(QLatin1String(name))));
    const QByteArray exit = "exit " + QByteArray::number(row.toolStatus) + "\n";
    const auto tool = [&](const char* name, const QByteArray& body) {
        const QString path = program.Path(QLatin1String(name));
        return WriteBytes(path, "#!/bin/sh\n" + body + exit) &&
               QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    };
    ASSERT_TRUE(tool("scasm", "printf '%s\\n' \"$@\" > scasm.args\n"));
    ASSERT_TRUE(tool("cumulus31", "cat > cumulus31.stdin\n"));
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        program.environment.remove(QLatin1String(name));

    program.Start({QLatin1String(row.option), QLatin1String(row.project)});
    EXPECT_EQ(program.Finish(), row.exitCode);
    const QString err = QString::fromUtf8(program.process.readAllStandardError());
    const QByteArray input = row.input ? ReadBytes(program.Path(row.input)) : QByteArray();
    if (!row.input) {
        EXPECT_TRUE(err.contains("no thermals")) << err.toStdString();
        EXPECT_FALSE(QFile::exists(program.Path("scasm.args")));
        EXPECT_FALSE(QFile::exists(program.Path("cumulus31.stdin")));
    } else if (QLatin1String(row.option) == QLatin1String("--thermik")) {
        EXPECT_TRUE(input.startsWith("Header(")) << input.left(80).toStdString();
        EXPECT_EQ(ReadBytes(program.Path("scasm.args")), "example.sca\nexample.bgl\n");
    } else {
        EXPECT_TRUE(input.startsWith("example_cu\r")) << input.left(80).toStdString();
        EXPECT_EQ(ReadBytes(program.Path("cumulus31.stdin")), input);
    }
    EXPECT_TRUE(!row.input || err.isEmpty()) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Tools, BatchRun,
    ::testing::Values(
        BatchRow{"ThermikToolSucceeds", "--thermik", "example.prj", 0, 0, "example.sca"},
        BatchRow{"CumulusToolSucceeds", "--cumulus", "example.prj", 0, 0, "example_cu.cms"},
        BatchRow{"ThermikToolFails", "--thermik", "example.prj", 3, 1, "example.sca"},
        BatchRow{"CumulusToolFails", "--cumulus", "example.prj", 1, 1, "example_cu.cms"},
        BatchRow{"ThermikWithoutThermals", "--thermik", "headeronly.prj", 0, 1, nullptr},
        BatchRow{"CumulusWithoutThermals", "--cumulus", "headeronly.prj", 0, 1, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
