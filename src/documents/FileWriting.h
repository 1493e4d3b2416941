#pragma once

#include "documents/OfficeError.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QFile;
class QIODevice;

// Writing document files so that a full disk, a killed process or a lost power supply never
// leaves a short file under a document's name. Failures carry the error numbers for a missing or
// unwritable folder, a read-only file, an existing file and a full disk.
namespace office {

// Writes bytes to a file through a temporary file that replaces it only when everything was
// written and flushed to the disk.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, OfficeError& error);

// A new file that never takes the place of an existing one. write() puts the bytes whole on the
// disk under a temporary name beside the final one ("507.doc.Ab12Cd.part"); place() then gives
// the file its final name, unless a file has taken that name meanwhile (error 58). Between the
// two the caller can record the file. The temporary file stays locked until it is placed, so that
// a program tidying the folder meanwhile leaves it alone; one that is not placed is removed when
// the object goes.
class NewFile {
public:
    NewFile();
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    bool write(const QString& path, const QByteArray& bytes, OfficeError& error);
    // The same with the bytes read from an open device in pieces, so that a file of any size is
    // copied without being held in memory. A device that fails part way is told as unreadable.
    bool copy(const QString& path, QIODevice& source, OfficeError& error);
    bool place(OfficeError& error);
    void discard();

    // The name the file is meant to have, and the one it has until it is placed.
    QString path() const { return path_; }
    QString temporaryPath() const;

    // The temporary files in a folder whose writers stopped before placing them (a file another
    // process is still writing is passed over), each taken over as a file written whole: only
    // one that was recorded should be placed, since it may have been cut short otherwise.
    static std::vector<std::unique_ptr<NewFile>> abandonedIn(const QString& folder);

private:
    // Opens a locked temporary file beside the path.
    bool begin(const QString& path, OfficeError& error);
    // Flushes the temporary file to the disk: true when everything was written and is there.
    bool finish(const QString& path, bool written, qint64 size, OfficeError& error);

    QString path_;
    std::unique_ptr<QFile> file_;
};

}  // namespace office
