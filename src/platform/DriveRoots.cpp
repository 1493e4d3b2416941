#include "platform/DriveRoots.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {

void appendVolumes(QStringList& out, const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) {
        return;
    }
    const auto names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        out << dir.filePath(name);
    }
}

}  // namespace

QStringList SystemDriveRoots::roots() const {
    QStringList out{QDir::homePath()};
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty()) {
        appendVolumes(out, QStringLiteral("/media/") + user);
        appendVolumes(out, QStringLiteral("/run/media/") + user);
    }
    appendVolumes(out, QStringLiteral("/mnt"));
    return out;
}

QString SystemDriveRoots::installFolder() const {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

bool SystemDriveRoots::isNetworkFolder(const QString& folder) const {
    const QStorageInfo storage(folder);
    if (!storage.isValid()) {
        return false;
    }
    const QByteArray type = storage.fileSystemType().toLower();
    return type == "cifs" || type.startsWith("smb") || type.startsWith("nfs");
}
