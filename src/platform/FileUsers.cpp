#include "platform/FileUsers.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <algorithm>

namespace fileusers {

namespace {

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

QList<FileId> idsOf(const QStringList& files) {
    QList<FileId> ids;
    for (const QString& file : files) {
        struct stat st {};
        if (::stat(QFile::encodeName(file).constData(), &st) == 0) {
            ids << FileId{st.st_dev, st.st_ino};
        }
    }
    return ids;
}

QString programOf(qint64 pid) {
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (cmdline.open(QIODevice::ReadOnly)) {
        const QByteArray first = cmdline.readAll().split('\0').value(0);
        if (!first.isEmpty()) {
            return QFileInfo(QFile::decodeName(first)).fileName();
        }
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly)) {
        return QString::fromUtf8(comm.readAll().trimmed());
    }
    return {};
}

// The numeric names in a folder of /proc: processes, or a process's open files.
QList<qint64> numbersIn(const QString& folder) {
    QList<qint64> out;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        return out;
    }
    while (const dirent* entry = ::readdir(dir)) {
        bool numeric = false;
        const qint64 n = QByteArray(entry->d_name).toLongLong(&numeric);
        if (numeric) {
            out << n;
        }
    }
    ::closedir(dir);
    return out;
}

// Processes with one of the files among their open files. A process whose files this user may
// not look into is passed over.
QSet<qint64> openedBy(const QList<FileId>& ids, qint64 self) {
    QSet<qint64> pids;
    for (const qint64 pid : numbersIn(QStringLiteral("/proc"))) {
        if (pid == self) {
            continue;
        }
        const QByteArray fds = QByteArray("/proc/") + QByteArray::number(pid) + "/fd/";
        for (const qint64 fd : numbersIn(QString::fromLatin1(fds))) {
            const QByteArray path = fds + QByteArray::number(fd);
            struct stat st {};
            if (::stat(path.constData(), &st) == 0 && ids.contains(FileId{st.st_dev, st.st_ino})) {
                pids.insert(pid);
                break;
            }
        }
    }
    return pids;
}

// Processes holding a lock on one of the files, of any user: /proc/locks names each lock's
// process and file (device as hexadecimal major:minor, then the inode).
QSet<qint64> lockedBy(const QList<FileId>& ids, qint64 self) {
    QSet<qint64> pids;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) {
        return pids;
    }
    for (const QByteArray& line : locks.readAll().split('\n')) {
        QList<QByteArray> fields = line.simplified().split(' ');
        fields.removeAll("->");  // a process waiting for the lock above
        if (fields.size() < 6) {
            continue;
        }
        const qint64 pid = fields[4].toLongLong();
        const QList<QByteArray> where = fields[5].split(':');
        if (pid <= 0 || pid == self || where.size() != 3) {
            continue;
        }
        const FileId id{makedev(where[0].toUInt(nullptr, 16), where[1].toUInt(nullptr, 16)),
                        ino_t(where[2].toULongLong())};
        if (ids.contains(id)) {
            pids.insert(pid);
        }
    }
    return pids;
}

}  // namespace

QList<User> otherProcessesUsing(const QStringList& files) {
    const QList<FileId> ids = idsOf(files);
    if (ids.isEmpty()) {
        return {};
    }
    const qint64 self = ::getpid();
    QList<qint64> pids = (openedBy(ids, self) | lockedBy(ids, self)).values();
    std::sort(pids.begin(), pids.end());
    QList<User> users;
    for (qint64 pid : pids) {
        users << User{pid, programOf(pid)};
    }
    return users;
}

}  // namespace fileusers
