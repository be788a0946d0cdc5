#include "filestore.h"

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
bool WriteInPlace(const QString& fileName, std::string_view bytes) {
    QFile file(fileName);
    const auto size = static_cast<qint64>(bytes.size());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
           file.write(bytes.data(), size) == size && file.flush();
}

} // namespace

std::variant<QByteArray, ReadFailure> ReadFileBytes(const QString& fileName) {
    // Only a plain file has an end: opening a pipe waits for a writer, and a device such as
    // /dev/zero would be read until the memory runs out.
    if (!QFileInfo(fileName).isFile())
        return ReadFailure::CannotOpen;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return ReadFailure::CannotOpen;
    if (file.size() > kLargestFile)
        return ReadFailure::Unreadable;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadFailure::Unreadable;
    return bytes;
}

bool SaveFileBytes(const QString& fileName, std::string_view bytes) {
    // The new file is renamed into place, which would replace a device or a pipe of that
    // name (as root even /dev/full) by a plain file: such a name cannot be saved to.
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isFile())
        return false;
    QSaveFile file(fileName);
    // Unbuffered, so that a short write on a full disk is seen here: a buffered one fails
    // only in the flush at commit, which does not report it, and a cut-off file would
    // replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return existing.isFile() && existing.isWritable() &&
               !QFileInfo(existing.absolutePath()).isWritable() && WriteInPlace(fileName, bytes);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

FileLocation SplitFilePath(const QString& path) {
    const QFileInfo info(path);
    return {info.absolutePath() + QLatin1Char('/'), info.fileName()};
}
