#include "documents/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace office {

using namespace office_errors;

namespace {

const QString TemporarySuffix = QStringLiteral(".part");

QString quoted(const QString& path) {
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

// What stops a file being written at the path before anything is tried: no name, a folder in
// its place, or no folder to hold it.
bool placeProblem(const QString& path, OfficeError& error) {
    const QFileInfo info(path);
    const QString name = quoted(path);
    const QFileInfo folder(info.absolutePath());
    const QString folderName = quoted(info.absolutePath());
    if (path.isEmpty()) {
        error = {PathFileAccess, QStringLiteral("No file name was given to save to.")};
    } else if (info.isDir()) {
        error = {PathFileAccess, QStringLiteral("%1 cannot be saved: it is a folder.").arg(name)};
    } else if (!folder.exists()) {
        error = {PathFileAccess, QStringLiteral("%1 cannot be saved: the folder %2 does not exist.")
                                     .arg(name, folderName)};
    } else if (!folder.isDir()) {
        error = {PathFileAccess,
                 QStringLiteral("%1 cannot be saved: %2 is not a folder.").arg(name, folderName)};
    } else {
        return false;
    }
    return true;
}

// Why a file could not be made at the path.
OfficeError cannotCreate(const QString& path, const QString& why) {
    const QFileInfo info(path);
    const QString name = quoted(path);
    const QString folderName = quoted(info.absolutePath());
    const QStorageInfo storage(info.absolutePath());
    if (storage.isValid() && storage.isReadOnly()) {
        return {PathFileAccess, QStringLiteral("%1 cannot be saved: the disk holding %2 is "
                                               "read-only.")
                                    .arg(name, folderName)};
    }
    if (info.exists() && !info.isWritable()) {
        return {PermissionDenied,
                QStringLiteral("%1 cannot be saved: the file is read-only.").arg(name)};
    }
    if (!QFileInfo(info.absolutePath()).isWritable()) {
        return {PermissionDenied,
                QStringLiteral("%1 cannot be saved: permission to write in the folder %2 was "
                               "denied.")
                    .arg(name, folderName)};
    }
    return {PathFileAccess, QStringLiteral("%1 cannot be saved: %2.").arg(name, why)};
}

// Why writing the bytes failed part way.
OfficeError cannotWrite(const QString& path, bool outOfSpace, const QString& why, qint64 size) {
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (outOfSpace || (storage.isValid() && storage.bytesAvailable() < size)) {
        return {DiskFull, QStringLiteral("%1 cannot be saved: the disk is full.").arg(quoted(path))};
    }
    return {PathFileAccess, QStringLiteral("%1 cannot be saved: %2.").arg(quoted(path), why)};
}

bool outOfSpace(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Makes the names in a folder last through a loss of power.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Renames without ever replacing a file: atomically where the file system can, else by a
// hard link (which refuses an existing name too), else after a last look.
bool renameWithoutReplacing(const QString& from, const QString& to, int* failure) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        *failure = errno;
        return false;
    }
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP) {
        *failure = errno;
        return false;
    }
    if (QFileInfo::exists(to)) {
        *failure = EEXIST;
        return false;
    }
    if (::rename(source.constData(), target.constData()) == 0) {
        return true;
    }
    *failure = errno;
    return false;
}

QString randomTag() {
    static const char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 6; ++i) {
        tag += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
    }
    return tag;
}

// Locks an open temporary file for its writer; false when another process holds it.
bool lock(QFile& file) {
    return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, OfficeError& error) {
    if (placeProblem(path, error)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = cannotCreate(path, file.errorString());
        return false;
    }
    // commit() ignores a failure of the last flush of its buffer, so a file smaller than the
    // buffer would take the name though the disk refused it: the flush is checked first.
    if (file.write(bytes) == bytes.size() && file.flush() && file.commit()) {
        return true;
    }
    const bool full = file.error() == QFileDevice::ResourceError;
    const QString why = file.errorString();
    file.cancelWriting();
    error = cannotWrite(path, full, why, bytes.size());
    return false;
}

NewFile::NewFile() = default;

NewFile::~NewFile() {
    discard();
}

QString NewFile::temporaryPath() const {
    return file_ ? file_->fileName() : QString();
}

bool NewFile::begin(const QString& path, OfficeError& error) {
    discard();
    if (placeProblem(path, error)) {
        return false;
    }
    if (QFileInfo::exists(path)) {
        error = {FileAlreadyExists,
                 QStringLiteral("%1 cannot be saved: a file of that name already exists, and is "
                                "left as it is.")
                     .arg(quoted(path))};
        return false;
    }
    auto file = std::make_unique<QFile>();
    do {
        file->setFileName(path + u'.' + randomTag() + TemporarySuffix);
    } while (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly) && file->exists());
    if (!file->isOpen()) {
        error = cannotCreate(path, file->errorString());
        return false;
    }
    lock(*file);
    file_ = std::move(file);
    errno = 0;
    return true;
}

bool NewFile::finish(const QString& path, bool written, qint64 size, OfficeError& error) {
    if (written && file_->flush() && ::fsync(file_->handle()) == 0) {
        path_ = path;
        return true;
    }
    const bool full = file_->error() == QFileDevice::ResourceError || outOfSpace(errno);
    const QString why = file_->error() != QFileDevice::NoError
                            ? file_->errorString()
                            : QString::fromLocal8Bit(std::strerror(errno));
    discard();
    error = cannotWrite(path, full, why, size);
    return false;
}

bool NewFile::write(const QString& path, const QByteArray& bytes, OfficeError& error) {
    if (!begin(path, error)) {
        return false;
    }
    const bool written = file_->write(bytes) == bytes.size();
    return finish(path, written, bytes.size(), error);
}

bool NewFile::copy(const QString& path, QIODevice& source, OfficeError& error) {
    if (!begin(path, error)) {
        return false;
    }
    constexpr qint64 kPiece = 1 << 20;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 total = 0;
    bool written = true;
    while (written) {
        const qint64 read = source.read(piece.data(), kPiece);
        if (read < 0) {
            const QString why = source.errorString();
            discard();
            error = {PathFileAccess,
                     QStringLiteral("The file could not be read to the end: %1.").arg(why)};
            return false;
        }
        if (read == 0) {
            break;
        }
        written = file_->write(piece.constData(), read) == read;
        total += read;
    }
    return finish(path, written, total, error);
}

bool NewFile::place(OfficeError& error) {
    if (!file_ || path_.isEmpty()) {
        error = {PathFileAccess, QStringLiteral("There is no file to save.")};
        return false;
    }
    int failure = 0;
    if (!renameWithoutReplacing(file_->fileName(), path_, &failure)) {
        error = failure == EEXIST
                    ? OfficeError{FileAlreadyExists,
                                  QStringLiteral("%1 cannot be saved: a file of that name has just "
                                                 "been made, and is left as it is.")
                                      .arg(quoted(path_))}
                    : cannotCreate(path_, QString::fromLocal8Bit(std::strerror(failure)));
        discard();
        return false;
    }
    syncFolder(QFileInfo(path_).absolutePath());
    file_->close();
    file_.reset();
    return true;
}

void NewFile::discard() {
    if (file_) {
        file_->close();
        QFile::remove(file_->fileName());
        file_.reset();
    }
    path_.clear();
}

std::vector<std::unique_ptr<NewFile>> NewFile::abandonedIn(const QString& folder) {
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}\\.part$"));
    std::vector<std::unique_ptr<NewFile>> found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*") + TemporarySuffix},
                                             QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = temporary.match(name);
        if (!match.hasMatch()) {
            continue;
        }
        auto file = std::make_unique<QFile>(dir.filePath(name));
        if (!file->open(QIODevice::ReadWrite) || !lock(*file)) {
            continue;
        }
        auto left = std::make_unique<NewFile>();
        left->path_ = dir.filePath(match.captured(1));
        left->file_ = std::move(file);
        found.push_back(std::move(left));
    }
    return found;
}

}  // namespace office
