#include "documents/JobDocuments.h"

#include "documents/MergeEngine.h"
#include "documents/TextRoutines.h"
#include "jobs/JobStore.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "startup/AppState.h"
#include "startup/DateText.h"

#include <QFileInfo>

std::optional<QString> CreateUniqueFileName(Database& db) {
    const auto number = GetCounter(db, 2);
    if (!number) {
        return std::nullopt;
    }
    return QString::number(*number) + QStringLiteral(".doc");
}

RecordedDocument recordDocument(AppState& app, qint32 jobNo, const QString& templateName,
                                const QString& typedTitle) {
    RecordedDocument doc;
    Database& db = app.DbConnection;
    const QString name = templateName.trimmed();
    const QString ext = GetFileExtension(templateName).toUpper();
    doc.title = typedTitle.isEmpty() ? templateName : typedTitle + QStringLiteral(", ") + name;

    Transaction tx(db);
    if (!tx.active()) {
        doc.error = db.lastError().message;
        return doc;
    }
    const bool workbook = ext == QLatin1String("XLT") || ext == QLatin1String("XLTX");
    const counters::Taken number = GetCounter(db, workbook ? 3 : 2);
    if (!number) {
        doc.error = number.error;
        return doc;
    }
    QString suffix = QStringLiteral(".doc");
    if (workbook) {
        suffix = ext == QLatin1String("XLT") ? QStringLiteral(".XLS") : QStringLiteral(".XLSX");
    }
    doc.fileName = QString::number(*number) + suffix;
    if (doc.fileName.endsWith(QLatin1String("XLS")) ||
        doc.fileName.endsWith(QLatin1String("XLSX"))) {
        doc.title = QStringLiteral("Invoice ") + doc.fileName;
    }
    const bool ok =
        db.exec(
            QStringLiteral("INSERT INTO Docs (JobNumber, FileName, \"Date\", Title, AddressType, "
                           "DocType) VALUES (?, ?, ?, ?, ?, ?)"),
            {jobNo, doc.fileName, datetext::toStored(app.clock.now()), doc.title,
             QStringLiteral(""), QStringLiteral("")}) &&
        tx.commit();
    if (!ok) {
        doc.error = db.lastError().message;
        return doc;
    }
    doc.ok = true;
    return doc;
}

std::optional<QString> defaultTemplate(Database& db) {
    const auto rows = db.query(
        QStringLiteral("SELECT FileName FROM Templates WHERE PrimaryDoc = 1 ORDER BY DummyId"));
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    return rows->text(0, QStringLiteral("FileName"));
}

bool deleteDocument(Database& db, qint64 dummyId) {
    return db.exec(QStringLiteral("DELETE FROM Docs WHERE DummyId = ?"), {dummyId});
}

void openSavedDocument(AppState& app, const QString& fileName) {
    if (fileName.trimmed().isEmpty()) {
        app.prompter.message(QStringLiteral("You must select a document first"));
        return;
    }
    const QString path = documentsFolder(app) + u'/' + fileName.trimmed();
    if (!QFileInfo::exists(path)) {
        app.prompter.message(QStringLiteral("The document ") + path +
                                 QStringLiteral(" cannot be found. It may have been moved or "
                                                "deleted."),
                             QStringLiteral("Document Not Found"), Prompter::Buttons::Ok,
                             Prompter::Icon::Exclamation);
        return;
    }
    if (app.launcher.open(path)) {
        return;
    }
    const QString ext = GetFileExtension(fileName).toUpper();
    if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX") ||
        ext == QLatin1String("XLS") || ext == QLatin1String("XLSX")) {
        cannotReachSpreadsheetProgram(app);
    } else {
        app.prompter.message(QStringLiteral("Unable to communicate with MS Word, please check "
                                            "your Word Installation is not corrupt"),
                             QStringLiteral("Unable To Communicate With Word"),
                             Prompter::Buttons::OkCancel, Prompter::Icon::Critical);
    }
}
