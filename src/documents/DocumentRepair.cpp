#include "documents/DocumentRepair.h"

#include "documents/FileWriting.h"
#include "documents/MergeEngine.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QFileInfo>

QStringList repairInterruptedDocuments(AppState& app) {
    QStringList done;
    const QString folder = documentsFolder(app);
    if (!QFileInfo(folder).isDir()) {
        return done;
    }
    for (const auto& left : office::NewFile::abandonedIn(folder)) {
        const QString name = QFileInfo(left->path()).fileName();
        const auto rows = app.DbConnection.query(
            QStringLiteral("SELECT JobNumber FROM Docs WHERE FileName = ?"), {name});
        if (!rows) {
            continue;  // whether it was recorded cannot be told now: the next start will
        }
        const QString temporary = QFileInfo(left->temporaryPath()).fileName();
        OfficeError error;
        if (!rows->isEmpty() && !QFileInfo::exists(left->path())) {
            const QString job = rows->text(0, QStringLiteral("JobNumber"));
            done << (left->place(error)
                         ? QStringLiteral("The document %1 of job %2 had been written and "
                                          "recorded but not yet given its name; it now has it.")
                               .arg(name, job)
                         : QStringLiteral("The document %1 of job %2 had been written and "
                                          "recorded but could not be given its name: %3")
                               .arg(name, job, error.description));
        } else if (QFileInfo::exists(left->path())) {
            left->discard();
            done << QStringLiteral("The spare copy %1 of the document %2 was removed; the "
                                   "document itself is kept.")
                        .arg(temporary, name);
        } else {
            left->discard();
            done << QStringLiteral("The unfinished file %1, left while the document %2 was being "
                                   "made, was removed; the document had not been recorded.")
                        .arg(temporary, name);
        }
    }
    return done;
}

void repairDocumentsAtStart(AppState& app) {
    const QStringList done = repairInterruptedDocuments(app);
    if (done.isEmpty()) {
        return;
    }
    app.prompter.message(QStringLiteral("Verdell stopped while it was making documents. It has "
                                        "put right what was left in the documents folder:\r\n") +
                             done.join(QStringLiteral("\r\n")),
                         QStringLiteral("Documents Put Right"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
}
