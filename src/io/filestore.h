#pragma once

#include <string>
#include <string_view>
#include <variant>

#include <QByteArray>
#include <QString>

// Whole-file reading and writing for the project and waypoint files.

// Why a file could not be had, with the reason in the system's words ("No such file or
// directory", "Permission denied") or ours ("is a folder").
struct ReadFailure {
    enum Kind {
        CannotOpen, // missing, unreadable, or a folder
        Unreadable, // opened, but reading failed or the file is too large to be one of ours
    } kind;
    QString reason;
};

// The file's bytes, or why they could not be had.
std::variant<QByteArray, ReadFailure> ReadFileBytes(const QString& fileName);
// The same for a text file: one that is not text (LooksBinary) is refused before its
// lines are looked at.
std::variant<QByteArray, ReadFailure> ReadTextFile(const QString& fileName);
// The bytes as the line codecs take them.
inline std::string_view ByteView(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// What a save came to: nothing to say when the file was written, else the reason.
struct SaveResult {
    QString failure;
    explicit operator bool() const { return failure.isEmpty(); }
};

// Replaces the file by bytes through a temporary file, so a write that cannot be completed
// leaves the old file whole.
SaveResult SaveFileBytes(const QString& fileName, std::string_view bytes);

// Why a path is no plain file, or empty when it is one or does not exist.
QString NotAPlainFile(const QString& path);

// A path as messages show it: absolute, with the platform's separators.
std::string ShownPath(const QString& path);

// The folder of a file (absolute, ending with "/") and its name without the folder.
struct FileLocation {
    QString folder;
    QString fileName;
};
FileLocation SplitFilePath(const QString& path);
