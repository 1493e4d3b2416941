#include "setup/BackupScreens.h"

#include "documents/MergeEngine.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "setup/Backup.h"
#include "widgets/OpenScreens.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Verdell Backup (*.vbk);;All Files (*)");

// Backups hold the database only: what stays in the documents folder is said plainly.
QString documentsNotIncluded(AppState& app) {
    return QStringLiteral(
               "The backup holds the database only. The documents and the attached "
               "files are in the documents folder (%1), which is not in it: copy "
               "that folder as well to keep them.")
        .arg(QDir::toNativeSeparators(documentsFolder(app)));
}
}  // namespace

void BackupWithDialog(AppState& app) {
    if (!app.DbConnection.isOpen()) {
        app.prompter.message(QStringLiteral("There is no database connection"),
                             QStringLiteral("No Current Database Connection"),
                             Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return;
    }
    const QFileInfo database(app.DbConnection.fileName());
    const QString suggested = database.absolutePath() + u'/' + database.completeBaseName() +
                              app.clock.now().toString(QStringLiteral(" yyyy-MM-dd")) +
                              QStringLiteral(".vbk");
    const QString target = app.prompter.saveFile(QStringLiteral("Backup"), suggested, kFilter);
    if (target.isEmpty()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = backup::BackupDatabase(app.DbConnection, target);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty()) {
        app.prompter.message(error, QStringLiteral("Backup Failed"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return;
    }
    app.prompter.message(QStringLiteral("The database has been backed up to ") + target +
                             QStringLiteral(".\r\n\r\n") + documentsNotIncluded(app),
                         QStringLiteral("Backup Complete"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
}

bool RestoreWithDialog(AppState& app) {
    const QString file = app.prompter.openFile(QStringLiteral("Restore"), {}, kFilter);
    if (file.isEmpty()) {
        return false;
    }
    QString problem = backup::checkBackupFile(file);
    if (problem.isEmpty()) {
        problem = backup::whyInUse(app.AppSettings, app.roots);
    }
    if (!problem.isEmpty()) {
        app.prompter.message(problem + QStringLiteral("\r\n\r\nNothing has been changed."),
                             QStringLiteral("Restore Refused"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return false;
    }
    if (app.prompter.message(
            QStringLiteral("The database will be replaced by the backup ") + file +
                QStringLiteral(".\r\nEverything entered since that backup was made will no "
                               "longer be shown; the database it replaces is kept beside it. The "
                               "documents and attached files in the documents folder are left as "
                               "they are: the backup holds the database only."
                               "\r\n\r\nDo you want to restore this backup?"),
            QStringLiteral("Restore Database"), Prompter::Buttons::YesNo,
            Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return false;
    }
    if (!closeOpenScreens(app, QStringLiteral("before the backup is restored"))) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const backup::RestoreResult result = backup::RestoreDatabase(app, file);
    QApplication::restoreOverrideCursor();
    if (!result.error.isEmpty()) {
        app.prompter.message(result.error + QStringLiteral("\r\n\r\nThe database is as it was."),
                             QStringLiteral("Restore Failed"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return false;
    }
    app.prompter.message(QStringLiteral("The backup has been restored.") +
                             (result.keptFile.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" The database it replaced is kept as ") +
                                        result.keptFile + u'.'),
                         QStringLiteral("Restore Complete"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
    return true;
}
