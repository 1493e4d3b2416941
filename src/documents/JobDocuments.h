#pragma once

#include <QString>
#include <optional>

class AppState;
class Database;

// The documents of a job as the Docs table records them.

// A document recorded for a job: the next number of its kind gives its file name (the invoice
// counter and ".XLS" / ".XLSX" for a spreadsheet template, the document counter and ".doc"
// otherwise), and its title is the typed title and the template's name (a spreadsheet is
// "Invoice " and its file name). Counter and row are written in one transaction.
struct RecordedDocument {
    bool ok = false;
    QString fileName;
    QString title;
    QString error;
};
RecordedDocument recordDocument(AppState& app, qint32 jobNo, const QString& templateName,
                                const QString& typedTitle);

// The default (job sheet) template, when one is set.
std::optional<QString> defaultTemplate(Database& db);
bool deleteDocument(Database& db, qint64 dummyId);
// The next document file name: the document counter and ".doc".
std::optional<QString> CreateUniqueFileName(Database& db);

// Opens a saved document of the documents folder in the program that shows it. Tells the user
// when no document is chosen (an empty name), when the file is gone, and when no program could
// be started for it.
void openSavedDocument(AppState& app, const QString& fileName);
