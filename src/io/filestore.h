#pragma once

#include <string_view>
#include <variant>

#include <QByteArray>
#include <QString>

// Whole-file reading and writing for the project and waypoint files.

enum class ReadFailure {
    CannotOpen, // missing, unreadable, or a directory
    Unreadable, // opened, but reading failed or the file is too large to be one of ours
};

// The file's bytes, or why they could not be had.
std::variant<QByteArray, ReadFailure> ReadFileBytes(const QString& fileName);
// The bytes as the line codecs take them.
inline std::string_view ByteView(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Replaces the file by bytes through a temporary file, so a write that cannot be completed
// leaves the old file whole. False when the file could not be written.
bool SaveFileBytes(const QString& fileName, std::string_view bytes);

// The folder of a file (absolute, ending with "/") and its name without the folder.
struct FileLocation {
    QString folder;
    QString fileName;
};
FileLocation SplitFilePath(const QString& path);
