#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// A folder on a disk with no room left, while the object lives: every write into it fails as
// it does on a full disk. Where the test may mount a file system, the folder becomes a small
// tmpfs of its own, holding the files the folder held and filled to its last block; elsewhere
// this process (and every program it starts) may write no more than a few bytes into any file
// (RLIMIT_FSIZE), which fails a write the same way.
class FullDisk {
public:
    explicit FullDisk(const QString& folder);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // How the disk was filled, for the test's log.
    QString how() const { return mounted_ ? QStringLiteral("tmpfs") : QStringLiteral("limit"); }

private:
    QString folder_;
    bool mounted_ = false;
    QMap<QString, QByteArray> kept_;
    unsigned long long oldLimit_ = 0;
};
