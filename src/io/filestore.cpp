#include "filestore.h"

#include "codecs/textencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Far beyond any real project or waypoint file (100,000 thermals take 10 MB); a larger
// file is refused rather than read into memory.
constexpr qint64 kLargestFile = qint64{256} * 1024 * 1024;

// Where the folder takes no new file (a writable file in a folder that is not), there is no
// room for the temporary file: the file is written in place, less safe but the only way to
// save there at all.
SaveResult WriteInPlace(const QString& fileName, std::string_view bytes) {
    QFile file(fileName);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
        file.write(bytes.data(), size) == size && file.flush())
        return {};
    return {file.errorString()};
}

} // namespace

QString NotAPlainFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("is a folder");
    if (info.exists() && !info.isFile())
        return QStringLiteral("is not a plain file");
    return {};
}

std::variant<QByteArray, ReadFailure> ReadFileBytes(const QString& fileName) {
    // Only a plain file has an end: opening a pipe waits for a writer, and a device such as
    // /dev/zero would be read until the memory runs out.
    if (const QString reason = NotAPlainFile(fileName); !reason.isEmpty())
        return ReadFailure{ReadFailure::CannotOpen, reason};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return ReadFailure{ReadFailure::CannotOpen, file.errorString()};
    if (file.size() > kLargestFile)
        return ReadFailure{ReadFailure::Unreadable, QStringLiteral("is larger than 256 MB")};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadFailure{ReadFailure::Unreadable, file.errorString()};
    return bytes;
}

std::variant<QByteArray, ReadFailure> ReadTextFile(const QString& fileName) {
    auto read = ReadFileBytes(fileName);
    if (const auto* bytes = std::get_if<QByteArray>(&read); bytes && LooksBinary(ByteView(*bytes)))
        return ReadFailure{ReadFailure::CannotOpen, QStringLiteral("is not a text file")};
    return read;
}

SaveResult SaveFileBytes(const QString& fileName, std::string_view bytes) {
    // The new file is renamed into place, which would replace a device or a pipe of that
    // name (as root even /dev/full) by a plain file: such a name cannot be saved to.
    if (const QString reason = NotAPlainFile(fileName); !reason.isEmpty())
        return {reason};
    const QFileInfo existing(fileName);
    QSaveFile file(fileName);
    // Unbuffered, so that a short write on a full disk is seen here: a buffered one fails
    // only in the flush at commit, which does not report it, and a cut-off file would
    // replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (existing.isFile() && existing.isWritable() &&
            !QFileInfo(existing.absolutePath()).isWritable())
            return WriteInPlace(fileName, bytes);
        return {file.errorString()};
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {reason};
    }
    if (!file.commit())
        return {file.errorString()};
    return {};
}

std::string ShownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
}

FileLocation SplitFilePath(const QString& path) {
    const QFileInfo info(path);
    return {info.absolutePath() + QLatin1Char('/'), info.fileName()};
}
