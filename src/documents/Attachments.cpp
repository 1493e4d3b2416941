#include "documents/Attachments.h"

#include "common/DateText.h"
#include "db/Database.h"
#include "documents/JobDocuments.h"
#include "documents/MergeEngine.h"
#include "platform/Clock.h"
#include "records/AppState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

namespace attachments {

namespace {

const QString kFolder = QStringLiteral("Attachments");
// Room kept free on the disk beyond the copy itself, for the database and the folder's entries.
constexpr qint64 kSpareBytes = 1 << 20;
// The longest a kept name may be in bytes, leaving room for " (999)" and the temporary suffix
// within the 255 bytes of a name.
constexpr int kLongestName = 220;

bool refusedCharacter(QChar ch) {
    return ch.unicode() < 0x20 || ch.unicode() == 0x7f || QStringView(u"\\/:*?\"<>|").contains(ch);
}

bool reservedDeviceName(const QString& base) {
    static const QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"),
                                   QStringLiteral("AUX"), QStringLiteral("NUL")};
    const QString upper = base.toUpper();
    if (names.contains(upper)) {
        return true;
    }
    return upper.size() == 4 &&
           (upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT"))) &&
           upper[3] >= u'1' && upper[3] <= u'9';
}

// The text cut to at most the given number of UTF-8 bytes, never inside a character.
QString cutToBytes(const QString& text, int bytes) {
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, length);
        used += int(ch.toUtf8().size());
        if (used > bytes) {
            break;
        }
        out += ch;
        i += length - 1;
    }
    return out;
}

// The name split before its extension (".jpg"); a leading dot starts no extension.
std::pair<QString, QString> splitExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || name.size() - dot > 16) {
        return {name, QString()};
    }
    return {name.left(dot), name.mid(dot)};
}

QString sized(qint64 bytes) {
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

bool fatFileSystem(const QStorageInfo& storage) {
    const QByteArray type = storage.fileSystemType().toLower();
    return type == "vfat" || type == "msdos" || type == "fat" || type == "fat32";
}

// The job's folder and the attachments folder, when they hold nothing.
void removeEmptyFolders(const QString& documentsFolder, qint32 jobNo) {
    QDir documents(documentsFolder);
    documents.rmdir(jobFolder(jobNo));
    documents.rmdir(kFolder);
}

}  // namespace

QString jobFolder(qint32 jobNo) {
    return kFolder + u'/' + QString::number(jobNo);
}

bool isAttachment(const QString& fileName) {
    const QString clean = QDir::cleanPath(fileName.trimmed());
    return clean.startsWith(kFolder + u'/') && !clean.contains(QLatin1String("../"));
}

QString safeName(const QString& original) {
    QString name;
    name.reserve(original.size());
    for (const QChar ch : original) {
        name += refusedCharacter(ch) ? u'_' : ch;
    }
    name = name.trimmed();
    while (name.endsWith(u'.') || name.endsWith(u' ')) {
        name.chop(1);
    }
    if (name.isEmpty()) {
        return QStringLiteral("attachment");
    }
    auto [base, extension] = splitExtension(name);
    if (name.startsWith(u'.') || reservedDeviceName(base.section(u'.', 0, 0).trimmed())) {
        base.prepend(u'_');
    }
    const int extensionBytes = int(extension.toUtf8().size());
    if (int(base.toUtf8().size()) + extensionBytes > kLongestName) {
        base = cutToBytes(base, kLongestName - extensionBytes).trimmed();
    }
    return base + extension;
}

QString freeName(const QString& folder, const QString& original, const QSet<QString>& taken) {
    const QString safe = safeName(original);
    const auto [base, extension] = splitExtension(safe);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? safe : base + QStringLiteral(" (%1)").arg(n) + extension;
        if (!taken.contains(name.toCaseFolded()) && !QFileInfo::exists(folder + u'/' + name)) {
            return name;
        }
    }
}

Copy copyIn(const QString& documentsFolder, qint32 jobNo, const QString& source,
            QSet<QString>& taken) {
    Copy copy;
    copy.source = source;
    const QFileInfo info(source);
    copy.title = info.fileName();
    const auto fail = [&](const QString& why) {
        copy.error = QStringLiteral("\"%1\" could not be attached.\r\n%2")
                         .arg(QDir::toNativeSeparators(source), why);
        copy.file.reset();
        removeEmptyFolders(documentsFolder, jobNo);
        return std::move(copy);
    };
    if (!info.exists()) {
        return fail(QStringLiteral("The file is not there: it may have been moved or deleted."));
    }
    if (info.isDir()) {
        return fail(QStringLiteral("It is a folder: attach the files inside it instead."));
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("The file cannot be read: %1.").arg(in.errorString()));
    }
    const QString folder = documentsFolder + u'/' + jobFolder(jobNo);
    if (!QDir().mkpath(folder)) {
        return fail(QStringLiteral("The folder \"%1\" cannot be made.")
                        .arg(QDir::toNativeSeparators(folder)));
    }
    const QStorageInfo storage(folder);
    const qint64 size = info.size();
    if (storage.isValid() && storage.isReadOnly()) {
        return fail(QStringLiteral("The documents folder is on a disk that cannot be written."));
    }
    if (storage.isValid() && storage.bytesAvailable() < size + kSpareBytes) {
        return fail(QStringLiteral("The file takes %1, and the disk holding the documents folder "
                                   "has only %2 free. Make room on it and try again.")
                        .arg(sized(size), sized(std::max<qint64>(storage.bytesAvailable(), 0))));
    }
    if (fatFileSystem(storage) && size > 0xFFFFFFFFLL) {
        return fail(QStringLiteral("The file takes %1, more than the disk holding the documents "
                                   "folder can keep in one file (4 GB).")
                        .arg(sized(size)));
    }
    const QString name = freeName(folder, copy.title, taken);
    copy.file = std::make_unique<office::NewFile>();
    OfficeError error;
    if (!copy.file->copy(folder + u'/' + name, in, error)) {
        return fail(error.description);
    }
    taken.insert(name.toCaseFolded());
    copy.fileName = jobFolder(jobNo) + u'/' + name;
    return copy;
}

QString record(AppState& app, qint32 jobNo, Copy& copy) {
    if (!copy.file) {
        return copy.error;
    }
    Database& db = app.DbConnection;
    const auto fail = [&](const QString& why) {
        copy.file.reset();
        removeEmptyFolders(documentsFolder(app), jobNo);
        return QStringLiteral("\"%1\" could not be attached.\r\n%2")
            .arg(QDir::toNativeSeparators(copy.source), why);
    };
    std::optional<qint64> row;
    {
        Transaction tx(db);
        if (tx.active()) {
            row =
                db.insert(QStringLiteral("INSERT INTO Docs (JobNumber, FileName, \"Date\", "
                                         "Title, AddressType, DocType) VALUES (?, ?, ?, ?, ?, ?)"),
                          {jobNo, copy.fileName, datetext::toStored(app.clock.now()), copy.title,
                           QStringLiteral(""), kDocType});
        }
        if (!row || !tx.commit()) {
            return fail(db.lastError().message);
        }
    }
    OfficeError error;
    if (!copy.file->place(error)) {
        deleteDocument(db, *row);
        return fail(error.description);
    }
    copy.file.reset();
    return {};
}

QString attach(AppState& app, qint32 jobNo, const QString& source) {
    QSet<QString> taken;
    Copy copy = copyIn(documentsFolder(app), jobNo, source, taken);
    return record(app, jobNo, copy);
}

QStringList jobAttachments(Database& db, qint32 jobNo) {
    const auto rows = db.query(QStringLiteral("SELECT FileName FROM Docs WHERE JobNumber = ? AND "
                                              "DocType = ? ORDER BY DummyId"),
                               {jobNo, kDocType});
    QStringList names;
    for (int i = 0; rows && i < rows->count(); ++i) {
        names << rows->text(i, QStringLiteral("FileName")).trimmed();
    }
    return names;
}

QStringList removeCopies(const QString& documentsFolder, const QStringList& fileNames) {
    QStringList failed;
    QSet<QString> folders;
    for (const QString& name : fileNames) {
        if (!isAttachment(name)) {
            continue;  // never a file outside the attachments folder
        }
        const QString path = documentsFolder + u'/' + QDir::cleanPath(name.trimmed());
        if (QFileInfo::exists(path) && !QFile::remove(path)) {
            failed << name;
        }
        folders.insert(QFileInfo(path).absolutePath());
    }
    for (const QString& folder : folders) {
        QDir().rmdir(folder);
    }
    QDir(documentsFolder).rmdir(kFolder);
    return failed;
}

}  // namespace attachments
