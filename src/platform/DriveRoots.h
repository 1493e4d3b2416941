#pragma once

#include <QString>
#include <QStringList>

// The ordered list of places where a data folder may live: the home folder first (it plays the
// current drive), then each mounted volume. Searching "the drives" means looking for the same
// folder, relative to its root, under each root in this order.
class DriveRoots {
public:
    virtual ~DriveRoots() = default;
    virtual QStringList roots() const = 0;
    // The folder the program is installed in.
    virtual QString installFolder() const = 0;
    // Whether a folder lies on a file system of another computer (SMB/CIFS or NFS).
    virtual bool isNetworkFolder(const QString& folder) const = 0;

    QString home() const { return roots().value(0); }
};

// The home folder, then the volumes under /media/$USER, /run/media/$USER and /mnt, each in name
// order.
class SystemDriveRoots : public DriveRoots {
public:
    QStringList roots() const override;
    QString installFolder() const override;
    bool isNetworkFolder(const QString& folder) const override;
};

// Test double.
class FixedDriveRoots : public DriveRoots {
public:
    FixedDriveRoots(QStringList roots, QString installFolder)
        : roots_(std::move(roots)), install_(std::move(installFolder)) {}
    QStringList roots() const override { return roots_; }
    QString installFolder() const override { return install_; }
    bool isNetworkFolder(const QString& folder) const override {
        return networkFolders.contains(folder);
    }

    // The folders that count as shared from another computer.
    QStringList networkFolders;

private:
    QStringList roots_;
    QString install_;
};
