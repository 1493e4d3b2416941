#include "common/TReg.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString storedName(const QString& name) { return name.toLower(); }

// The names under which a value is kept: the lower-case one the program writes, and any other
// spelling of it written by hand ("DataPath=").
QStringList spellings(const QSettings& store, const QString& name) {
    QStringList out;
    for (const QString& key : store.allKeys()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            out << key;
        }
    }
    return out;
}

QString asText(const QVariant& value) {
    // A hand-edited value with commas comes back as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(u',');
    }
    return value.toString();
}

// Writes the values into a new file beside the settings file, flushes it to the disk, reads it
// back, and only then gives it the settings file's name: a full disk or a power cut leaves the
// previous file whole. Why not, or an empty text.
QString writeWhole(const QString& file, const QMap<QString, QVariant>& values) {
    const QString temp =
        file + QStringLiteral(".new-") + QString::number(QCoreApplication::applicationPid());
    const auto discard = [&temp](const QString& why) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral(".lock"));
        return why;
    };
    QFile::remove(temp);
    {
        QSettings out(temp, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            out.setValue(it.key(), it.value());
        }
        out.sync();
        if (out.status() != QSettings::NoError) {
            return discard(QStringLiteral("the new settings could not be written beside it (the "
                                          "disk may be full)"));
        }
    }
    QFile::remove(temp + QStringLiteral(".lock"));
    QFile written(temp);
    if (!written.open(QIODevice::ReadOnly) || ::fsync(written.handle()) != 0) {
        return discard(QStringLiteral("the new settings could not be flushed to the disk"));
    }
    // QSettings tells a changed file by its size and time modified. The file clock ticks every
    // few milliseconds, so a rewrite of the same size within one tick would leave every reader
    // of this program with the values before it: the new file is dated after the old one.
    const QDateTime previous = QFileInfo(file).lastModified();
    if (previous.isValid() && written.fileTime(QFileDevice::FileModificationTime) <= previous) {
        written.setFileTime(previous.addMSecs(1), QFileDevice::FileModificationTime);
    }
    written.close();
    // QSettings says nothing of a write the disk refused: what was written is read back.
    const QSettings back(temp, QSettings::IniFormat);
    bool whole = back.status() == QSettings::NoError && back.allKeys().size() == values.size();
    for (auto it = values.cbegin(); whole && it != values.cend(); ++it) {
        whole = asText(back.value(it.key())) == asText(it.value());
    }
    if (!whole) {
        return discard(QStringLiteral("the disk did not take the whole file (it may be full)"));
    }
    QFile::setPermissions(temp, QFile::permissions(file));
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(file).constData()) !=
        0) {
        return discard(QString::fromLocal8Bit(std::strerror(errno)));
    }
    return {};
}

}  // namespace

QString TReg::storeFile() const {
    if (key_ != kCurrentUser) {
        return {};
    }
    QString path = path_;
    path.replace(u'\\', u'/');
    static const QString kSoftware = QStringLiteral("Software/");
    if (!path.startsWith(kSoftware, Qt::CaseInsensitive)) {
        return {};
    }
    path = path.mid(kSoftware.size());
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral("."))) {
        return {};
    }
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + u'/' + parts.join(u'/') + QStringLiteral(".conf");
}

qint32 TReg::SetValue(const QString& sVariable, const QString& sNewValue) {
    return SetValues({{sVariable, sNewValue}});
}

qint32 TReg::SetValues(const QList<QPair<QString, QString>>& values) {
    bool releases = false;
    for (const auto& [name, value] : values) {
        releases = releases || held_.contains(storedName(name));
    }
    const QString file = storeFile();
    if (file.isEmpty()) {
        return kErrorInvalidHandle;
    }
    if (!QFileInfo::exists(file)) {
        return kErrorFileNotFound;
    }
    if (!QFileInfo(file).isWritable()) {
        reportFailure(file, QStringLiteral("the file is read-only"));
        return kErrorAccessDenied;
    }
    QMap<QString, QVariant> all;
    {
        const QSettings store(file, QSettings::IniFormat);
        if (store.status() != QSettings::NoError) {
            reportFailure(file, QStringLiteral("the file cannot be read as a settings file"));
            return kErrorAccessDenied;
        }
        for (const QString& key : store.allKeys()) {
            all.insert(key, store.value(key));
        }
    }
    bool changed = false;
    for (const auto& [variable, value] : values) {
        // One value per name: a spelling written by hand gives way to the one written here.
        const QString name = storedName(variable);
        for (auto it = all.begin(); it != all.end();) {
            const bool other = it.key() != name && it.key().compare(name, Qt::CaseInsensitive) == 0;
            changed = changed || other;
            it = other ? all.erase(it) : std::next(it);
        }
        const auto stored = all.constFind(name);
        if (stored == all.cend() || asText(*stored) != value) {
            all.insert(name, value);
            changed = true;
        }
    }
    if (changed) {
        const QString failure = writeWhole(file, all);
        if (!failure.isEmpty()) {
            reportFailure(file, failure);
            return kErrorAccessDenied;
        }
    }
    if (!values.isEmpty()) {
        value_ = values.last().second;
    }
    if (releases) {
        held_.clear();
    }
    return 0;
}

void TReg::reportFailure(const QString& file, const QString& cause) const {
    if (onWriteFailure) {
        onWriteFailure(QStringLiteral("The settings could not be saved in %1: %2.\r\n\r\nThe "
                                      "settings are kept as they were. Free some space on that "
                                      "disk or make the file writable, then try again.")
                           .arg(file, cause));
    }
}

QString TReg::GetValue(const QString& sVariable) {
    const auto held = held_.constFind(storedName(sVariable));
    if (held != held_.cend()) {
        value_ = *held;
        error_ = 0;
        return value_;
    }
    const QString file = storeFile();
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        error_ = file.isEmpty() ? kErrorInvalidHandle : kErrorFileNotFound;
        return {};
    }
    QSettings store(file, QSettings::IniFormat);
    if (store.status() == QSettings::AccessError) {
        error_ = kErrorAccessDenied;
        return {};
    }
    QVariant stored = store.value(storedName(sVariable));
    if (!stored.isValid()) {
        const QStringList others = spellings(store, sVariable);
        if (!others.isEmpty()) {
            stored = store.value(others.first());
        }
    }
    if (!stored.isValid()) {
        error_ = kErrorFileNotFound;
        return {};
    }
    QString text = asText(stored);
    if (text.size() > kReadLimit) {
        error_ = kErrorMoreData;
        return {};
    }
    qsizetype spaces = 0;
    while (spaces < text.size() && text[spaces] == u' ') {
        ++spaces;
    }
    value_ = text.mid(spaces);
    error_ = 0;
    return value_;
}

qint32 TReg::CreateKey() {
    const QString file = storeFile();
    if (file.isEmpty()) {
        error_ = kErrorInvalidHandle;
        return -1;
    }
    if (!QFileInfo::exists(file)) {
        QSaveFile out(file);
        if (!QDir().mkpath(QFileInfo(file).absolutePath()) || !out.open(QIODevice::WriteOnly) ||
            !out.commit()) {
            error_ = kErrorAccessDenied;
            return -1;
        }
    }
    error_ = 0;
    return 0;
}

void TReg::holdForThisRun(const QMap<QString, QString>& values) {
    held_.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        held_.insert(storedName(it.key()), it.value());
    }
}

qint32 TReg::keepHeldValues() {
    const QMap<QString, QString> values = held_;
    held_.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (const qint32 failure = SetValue(it.key(), it.value()); failure != 0) {
            held_ = values;
            return failure;
        }
    }
    return 0;
}
