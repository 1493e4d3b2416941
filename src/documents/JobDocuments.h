#pragma once

#include "records/JobFields.h"

#include <QString>
#include <optional>

class AppState;
class Database;

// The documents of a job as the Docs table records them.

// A job's new document, made as the job screen's Create makes it. The next number of its kind
// gives its file name (the invoice counter and ".XLS" / ".XLSX" for a spreadsheet template, the
// document counter and ".doc" otherwise); a number whose file is already in the documents folder,
// or that a recorded document already has, is passed over, and the counter moves past the number
// taken. The title is the typed title and the template's name (a spreadsheet is "Invoice " and
// its file name). The template is merged first, with the counter left free; then, in one
// transaction, the number is taken, the document written whole under a temporary name and its
// Docs row recorded, so that a database that stops or a program that is stopped part way takes
// no number without its document. The file is given its name once the transaction is committed,
// and it is shown (or printed) once all is done.
struct MadeDocument {
    QString fileName;  // as numbered when its row was recorded; empty when no number was taken
    QString title;
    QString path;      // the document made; empty when it was not
    // Why it could not be numbered or recorded (the merge tells the user its own failures).
    QString error;
};
MadeDocument makeJobDocument(AppState& app, qint32 jobNo, const QString& templateName,
                             const QString& typedTitle, const JobFields& job);

// The default (job sheet) template, when one is set.
std::optional<QString> defaultTemplate(Database& db);
bool deleteDocument(Database& db, qint64 dummyId);
// The next document file name: the document counter and ".doc", passing over the numbers in use
// as a new document does.
std::optional<QString> CreateUniqueFileName(AppState& app);

// Whether a document is there to open or send; tells the user when none is chosen (an empty
// path) or the file is gone.
bool documentThere(AppState& app, const QString& path);

// Opens a saved document of the documents folder in the program that shows it. Tells the user
// when no document is chosen (an empty name), when the file is gone, and when no program could
// be started for it.
void openSavedDocument(AppState& app, const QString& fileName);
