#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString office() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

// The program named by the Exec line of a desktop entry.
QString execOf(const QString& desktopFile) {
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            const QStringList words = QProcess::splitCommand(line.mid(5));
            if (words.isEmpty()) {
                return {};
            }
            const QString program = words.first();
            return QFileInfo(program).isAbsolute() ? program
                                                   : QStandardPaths::findExecutable(program);
        }
    }
    return {};
}

}  // namespace

bool DesktopLauncher::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopLauncher::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncher::print(const QString& path) {
    const QString soffice = office();
    if (soffice.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(soffice,
                                   {QStringLiteral("--headless"), QStringLiteral("-p"), path});
}

bool DesktopLauncher::editTemplate(const QString& path) {
    const QString soffice = office();
    const QString registered = programFor(path);
    if (!soffice.isEmpty() &&
        (registered.isEmpty() ||
         QFileInfo(registered).fileName().contains(QLatin1String("office"), Qt::CaseInsensitive))) {
        return QProcess::startDetached(soffice, {QStringLiteral("-o"), path});
    }
    return open(path);
}

bool DesktopLauncher::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString DesktopLauncher::programFor(const QString& filePath) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) {
        return {};
    }
    const QString mime = QMimeDatabase().mimeTypeForFile(filePath).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!query.waitForFinished(3000) || query.exitCode() != 0) {
        return {};
    }
    const QString desktopId = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    if (desktopId.isEmpty()) {
        return {};
    }
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    return entry.isEmpty() ? QString() : execOf(entry);
}
