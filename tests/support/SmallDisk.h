#pragma once

#include <sys/mount.h>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>

// A folder on a small file system of its own, mounted for the test and gone with it; needs the
// right to mount (root), else mounted() is false and the test that wants it is skipped.
class SmallDisk {
public:
    explicit SmallDisk(const QString& options = QStringLiteral("size=64k")) {
        folder_ = dir_.filePath(QStringLiteral("disk"));
        QDir().mkpath(folder_);
        mounted_ = ::mount("tmpfs", folder_.toLocal8Bit().constData(), "tmpfs", 0,
                           options.toLatin1().constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(folder_.toLocal8Bit().constData(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString folder() const { return folder_; }
    void remountReadOnly() {
        mounted_ = ::mount("tmpfs", folder_.toLocal8Bit().constData(), "tmpfs",
                           MS_REMOUNT | MS_RDONLY, nullptr) == 0 &&
                   mounted_;
    }
    // Fills the disk with one file until no more than `free` bytes are left; empty() takes it
    // away again.
    void fill(qint64 free) {
        QFile filler(fillerPath());
        filler.open(QIODevice::Append);
        const qint64 available = QStorageInfo(folder_).bytesAvailable();
        filler.write(QByteArray(qMax<qint64>(0, available - free), 'x'));
    }
    void empty() { QFile::remove(fillerPath()); }

private:
    QString fillerPath() const { return folder_ + QStringLiteral("/.filler"); }

    QTemporaryDir dir_;
    QString folder_;
    bool mounted_ = false;
};
