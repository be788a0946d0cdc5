#include "filetestsupport.h"

#include <csignal>

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

FileSizeLimit::FileSizeLimit(long bytes) {
    // Without this the write past the limit would end the process instead of failing.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ADD_FAILURE() << "cannot limit the file size";
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

FileTest::FileTest() {
    panel.resize(400, 300);
}

QString FileTest::Scratch(const char* name, std::string_view bytes) const {
    const QString path = Scratch(name);
    WriteBytes(path, bytes);
    return path;
}
