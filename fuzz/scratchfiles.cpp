#include "scratchfiles.h"

#include "check.h"
#include "geo/textfields.h"

#include <QApplication>
#include <QFile>

ScratchFiles& ScratchFiles::instance() {
    static ScratchFiles files;
    return files;
}

ScratchFiles::ScratchFiles() {
    // The map panel is a widget: it needs an application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    Check(dir_.isValid(), "a scratch folder can be made");
}

QString ScratchFiles::Path(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name));
}

QString ScratchFiles::Write(const char* name, std::string_view bytes) const {
    const QString path = Path(name);
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "a scratch file can be made");
    const auto size = static_cast<qint64>(bytes.size());
    Check(file.write(bytes.data(), size) == size, "a scratch file can be written");
    return path;
}

std::string ScratchFiles::Read(const QString& path) const {
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the saved file is there");
    const QByteArray bytes = file.readAll();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

std::string FirstLines(std::string_view data, int count) {
    std::string lines;
    std::size_t offset = 0;
    for (int i = 0; i < count; ++i)
        lines += ReadLine(data, offset) + "\r\n";
    return lines;
}
