#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <QString>
#include <QTemporaryDir>

// A headless application and a scratch folder for the file loaders, which read and write
// real files. Made once per process, at the first input.
class ScratchFiles {
public:
    static ScratchFiles& instance();

    QString Path(const char* name) const;
    // Writes the bytes to the named scratch file and returns its path.
    QString Write(const char* name, std::string_view bytes) const;
    // The whole file; the property check fails when it cannot be read.
    std::string Read(const QString& path) const;

private:
    ScratchFiles();
    QTemporaryDir dir_;
};

// The lines a loader reads from the data: line feeds end them and carriage returns are
// dropped. Missing lines count as empty.
std::string FirstLines(std::string_view data, int count);
