#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <functional>

// The per-user settings store: one key of text values with case-insensitive names.
//
// The key HKEY_CURRENT_USER\Software\<Company>\<Program> is the file
// $XDG_CONFIG_HOME/<Company>/<Program>.conf; "the key exists" means that file exists. Names are
// stored lower-cased, values are text. Reading removes leading spaces; a value longer than 254
// characters cannot be read (empty text, Error 234). Every call opens and closes the store by
// itself, so two running copies see each other's writes; the last writer wins. The file is
// written only when a value changes, and always whole: a new file beside it, flushed and read
// back, takes its name, so a failed write leaves the previous file as it was.
class TReg {
public:
    static constexpr qint32 kCurrentUser = qint32(0x80000001);
    static constexpr qint32 kErrorFileNotFound = 2;
    static constexpr qint32 kErrorAccessDenied = 5;
    static constexpr qint32 kErrorInvalidHandle = 6;
    static constexpr qint32 kErrorMoreData = 234;
    static constexpr int kReadLimit = 254;

    qint32 Error() const { return error_; }
    const QString& Value() const { return value_; }

    // Stores a text value; 0 on success, otherwise an error code. Never creates the key.
    qint32 SetValue(const QString& sVariable, const QString& sNewValue);
    // Stores values that belong together in one write: all of them or none.
    qint32 SetValues(const QList<QPair<QString, QString>>& values);
    // Told why, in a sentence for the user, when a write fails.
    std::function<void(const QString&)> onWriteFailure;
    // The value without its leading spaces, or an empty text (see Error()).
    QString GetValue(const QString& sVariable);
    // Creates the key when it does not exist: 0 on success, -1 on failure.
    qint32 CreateKey();

    const QString& Path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    qint32 Key() const { return key_; }
    void setKey(qint32 key) { key_ = key; }

    // The file that holds the key, or an empty text when Key and Path name no file.
    QString storeFile() const;

    // Values for this run only (a database named on the command line): reading one of these
    // names gives the held value and leaves the store alone. Writing any of them stores what is
    // written and lets the whole hold go, so a choice the user makes later is kept as usual.
    void holdForThisRun(const QMap<QString, QString>& values);
    bool holding() const { return !held_.isEmpty(); }
    // Stores every held value and lets the hold go: 0 on success, otherwise the first error
    // (the hold stays then).
    qint32 keepHeldValues();

private:
    void reportFailure(const QString& file, const QString& cause) const;

    QMap<QString, QString> held_;  // by lower-cased name
    QString value_;
    QString path_;
    qint32 key_ = 0;
    qint32 error_ = 0;
};
