#include "scratchmount.h"

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

#include <QFile>

ScratchMount::ScratchMount(long bytes) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.c_str()) ==
        0)
        mounted_ = true;
    else
        why_ = std::string("cannot mount a small tmpfs here: ") + std::strerror(errno);
}

ScratchMount::~ScratchMount() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

QString ScratchMount::Path(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name));
}

bool ScratchMount::MakeReadOnly() {
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return true;
    why_ = std::string("cannot remount read-only: ") + std::strerror(errno);
    return false;
}
