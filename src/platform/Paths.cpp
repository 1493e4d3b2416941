#include "platform/Paths.h"

#include "platform/DriveRoots.h"

#include <QDir>
#include <QFileInfo>

namespace paths {

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

QString withSlashes(QString path) {
    return path.replace(u'\\', u'/');
}

QString stripLeadingSeparators(QString path) {
    qsizetype i = 0;
    while (i < path.size() && isSeparator(path[i])) {
        ++i;
    }
    return path.mid(i);
}

QString joinHost(const QString& folder, const QString& rest) {
    if (rest.isEmpty()) {
        return folder;
    }
    return folder.endsWith(u'/') ? QString(folder + rest) : QString(folder + u'/' + rest);
}

// "program files/verdell" and what follows it, when the rest names the old installation folder.
bool isInstallFolder(const QString& rest, QString& tail) {
    static const QString kInstall = QStringLiteral("program files/verdell");
    if (!rest.startsWith(kInstall, Qt::CaseInsensitive)) {
        return false;
    }
    if (rest.size() > kInstall.size() && rest[kInstall.size()] != u'/') {
        return false;
    }
    tail = stripLeadingSeparators(rest.mid(kInstall.size()));
    return true;
}

}  // namespace

bool isNetworkPath(const QString& path) {
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

QString toHost(const QString& stored, const DriveRoots& roots) {
    if (stored.isEmpty()) {
        return stored;
    }
    if (isNetworkPath(stored)) {
        return withSlashes(stored);
    }
    const bool hasDrive = stored.size() >= 2 && stored[1] == u':' && stored[0].isLetter();
    const bool driveRelative = stored[0] == u'\\';
    if (!hasDrive && !driveRelative) {
        return withSlashes(stored);
    }
    const QString rest = stripLeadingSeparators(withSlashes(stored.mid(hasDrive ? 2 : 0)));
    QString tail;
    if (isInstallFolder(rest, tail)) {
        return joinHost(roots.installFolder(), tail);
    }
    const QStringList list = roots.roots();
    int index = 0;
    if (hasDrive) {
        index = stored[0].toUpper().unicode() - u'C';
    }
    if (index < 0 || index >= list.size()) {
        // A drive that is not there: keep the letter, so the path names nothing that exists.
        return withSlashes(stored);
    }
    return joinHost(list[index], rest);
}

Rooted splitRoot(const QString& hostPath, const DriveRoots& roots) {
    const QString path = withSlashes(hostPath);
    const QStringList list = roots.roots();
    Rooted best;
    qsizetype bestLength = -1;
    for (int i = 0; i < list.size(); ++i) {
        QString root = QDir::cleanPath(list[i]);
        if (path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/')) {
            if (root.size() > bestLength) {
                bestLength = root.size();
                best = {i, stripLeadingSeparators(path.mid(root.size()))};
            }
        }
    }
    if (best.root < 0) {
        best.rest = stripLeadingSeparators(path);
    }
    return best;
}

QString join(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        // The root of the current drive.
        return u'\\' + name;
    }
    const QChar sep = folder.contains(u'\\') && !folder.contains(u'/') ? u'\\' : u'/';
    return isSeparator(folder.back()) ? QString(folder + name) : QString(folder + sep + name);
}

QString sharedFile(const DriveRoots& roots, const QString& relative) {
    const QString installed =
        QDir::cleanPath(roots.installFolder() + QStringLiteral("/../share/verdell/") + relative);
    return QFileInfo::exists(installed) ? installed : QStringLiteral(":/") + relative;
}

}  // namespace paths
