// Draws a project's map picture from the stand-in simulator's terrain:
//   demomap PROJECT.prj WIDTH
// reads the picture's name and the four edges from the project's header and writes the
// picture, WIDTH pixels wide and as high as the area's true shape needs, beside the project.

#include "codecs/projectfile.h"
#include "relief.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

int Fail(const char* text, const QString& name) {
    std::fprintf(stderr, "demomap: %s %s\n", text, qUtf8Printable(name));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool widthOk = false;
    const int width = args.size() == 3 ? args[2].toInt(&widthOk) : 0;
    if (!widthOk || width < 1 || width > 10000) {
        std::fprintf(stderr, "Usage: demomap PROJECT.prj WIDTH (1-10000 pixels)\n");
        return 2;
    }

    QFile project(args[1]);
    if (!project.open(QIODevice::ReadOnly))
        return Fail("cannot read", args[1]);
    const QByteArray bytes = project.readAll();
    std::size_t offset = 0;
    const Read<ProjectHeader> read =
        ReadProjectHeader({bytes.constData(), static_cast<std::size_t>(bytes.size())}, offset);
    for (const Message& message : read.messages)
        std::fprintf(stderr, "demomap: %s: %s\n", message.caption.c_str(), message.text.c_str());
    const ProjectHeader& header = read.value;
    const GeoBounds& area = header.edges;
    if (!read.complete() || header.mapFile.empty() || area.north <= area.south ||
        area.east <= area.west)
        return Fail("bad header in", args[1]);

    const QString picture =
        QFileInfo(project).absoluteDir().filePath(QString::fromStdString(header.mapFile));
    const QImage relief = RenderRelief(area, width, TrueHeight(area, width));
    if (!relief.save(picture))
        return Fail("cannot write", picture);
    std::printf("%s: %dx%d\n", qUtf8Printable(picture), relief.width(), relief.height());
    return 0;
}
