#include "documents/JobDocuments.h"

#include "common/DateText.h"
#include "documents/Attachments.h"
#include "documents/FileWriting.h"
#include "documents/MergeEngine.h"
#include "documents/TextRoutines.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Counters.h"

#include <QFileInfo>

namespace {

bool isWorkbookTemplate(const QString& ext) {
    return ext == QLatin1String("XLT") || ext == QLatin1String("XLTX");
}

// Whether a document number is in use: a file of the documents folder or a recorded document has
// one of the names it would give. Spreadsheets share the invoice numbers whatever their
// extension, so both extensions are looked at. No value when the database cannot tell.
std::optional<bool> numberInUse(Database& db, const QString& folder, qint32 number,
                                const QStringList& suffixes) {
    for (const QString& suffix : suffixes) {
        const QString name = QString::number(number) + suffix;
        if (QFileInfo::exists(folder + u'/' + name)) {
            return true;
        }
        const auto rows =
            db.query(QStringLiteral("SELECT DummyId FROM Docs WHERE FileName = ?"), {name});
        if (!rows) {
            return std::nullopt;
        }
        if (!rows->isEmpty()) {
            return true;
        }
    }
    return false;
}

// Takes the next number of a kind that no document has yet, the counter moved past it, in the
// caller's transaction; the names it gives are made with the suffixes.
counters::Taken takeFreeNumber(Database& db, const QString& folder, int counterType,
                               const QStringList& suffixes) {
    for (;;) {
        const counters::Taken number = GetCounter(db, counterType);
        if (!number) {
            return number;
        }
        const std::optional<bool> used = numberInUse(db, folder, *number, suffixes);
        if (!used) {
            return {std::nullopt, db.lastError().message, {}};
        }
        if (!*used) {
            return number;
        }
    }
}

}  // namespace

std::optional<QString> CreateUniqueFileName(AppState& app) {
    const QString suffix = QStringLiteral(".doc");
    Database& db = app.DbConnection;
    Transaction tx(db);
    const counters::Taken number =
        tx.active() ? takeFreeNumber(db, documentsFolder(app), 2, {suffix}) : counters::Taken{};
    if (!number || !tx.commit()) {
        return std::nullopt;
    }
    return QString::number(*number) + suffix;
}

MadeDocument makeJobDocument(AppState& app, qint32 jobNo, const QString& templateName,
                             const QString& typedTitle, const JobFields& job) {
    MadeDocument made;
    Database& db = app.DbConnection;
    const QString name = templateName.trimmed();
    const QString ext = GetFileExtension(templateName).toUpper();
    made.title = typedTitle.isEmpty() ? templateName : typedTitle + QStringLiteral(", ") + name;

    const bool workbook = isWorkbookTemplate(ext);
    QStringList suffixes{QStringLiteral(".doc")};
    if (workbook) {
        suffixes = QStringList{QStringLiteral(".XLS"), QStringLiteral(".XLSX")};
        if (ext == QLatin1String("XLTX")) {
            suffixes.swapItemsAt(0, 1);
        }
    }
    // The merge may ask the user things, so it is done before the counter is locked.
    const std::optional<MergedDocument> merged = mergeDocument(app, name, job);
    if (!merged) {
        return made;
    }
    const QString folder = documentsFolder(app);
    office::NewFile file;
    OfficeError fileError;
    std::optional<qint64> row;
    {
        Transaction tx(db);
        const counters::Taken number =
            tx.active() ? takeFreeNumber(db, folder, workbook ? 3 : 2, suffixes)
                        : counters::Taken{std::nullopt, db.lastError().message, {}};
        if (!number) {
            made.error = number.error;
            return made;
        }
        const QString fileName = QString::number(*number) + suffixes.first();
        if (workbook) {
            made.title = QStringLiteral("Invoice ") + fileName;
        }
        const QByteArray bytes = merged->save(fileName, fileError);
        if (!bytes.isEmpty() && file.write(folder + u'/' + fileName, bytes, fileError)) {
            row = db.insert(QStringLiteral("INSERT INTO Docs (JobNumber, FileName, \"Date\", "
                                           "Title, AddressType, DocType) VALUES (?, ?, ?, ?, ?, ?)"),
                            {jobNo, fileName, datetext::toStored(app.clock.now()), made.title,
                             QStringLiteral(""), QStringLiteral("")});
            if (!row || !tx.commit()) {
                made.error = db.lastError().message;
                return made;
            }
            made.fileName = fileName;
        }
    }
    // The user is told of a file that could not be written once the counter is free again.
    if (!row) {
        reportDocumentError(app, QStringLiteral("CreateDocument"), fileError);
        return made;
    }
    if (!file.place(fileError)) {
        deleteDocument(db, *row);
        reportDocumentError(app, QStringLiteral("CreateDocument"), fileError);
        return made;
    }
    made.path = file.path();
    showNewDocument(app, made.path, workbook);
    return made;
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

bool documentThere(AppState& app, const QString& path) {
    if (path.isEmpty()) {
        app.prompter.message(QStringLiteral("You must select a document first"));
        return false;
    }
    if (!QFileInfo::exists(path)) {
        app.prompter.message(QStringLiteral("The document ") + path +
                                 QStringLiteral(" cannot be found. It may have been moved or "
                                                "deleted."),
                             QStringLiteral("Document Not Found"), Prompter::Buttons::Ok,
                             Prompter::Icon::Exclamation);
        return false;
    }
    return true;
}

void openSavedDocument(AppState& app, const QString& fileName) {
    const QString path =
        fileName.trimmed().isEmpty() ? QString() : documentsFolder(app) + u'/' + fileName.trimmed();
    if (!documentThere(app, path)) {
        return;
    }
    if (app.launcher.open(path)) {
        return;
    }
    const QString ext = GetFileExtension(fileName).toUpper();
    if (attachments::isAttachment(fileName)) {
        app.prompter.message(QStringLiteral("No program on this computer is set up to open ") +
                                 path +
                                 QStringLiteral(". Install one for files of this kind, or open "
                                                "it from the file manager."),
                             QStringLiteral("No Program For This File"), Prompter::Buttons::Ok,
                             Prompter::Icon::Exclamation);
    } else if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX") ||
               ext == QLatin1String("XLS") || ext == QLatin1String("XLSX")) {
        cannotReachSpreadsheetProgram(app);
    } else {
        app.prompter.message(QStringLiteral("Unable to communicate with MS Word, please check "
                                            "your Word Installation is not corrupt"),
                             QStringLiteral("Unable To Communicate With Word"),
                             Prompter::Buttons::OkCancel, Prompter::Icon::Critical);
    }
}
