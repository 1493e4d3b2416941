#include "startup/Database.h"

#include "startup/SqliteFunctions.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

QAtomicInt connectionSerial;

enum class FileKind { SQLite, Jet, Empty, Unknown };

FileKind kindOf(const QByteArray& head) {
    if (head.isEmpty()) {
        return FileKind::Empty;
    }
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        return FileKind::SQLite;
    }
    const QByteArray jetName = head.mid(4, 15);
    if (jetName == "Standard Jet DB" || jetName == "Standard ACE DB") {
        return FileKind::Jet;
    }
    return FileKind::Unknown;
}

DbCondition classifySqlite(int code, const QString& text) {
    switch (code & 0xFF) {
        case SQLITE_ERROR:
            if (text.contains(QLatin1String("no such table"), Qt::CaseInsensitive)) {
                return DbCondition::TableMissing;
            }
            return DbCondition::CannotExecute;
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
        case SQLITE_TOOBIG:
        case SQLITE_RANGE:
            return DbCondition::ErrorsOccurred;
        case SQLITE_PERM:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_READONLY:
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_FULL:
        case SQLITE_CANTOPEN:
        case SQLITE_PROTOCOL:
        case SQLITE_AUTH:
        case SQLITE_NOTADB:
            return DbCondition::Unspecified;
        default:
            return DbCondition::Other;
    }
}

}  // namespace

namespace connection {

QString forFile(const QString& file) {
    return QStringLiteral("Provider=SQLite;Data Source=") + file + u';';
}

QString part(const QString& connectionString, const QString& key) {
    const auto pieces = connectionString.split(u';', Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq > 0 && piece.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            return piece.mid(eq + 1);
        }
    }
    return {};
}

}  // namespace connection

Database::Database()
    : name_(QStringLiteral("verdell-%1").arg(connectionSerial.fetchAndAddRelaxed(1))) {}

Database::~Database() { close(); }

QSqlDatabase Database::handle() const { return QSqlDatabase::database(name_, false); }

bool Database::fail(DbCondition condition, const QString& message, int nativeCode) {
    error_ = {condition, message, nativeCode};
    return false;
}

bool Database::failFrom(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt();
    QString text = error.databaseText();
    if (text.isEmpty()) {
        text = error.text();
    }
    DbCondition condition = classifySqlite(code, text);
    if (code == 0 && condition == DbCondition::Other) {
        condition = DbCondition::CannotExecute;  // refused by the driver before the engine
    }
    return fail(condition, text, code);
}

bool Database::open(const QString& connectionString) {
    close();
    connectionString_ = connectionString;
    error_ = {};
    const QString provider = connection::part(connectionString, QStringLiteral("Provider"));
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) != 0) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("The connection names an unknown database engine \"%1\".")
                        .arg(provider));
    }
    bool ok = false;
    const int timeout = connection::part(connectionString, QStringLiteral("Busy Timeout")).toInt(&ok);
    busyTimeoutMs_ = ok && timeout >= 0 ? timeout : 5000;
    return openSqlite(connection::part(connectionString, QStringLiteral("Data Source")));
}

bool Database::create(const QString& file) {
    close();
    error_ = {};
    connectionString_ = connection::forFile(file);
    fileName_ = file;
    if (QFileInfo::exists(file)) {
        return fail(DbCondition::CannotExecute, QStringLiteral("'%1' already exists.").arg(file));
    }
    return connectSqlite(file);
}

bool Database::openSqlite(const QString& file) {
    fileName_ = file;
    if (file.trimmed().isEmpty()) {
        return fail(DbCondition::Unspecified, QStringLiteral("No database file is named."));
    }
    const QFileInfo info(file);
    if (!info.exists()) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("Could not find file '%1'.").arg(file));
    }
    if (info.isDir()) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("'%1' is a folder, not a database file.").arg(file));
    }
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly)) {
        return fail(DbCondition::Unspecified, QStringLiteral("The file '%1' cannot be read: %2.")
                                                  .arg(file, probe.errorString()));
    }
    const QByteArray head = probe.read(100);
    probe.close();
    switch (kindOf(head)) {
        case FileKind::SQLite:
            break;
        case FileKind::Jet:
            return fail(DbCondition::Unspecified,
                        QStringLiteral("'%1' is a database of the earlier Windows release of "
                                       "Verdell. This version cannot open it yet: it has to be "
                                       "converted first.")
                            .arg(file));
        case FileKind::Empty:
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The file '%1' is empty: it holds no database.").arg(file));
        case FileKind::Unknown:
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The file '%1' is not a database that Verdell can open.")
                            .arg(file));
    }

    return connectSqlite(file);
}

bool Database::connectSqlite(const QString& file) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        // Another workstation writing holds the file for a moment; wait for it rather than fail.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            return failFrom(error);
        }
        const QVariant raw = db.driver()->handle();
        auto* sqlite = raw.isValid() ? *static_cast<sqlite3* const*>(raw.data()) : nullptr;
        if (!sqlite || installTextFunctions(sqlite) != SQLITE_OK) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The database engine could not be prepared."));
        }
    }
    open_ = true;
    // Reading the catalogue finds a truncated or damaged file now rather than at the first
    // screen that uses it.
    if (!query(QStringLiteral("SELECT count(*) FROM sqlite_master")).has_value()) {
        const DbError error = error_;
        close();
        error_ = error;
        return false;
    }
    return true;
}

void Database::close() {
    if (!open_ && !QSqlDatabase::contains(name_)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name_);
    open_ = false;
    depth_ = 0;
    rollbackOnly_ = false;
}

bool Database::prepareAndRun(QSqlQuery& q, const QString& sql, const QVariantList& params) {
    if (!open_) {
        return fail(DbCondition::Unspecified, QStringLiteral("The database is not open."));
    }
    if (!q.prepare(sql)) {
        return failFrom(q.lastError());
    }
    for (const QVariant& p : params) {
        q.addBindValue(p);
    }
    if (!q.exec()) {
        return failFrom(q.lastError());
    }
    error_ = {};
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& params) {
    rowsAffected_ = 0;
    QSqlQuery q(handle());
    if (!prepareAndRun(q, sql, params)) {
        return false;
    }
    rowsAffected_ = q.numRowsAffected();
    return true;
}

std::optional<Rows> Database::query(const QString& sql, const QVariantList& params) {
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    if (!prepareAndRun(q, sql, params)) {
        return std::nullopt;
    }
    const QSqlRecord record = q.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        names << record.fieldName(i);
    }
    Rows rows(names);
    const int width = int(names.size());
    while (q.next()) {
        std::vector<QVariant> row;
        row.reserve(size_t(width));
        for (int i = 0; i < width; ++i) {
            row.push_back(q.value(i));
        }
        rows.append(std::move(row));
    }
    if (q.lastError().isValid()) {
        failFrom(q.lastError());
        return std::nullopt;
    }
    return rows;
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    const auto rows = query(sql, params);
    if (!rows || rows->isEmpty() || rows->columns().isEmpty()) {
        return {};
    }
    return rows->at(0, 0);
}

std::optional<qint64> Database::insert(const QString& sql, const QVariantList& params) {
    QSqlQuery q(handle());
    if (!prepareAndRun(q, sql, params)) {
        return std::nullopt;
    }
    rowsAffected_ = q.numRowsAffected();
    return q.lastInsertId().toLongLong();
}

bool Database::begin() {
    if (depth_ > 0) {
        ++depth_;
        return true;
    }
    if (!exec(dialect_.beginWrite())) {
        return false;
    }
    depth_ = 1;
    rollbackOnly_ = false;
    return true;
}

bool Database::commit() {
    if (depth_ == 0) {
        return fail(DbCondition::Other, QStringLiteral("No transaction is open."));
    }
    if (--depth_ > 0) {
        return !rollbackOnly_;
    }
    if (rollbackOnly_) {
        exec(QStringLiteral("ROLLBACK"));
        rollbackOnly_ = false;
        return fail(DbCondition::Other, QStringLiteral("The transaction was rolled back."));
    }
    if (exec(QStringLiteral("COMMIT"))) {
        return true;
    }
    const DbError error = error_;
    exec(QStringLiteral("ROLLBACK"));
    error_ = error;
    return false;
}

void Database::rollback() {
    if (depth_ == 0) {
        return;
    }
    if (--depth_ > 0) {
        rollbackOnly_ = true;
        return;
    }
    const DbError error = error_;
    exec(QStringLiteral("ROLLBACK"));
    rollbackOnly_ = false;
    error_ = error;  // the reason for rolling back is what the caller reports
}

bool Database::hasTable(const QString& table) { return tables().contains(table, Qt::CaseInsensitive); }

QStringList Database::tables() {
    QStringList out;
    const auto rows = query(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
        "ORDER BY name"));
    if (rows) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->at(i, 0).toString();
        }
    }
    return out;
}

QStringList Database::columns(const QString& table) {
    QStringList out;
    const auto rows = query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
    if (rows) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->at(i, 0).toString();
        }
    }
    return out;
}

QString Database::integrityCheck() {
    const auto rows = query(QStringLiteral("PRAGMA integrity_check"));
    if (!rows) {
        return error_.message;
    }
    QStringList problems;
    for (int i = 0; i < rows->count(); ++i) {
        problems << rows->at(i, 0).toString();
    }
    return problems.join(QStringLiteral("; "));
}
