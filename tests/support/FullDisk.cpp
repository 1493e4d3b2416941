#include "support/FullDisk.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Writes into a new file until the disk refuses, first in pages, then byte by byte.
void fillUp(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/filler")).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    const QByteArray page(4096, 'x');
    while (::write(fd, page.constData(), size_t(page.size())) > 0) {
    }
    while (::write(fd, "x", 1) > 0) {
    }
    ::close(fd);
}

}  // namespace

FullDisk::FullDisk(const QString& folder) : folder_(folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            kept_.insert(name, file.readAll());
        }
    }
    mounted_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                       "size=256k,mode=0700") == 0;
    if (mounted_) {
        for (auto it = kept_.cbegin(); it != kept_.cend(); ++it) {
            QFile file(dir.filePath(it.key()));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(it.value());
            }
        }
        fillUp(folder);
        return;
    }
    // A write past the limit fails with "file too large" instead of stopping the program.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    limit.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk() {
    if (mounted_) {
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
        return;
    }
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(oldLimit_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}
