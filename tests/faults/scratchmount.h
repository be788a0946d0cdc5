#pragma once

#include <string>

#include <QString>
#include <QTemporaryDir>

// A small file system of the test's own: a tmpfs of a given size on a temporary folder, so
// that a test can fill it or make it read-only without touching anything else. Mounting
// needs root (or the right to mount); where it is refused, Mounted() is false and Why()
// says so. Unmounted when the object goes.
class ScratchMount {
public:
    explicit ScratchMount(long bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    QString Path(const char* name) const;
    // Remounts it read-only, keeping its files.
    bool MakeReadOnly();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    std::string why_;
};
