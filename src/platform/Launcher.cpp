#include "platform/Launcher.h"

#include "platform/DesktopEntry.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

QString officeProgram() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

QStringList xdgEmailArguments(const MailMessage& mail) {
    QStringList arguments{QStringLiteral("--utf8"), QStringLiteral("--subject"), mail.subject};
    if (!mail.attachment.isEmpty()) {
        arguments << QStringLiteral("--attach") << mail.attachment;
    }
    return arguments + mail.to;
}

namespace {

// What the system says of the program that opens a type of file or page.
struct DefaultProgram {
    bool asked = false;  // false: there is no xdg-mime to ask
    std::optional<DesktopEntry> entry;
};

DefaultProgram defaultProgramFor(const QUrl& url) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) {
        return {};
    }
    const QString type = url.isLocalFile()
                             ? QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name()
                             : QStringLiteral("x-scheme-handler/") + url.scheme();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        return {true, std::nullopt};
    }
    const QString desktopId =
        QString::fromLocal8Bit(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    if (desktopId.isEmpty()) {
        return {true, std::nullopt};
    }
    const QString file = DesktopEntry::locate(desktopId);
    return {true, file.isEmpty() ? std::nullopt : DesktopEntry::read(file)};
}

}  // namespace

DesktopLauncher::DesktopLauncher(std::function<bool(const QUrl&)> desktopOpener)
    : desktopOpener_(desktopOpener ? std::move(desktopOpener) : [](const QUrl& url) {
          return QDesktopServices::openUrl(url);
      }) {}

// The program set up for the type is started as its desktop entry says, so a type without one
// fails here rather than in an opener that would say nothing.
bool DesktopLauncher::openWithDefault(const QUrl& url) {
    const DefaultProgram program = defaultProgramFor(url);
    if (!program.asked) {
        return desktopOpener_(url);
    }
    if (!program.entry) {
        return false;
    }
    const QStringList command = program.entry->command(url);
    return !command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1));
}

bool DesktopLauncher::open(const QString& path) {
    return openWithDefault(QUrl::fromLocalFile(path));
}

bool DesktopLauncher::openUrl(const QUrl& url) {
    return openWithDefault(url);
}

bool DesktopLauncher::print(const QString& path) {
    const QString soffice = officeProgram();
    if (soffice.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(soffice,
                                   {QStringLiteral("--headless"), QStringLiteral("-p"), path});
}

bool DesktopLauncher::editTemplate(const QString& path) {
    const QString soffice = officeProgram();
    const QString registered = programFor(path);
    if (!soffice.isEmpty() &&
        (registered.isEmpty() ||
         QFileInfo(registered).fileName().contains(QLatin1String("office"), Qt::CaseInsensitive))) {
        return QProcess::startDetached(soffice, {QStringLiteral("-o"), path});
    }
    return open(path);
}

QString DesktopLauncher::programFor(const QString& filePath) {
    const DefaultProgram program = defaultProgramFor(QUrl::fromLocalFile(filePath));
    if (!program.entry) {
        return {};
    }
    const QString first = program.entry->program();
    return QFileInfo(first).isAbsolute() ? first : QStandardPaths::findExecutable(first);
}

bool DesktopLauncher::canEmail() {
    return !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty();
}

// xdg-email finds the desktop's mail program; it is started on its own, as that program may
// stay running after the message is sent.
bool DesktopLauncher::email(const MailMessage& mail) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    return !program.isEmpty() && QProcess::startDetached(program, xdgEmailArguments(mail));
}
