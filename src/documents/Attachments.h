#pragma once

#include "documents/FileWriting.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class AppState;
class Database;

// Files of the user's own (photos, letters received, plans) kept with a job. Each is copied,
// never moved, into the documents folder under Attachments/<job number>/ and recorded as a Docs
// row whose FileName is that copy's path within the documents folder, whose Title is the
// original file name and whose DocType is "Attachment".
namespace attachments {

inline const QString kDocType = QStringLiteral("Attachment");

// The folder of a job's attachments within the documents folder ("Attachments/123").
QString jobFolder(qint32 jobNo);
// Whether a Docs row's file name is an attachment's copy.
bool isAttachment(const QString& fileName);

// The name a file is kept under: its own name with what the file systems the documents folder
// may be shared with refuse (control characters, \ / : * ? " < > |, trailing dots and spaces,
// the reserved device names) made harmless, and short enough for a numbered variant.
QString safeName(const QString& original);
// The safe name, or "name (2).ext", "name (3).ext"... when a file or a name already chosen
// (taken) has it.
QString freeName(const QString& folder, const QString& original, const QSet<QString>& taken);

// A file copied whole beside its final name, to be recorded and then placed. Copying can run on
// any thread; recording uses the database.
struct Copy {
    QString source;
    QString title;     // the original file name
    QString fileName;  // the copy's path within the documents folder
    std::unique_ptr<office::NewFile> file;
    QString error;  // why it was not copied; empty when it was
};

// Copies a file into the job's folder of the documents folder. Names already chosen in the same
// batch are passed over (and the new one added to them). An unreadable or missing source, a
// folder, a disk without room for it, a file too large for the disk's file system, a name
// refused: a sentence in error, and nothing is left in the folder.
Copy copyIn(const QString& documentsFolder, qint32 jobNo, const QString& source,
            QSet<QString>& taken);

// Records a copy as a document of the job (dated now) and gives it its name, in that order; when
// either fails neither is left. Empty when it worked, else why not.
QString record(AppState& app, qint32 jobNo, Copy& copy);

// Both, for one file. Empty when it worked, else why not.
QString attach(AppState& app, qint32 jobNo, const QString& source);

// The copies' file names of a job's attachments, as recorded.
QStringList jobAttachments(Database& db, qint32 jobNo);
// Removes copies (file names within the documents folder) and the folders left empty. The
// names of those that could not be removed.
QStringList removeCopies(const QString& documentsFolder, const QStringList& fileNames);

}  // namespace attachments
