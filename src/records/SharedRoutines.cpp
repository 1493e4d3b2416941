#include "records/SharedRoutines.h"

#include "common/Numbers.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

QString CaptionToField(const CaptionSet& captions, const QString& caption) {
    static const std::pair<Caption, const char*> kFields[] = {
        {Caption::DateCreated, "DateCreated"}, {Caption::DateReceived, "DateReceived"},
        {Caption::DateDue, "DateDue"},         {Caption::DateCompleted, "DateCompleted"},
        {Caption::DateQuoted, "DateQuoted"},   {Caption::JobNo, "JobNo"},
        {Caption::JobStatus, "JobStatus"},     {Caption::IntroducedBy, "IntroducedBy"},
    };
    for (const auto& [named, field] : kFields) {
        if (caption == captions[named]) {
            return QString::fromLatin1(field);
        }
    }
    if (caption == QLatin1String("Job Age")) {
        return QStringLiteral("Age");
    }
    return {};
}

QStringList ListFiles(const QString& folder, const QString& pattern) {
    QDir dir(folder);
    dir.setNameFilters({pattern});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Unsorted);
    return dir.entryList();
}

namespace {

qsizetype lastSeparator(const QString& fullName) {
    return qMax(fullName.lastIndexOf(u'/'), fullName.lastIndexOf(u'\\'));
}

}  // namespace

QString FolderOf(const QString& fullName) {
    const qsizetype at = lastSeparator(fullName);
    return at < 0 ? QString() : fullName.left(at);
}

QString FileNameOf(const QString& fullName) { return fullName.mid(lastSeparator(fullName) + 1); }

QString FindBrowser(AppState& app, const QString& extension) {
    QTemporaryFile probe(QDir::tempPath() + QStringLiteral("/~XXXXXX"));
    if (!probe.open()) {
        return {};
    }
    QString name = probe.fileName();
    const qsizetype dot = name.indexOf(u'.', name.lastIndexOf(u'/'));
    name = (dot < 0 ? name : name.left(dot)) + u'.' + extension;
    if (!probe.rename(name)) {
        return {};
    }
    return app.launcher.programFor(name);
}

int ShareFolder(AppState& app, const QString& serverName, const QString& shareName,
                const QString& folder, const ShareAccess& access, const QString& remark,
                int maxUsers) {
    return app.sharing.share(serverName, shareName, folder, remark, maxUsers, access);
}

QString helpPageFile(const DriveRoots& roots) {
    const QString folder = QDir::tempPath() + QStringLiteral("/verdell-help");
    const QString file = folder + QStringLiteral("/mailmerge.htm");
    QFile source(paths::sharedFile(roots, QStringLiteral("help/mailmerge.htm")));
    if (!source.open(QIODevice::ReadOnly) || !QDir().mkpath(folder)) {
        return {};
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(source.readAll()) < 0 || !out.commit()) {
        return {};
    }
    return file;
}

void OpenHelpPage(AppState& app) {
    // The page goes to the program the desktop shows web pages with; when none takes it, the
    // user is told where the page is.
    const QString page = helpPageFile(app.roots);
    if (!page.isEmpty() && app.launcher.openUrl(QUrl::fromLocalFile(page))) {
        return;
    }
    app.prompter.message(
        page.isEmpty()
            ? QStringLiteral("The help page on creating templates could not be written to the "
                             "temporary folder.")
            : QStringLiteral("No program on this computer would show the help page on creating "
                             "templates.\r\nYou can open it in your web browser: ") +
                  page,
        QStringLiteral("Creating Templates"), Prompter::Buttons::Ok, Prompter::Icon::Information);
}
