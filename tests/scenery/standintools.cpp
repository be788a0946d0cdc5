#include "standintools.h"

#include <QDir>
#include <QFile>

void SceneryTest::SetUp() {
    ASSERT_TRUE(root.isValid());
    work = root.filePath("work");
    tools = root.filePath("my tools");
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(QDir().mkpath(tools));
    InstallTools();
    previousDir_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work));
}

void SceneryTest::TearDown() {
    QDir::setCurrent(previousDir_);
}

void SceneryTest::InstallTools() const {
    WriteTool("scasm", "for a; do printf '%s\\n' \"$a\"; done > \"$dir/scasm.args\"\n"
                       "pwd > \"$dir/scasm.cwd\"\n");
    WriteTool("cumulus31", "for a; do printf '%s\\n' \"$a\"; done > \"$dir/cumulus31.args\"\n"
                           "pwd > \"$dir/cumulus31.cwd\"\n"
                           "cat > \"$dir/cumulus31.stdin\"\n");
}

void SceneryTest::WriteTool(const QString& name, const QByteArray& body) const {
    QFile script(tools + '/' + name);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\ndir=$(dirname \"$0\")\n" + body);
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray SceneryTest::Recorded(const QString& file) const {
    QFile f(tools + '/' + file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool SceneryTest::ToolRan(const QString& name) const {
    return QFile::exists(tools + '/' + name + ".cwd");
}

QStringList SceneryTest::Arguments(const QString& name) const {
    return QString::fromUtf8(Recorded(name + ".args")).split('\n', Qt::SkipEmptyParts);
}

QByteArray SceneryTest::Output(const QString& name) const {
    QFile f(work + '/' + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TThermal& SceneryTest::AddThermal(double lat, double lon, int type) {
    auto& t = *thermals.emplace_back(std::make_unique<TThermal>());
    t.SetLat(lat);
    t.SetLon(lon);
    t.SetType(type);
    return t;
}
