#include "startup/TReg.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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
    const bool releases = held_.contains(storedName(sVariable));
    const QString file = storeFile();
    if (file.isEmpty()) {
        return kErrorInvalidHandle;
    }
    if (!QFileInfo::exists(file)) {
        return kErrorFileNotFound;
    }
    QSettings store(file, QSettings::IniFormat);
    if (!QFileInfo(file).isWritable()) {
        return kErrorAccessDenied;
    }
    // One value per name: a spelling written by hand gives way to the one written here.
    const QString name = storedName(sVariable);
    for (const QString& other : spellings(store, name)) {
        if (other != name) {
            store.remove(other);
        }
    }
    store.setValue(name, sNewValue);
    store.sync();
    if (store.status() != QSettings::NoError) {
        return kErrorAccessDenied;
    }
    value_ = sNewValue;
    if (releases) {
        held_.clear();
    }
    return 0;
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
