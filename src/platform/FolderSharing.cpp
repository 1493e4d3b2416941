#include "platform/FolderSharing.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What a shell answers for a command that is not there.
constexpr int kCommandMissing = 127;

// Gives the path to the group, readable and writable by it; a folder also gets the set-group bit
// so that what is made in it takes its group.
void giveToGroup(const QString& path, gid_t group) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || ::chown(name.constData(), uid_t(-1), group) != 0) {
        return;
    }
    const mode_t extra = S_ISDIR(st.st_mode) ? (S_IRWXG | S_ISGID) : (S_IRGRP | S_IWGRP);
    ::chmod(name.constData(), (st.st_mode & 07777) | extra);
}

}  // namespace

bool SambaFolderSharing::groupExists(const QString& group) const {
    return !group.isEmpty() && ::getgrnam(group.toLocal8Bit().constData()) != nullptr;
}

int SambaFolderSharing::share(const QString&, const QString& shareName, const QString& folder,
                              const QString& remark, int, const ShareAccess& access) {
    const QString net = QStandardPaths::findExecutable(QStringLiteral("net"));
    if (net.isEmpty()) {
        return kCommandMissing;
    }
    if (!access.everyone) {
        if (const group* found = ::getgrnam(access.group.toLocal8Bit().constData())) {
            const gid_t gid = found->gr_gid;
            giveToGroup(folder, gid);
            QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                giveToGroup(it.next(), gid);
            }
        }
    }
    const QString acl = access.everyone
                            ? QStringLiteral("Everyone:F")
                            : QStringLiteral("Unix Group\\%1:F").arg(access.group);
    QProcess process;
    process.start(net, {QStringLiteral("usershare"), QStringLiteral("add"), shareName, folder,
                        remark, acl,
                        access.everyone ? QStringLiteral("guest_ok=y")
                                        : QStringLiteral("guest_ok=n")});
    if (!process.waitForFinished(15000)) {
        process.kill();
        return kCommandMissing;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return kCommandMissing;
    }
    return process.exitCode();
}
