#include "filetestsupport.h"

#include <QFile>

QString DataPath(const char* name) {
    return QStringLiteral(FILES_TEST_DATA "/") + QString::fromLatin1(name);
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    const QByteArray bytes = file.readAll();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void WriteBytes(const QString& path, std::string_view bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

FileTest::FileTest() {
    panel.resize(400, 300);
}

QString FileTest::Scratch(const char* name, std::string_view bytes) const {
    const QString path = Scratch(name);
    WriteBytes(path, bytes);
    return path;
}
