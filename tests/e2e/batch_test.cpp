// The batch scenery runs, `brevan --thermik P.prj` and `brevan --cumulus P.prj`, as a script
// runs them: no window system at all, the tools in the current folder (stand-ins that
// record what they were given and exit with a chosen status).

#include "programrun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct BatchRow {
    const char* name;
    const char* kind;    // thermik or cumulus
    const char* project; // from the test data, on the map map.bmp
    int toolStatus;
    int exitCode;
};

class BatchRun : public ::testing::TestWithParam<BatchRow> {};

TEST_P(BatchRun, ExitStatusFollowsTheToolAndTheProject) {
    const BatchRow& row = GetParam();
    ProgramCopy program;
    for (const char* name : {row.project, "map.bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(BREVAN_TEST_DATA "/files/") + name,
                                program.Path(QLatin1String(name))));
    const QByteArray exit = "exit " + QByteArray::number(row.toolStatus) + "\n";
    for (const auto& [name, body] : {std::pair{"scasm", "printf '%s\\n' \"$@\" > scasm.args\n"},
                                     {"cumulus31", "cat > cumulus31.stdin\n"}}) {
        ASSERT_TRUE(WriteBytes(program.Path(name), QByteArray("#!/bin/sh\n") + body + exit));
        ASSERT_TRUE(QFile::setPermissions(program.Path(name), QFile::ReadOwner | QFile::ExeOwner));
    }
    program.NoDisplay();

    const bool thermik = row.kind == std::string("thermik");
    program.Start({"--" + QLatin1String(row.kind), QLatin1String(row.project)});
    EXPECT_EQ(program.Finish(), row.exitCode);
    const QString err = QString::fromUtf8(program.process.readAllStandardError());
    if (row.project == std::string("headeronly.prj")) {
        EXPECT_TRUE(err.contains("no thermals")) << err.toStdString();
        EXPECT_FALSE(QFile::exists(program.Path(thermik ? "scasm.args" : "cumulus31.stdin")));
        return;
    }
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    const QByteArray input = ReadBytes(program.Path(thermik ? "example.sca" : "example_cu.cms"));
    if (thermik) {
        EXPECT_TRUE(input.startsWith("Header(")) << input.left(80).toStdString();
        EXPECT_EQ(ReadBytes(program.Path("scasm.args")), "example.sca\nexample.bgl\n");
    } else {
        EXPECT_TRUE(input.startsWith("example_cu\r")) << input.left(80).toStdString();
        EXPECT_EQ(ReadBytes(program.Path("cumulus31.stdin")), input);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tools, BatchRun,
    ::testing::Values(BatchRow{"ThermikToolSucceeds", "thermik", "example.prj", 0, 0},
                      BatchRow{"CumulusToolSucceeds", "cumulus", "example.prj", 0, 0},
                      BatchRow{"ThermikToolFails", "thermik", "example.prj", 3, 1},
                      BatchRow{"CumulusWithoutThermals", "cumulus", "headeronly.prj", 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
