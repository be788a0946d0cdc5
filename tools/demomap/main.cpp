// Draws a project's map picture from the stand-in simulator's terrain:
//   demomap PROJECT.prj WIDTH
// reads the picture's name and the four edges from the project's header and writes the
// picture, WIDTH pixels wide and as high as the area's true shape needs, beside the project.

#include "geo/coordtext.h"
#include "prompts/prompts.h"
#include "relief.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Counts the header's conversion problems, which ParseDegrees reports as messages.
class CountingPrompts final : public Prompts {
public:
    int failures = 0;
    void message(const QString& caption, const QString& text) override {
        std::fprintf(stderr, "demomap: %s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        ++failures;
    }
    bool ask(const QString&, const QString&) override { return false; }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }
};

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
    QList<QByteArray> header;
    for (int i = 0; i < 5 && !project.atEnd(); ++i)
        header.push_back(project.readLine().trimmed());
    if (header.size() < 5 || header[0].isEmpty())
        return Fail("no five-line header in", args[1]);

    CountingPrompts counting;
    setPrompts(&counting);
    const MapArea area{ParseDegrees(header[1].toStdString()), ParseDegrees(header[2].toStdString()),
                       ParseDegrees(header[3].toStdString()),
                       ParseDegrees(header[4].toStdString())};
    setPrompts(nullptr);
    if (counting.failures > 0 || area.latTop <= area.latBottom || area.lonRight <= area.lonLeft)
        return Fail("bad map edges in", args[1]);

    const QString picture = QFileInfo(project).absoluteDir().filePath(QString::fromUtf8(header[0]));
    const QImage relief = RenderRelief(area, width, TrueHeight(area, width));
    if (!relief.save(picture))
        return Fail("cannot write", picture);
    std::printf("%s: %dx%d\n", qUtf8Printable(picture), relief.width(), relief.height());
    return 0;
}
