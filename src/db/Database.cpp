#include "db/Database.h"

#include "db/PreparedStatements.h"
#include "db/TextIndex.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStorageInfo>
#include <sqlite3.h>

namespace {

QAtomicInt connectionSerial;

using FileKind = DatabaseFileKind;

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

DatabaseFileKind databaseFileKind(const QString& file) {
    QFile probe(file);
    if (!QFileInfo(file).isFile() || !probe.open(QIODevice::ReadOnly)) {
        return DatabaseFileKind::Unreadable;
    }
    return kindOf(probe.read(100));
}

namespace connection {

QString forFile(const QString& file) {
    return QStringLiteral("Provider=SQLite;Data Source=") + file + u';';
}

QString forServer(const QString& host, int port, const QString& database, const QString& user,
                  const QString& schema) {
    QString out = QStringLiteral("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User=%4;")
                      .arg(host)
                      .arg(port)
                      .arg(database, user);
    if (!schema.isEmpty()) {
        out += QStringLiteral("Schema=%1;").arg(schema);
    }
    return out;
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

QString Database::explained(int code, const QString& text) const {
    if ((code & 0xFF) != SQLITE_READONLY || fileName_.isEmpty()) {
        return text;
    }
    // The engine's "attempt to write a readonly database" names neither the file nor why.
    return QStringLiteral("The database '%1' cannot be changed: the file, or the folder '%2' it "
                          "is in, is read-only for you. Ask whoever looks after this computer "
                          "for the right to write in that folder, or restore a backup into a "
                          "folder you can write in (%3).")
        .arg(QDir::toNativeSeparators(fileName_),
             QDir::toNativeSeparators(QFileInfo(fileName_).absolutePath()), text);
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
    return fail(condition, explained(code, text), code);
}

bool Database::open(const QString& connectionString) {
    close();
    connectionString_ = connectionString;
    error_ = {};
    const QString provider = connection::part(connectionString, QStringLiteral("Provider"));
    bool ok = false;
    const int timeout = connection::part(connectionString, QStringLiteral("Busy Timeout")).toInt(&ok);
    busyTimeoutMs_ = ok && timeout >= 0 ? timeout : 5000;
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        return openServer(connectionString, true);
    }
    dialect_ = SqlDialect(SqlDialect::Engine::SQLite);
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) != 0) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("The connection names an unknown database engine \"%1\".")
                        .arg(provider));
    }
    return openSqlite(connection::part(connectionString, QStringLiteral("Data Source")));
}

bool Database::probe(const QString& connectionString) {
    close();
    connectionString_ = connectionString;
    error_ = {};
    if (connection::part(connectionString, QStringLiteral("Provider"))
            .compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        return openServer(connectionString, false);
    }
    return open(connectionString);
}

bool Database::create(const QString& file) {
    close();
    error_ = {};
    dialect_ = SqlDialect(SqlDialect::Engine::SQLite);
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
    if (!info.isFile()) {
        // Reading a named pipe would wait for ever; a device is no database either.
        return fail(DbCondition::Unspecified,
                    QStringLiteral("'%1' is not a regular file (a named pipe or a device), so it "
                                   "cannot be a database: name the database file itself.")
                        .arg(file));
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
                                       "Verdell. It has to be converted before this version can "
                                       "open it.")
                            .arg(file));
        case FileKind::Empty:
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The file '%1' is empty: it holds no database.").arg(file));
        case FileKind::Unknown:
        case FileKind::Unreadable:
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
        sqlite_ = sqlite;
        if (!sqlite) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The database engine could not be prepared."));
        }
    }
    open_ = true;
    tune(file);
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
    // Whatever happened to the last connection, the next one starts unknown: a failed try to
    // reach the server (which closes it) must not hold back the next one.
    away_ = false;
    if (!open_ && !QSqlDatabase::contains(name_)) {
        return;
    }
    prepared_.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name_);
    sqlite_ = nullptr;
    open_ = false;
    away_ = false;
    depth_ = 0;
    rollbackOnly_ = false;
    serverAborted_ = false;
}

namespace {

// Binds one value. Texts go in as UTF-8; an empty text stays an empty text, never a null.
int bindValue(sqlite3_stmt* statement, int position, const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return sqlite3_bind_null(statement, position);
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
            return sqlite3_bind_int64(statement, position, value.toBool() ? -1 : 0);
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return sqlite3_bind_int64(statement, position, value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(statement, position, value.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return sqlite3_bind_blob64(statement, position, bytes.constData(),
                                       sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        }
        default: {
            const QByteArray text =
                (value.typeId() == QMetaType::QDateTime
                     ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                     : value.toString())
                    .toUtf8();
            return sqlite3_bind_text64(statement, position, text.constData(),
                                       sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
        }
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, column);
        case SQLITE_TEXT:
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                sqlite3_column_bytes(statement, column));
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                              sqlite3_column_bytes(statement, column));
        default:
            return {};
    }
}

struct StatementGuard {
    sqlite3_stmt* statement = nullptr;
    ~StatementGuard() { sqlite3_finalize(statement); }
};

// A query's rows kept whole.
class RowsKept : public Database::RowReader {
public:
    explicit RowsKept(Rows& rows) : rows_(rows) {}
    void columns(const QStringList& names) override { rows_ = Rows(names); }
    QVariant* nextRow() override { return rows_.appendRow(); }
    bool rowRead() override { return true; }

private:
    Rows& rows_;
};

}  // namespace

bool Database::failFromEngine() {
    const int code = sqlite3_extended_errcode(sqlite_);
    const QString text = QString::fromUtf8(sqlite3_errmsg(sqlite_));
    return fail(classifySqlite(code, text), explained(code, text), code);
}

bool Database::run(const QString& sql, const QVariantList& params, RowReader* rows) {
    rowsAffected_ = 0;
    if (onServer() && serverAway()) {
        return failAway();
    }
    if (open_ && onServer()) {
        return runOnServer(sql, params, rows);
    }
    if (!open_ || !sqlite_) {
        return fail(DbCondition::Unspecified, QStringLiteral("The database is not open."));
    }
    const QByteArray text = sql.toUtf8();
    StatementGuard guard;
    if (sqlite3_prepare_v2(sqlite_, text.constData(), int(text.size()), &guard.statement,
                           nullptr) != SQLITE_OK) {
        return failFromEngine();
    }
    if (!guard.statement) {
        return fail(DbCondition::CannotExecute, QStringLiteral("The statement is empty."));
    }
    for (int i = 0; i < params.size(); ++i) {
        if (bindValue(guard.statement, i + 1, params[i]) != SQLITE_OK) {
            return failFromEngine();
        }
    }
    const int width = sqlite3_column_count(guard.statement);
    if (rows) {
        QStringList names;
        for (int c = 0; c < width; ++c) {
            names << QString::fromUtf8(sqlite3_column_name(guard.statement, c));
        }
        rows->columns(names);
    }
    for (;;) {
        const int rc = sqlite3_step(guard.statement);
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            return failFromEngine();
        }
        if (rows) {
            QVariant* cells = rows->nextRow();
            for (int c = 0; c < width; ++c) {
                cells[c] = columnValue(guard.statement, c);
            }
            if (!rows->rowRead()) {
                break;
            }
        }
    }
    if (!sqlite3_stmt_readonly(guard.statement)) {
        rowsAffected_ = sqlite3_changes(sqlite_);
    }
    error_ = {};
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& params) {
    return run(sql, params, nullptr);
}

std::optional<Rows> Database::query(const QString& sql, const QVariantList& params) {
    Rows rows;
    RowsKept kept(rows);
    if (!run(sql, params, &kept)) {
        return std::nullopt;
    }
    return rows;
}

bool Database::read(const QString& sql, const QVariantList& params, RowReader& reader) {
    return run(sql, params, &reader);
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    const auto rows = query(sql, params);
    if (!rows || rows->isEmpty() || rows->columns().isEmpty()) {
        return {};
    }
    return rows->at(0, 0);
}

std::optional<qint64> Database::insert(const QString& sql, const QVariantList& params) {
    if (onServer()) {
        const QVariant id = scalar(sql + dialect_.returningId(), params);
        if (!id.isValid()) {
            return std::nullopt;
        }
        rowsAffected_ = 1;
        return id.toLongLong();
    }
    if (!run(sql, params, nullptr)) {
        return std::nullopt;
    }
    return qint64(sqlite3_last_insert_rowid(sqlite_));
}

bool Database::begin(bool forWriting) {
    if (depth_ > 0) {
        ++depth_;
        return true;
    }
    if (!exec(forWriting ? dialect_.beginWrite() : QStringLiteral("BEGIN"))) {
        return false;
    }
    depth_ = 1;
    rollbackOnly_ = false;
    serverAborted_ = false;
    return true;
}

bool Database::commit() {
    if (depth_ == 0) {
        return fail(DbCondition::Other, QStringLiteral("No transaction is open."));
    }
    if (--depth_ > 0) {
        return !rollbackOnly_;
    }
    if (rollbackOnly_ || serverAborted_) {
        const DbError earlier = error_;
        exec(QStringLiteral("ROLLBACK"));
        rollbackOnly_ = false;
        if (serverAborted_) {
            // The server throws the whole transaction away after a failed statement.
            serverAborted_ = false;
            error_ = earlier;
            return false;
        }
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
    serverAborted_ = false;
    error_ = error;  // the reason for rolling back is what the caller reports
}

bool Database::hasTable(const QString& table) { return tables().contains(table, Qt::CaseInsensitive); }

QStringList Database::tables() {
    QStringList out;
    const auto rows = query(
        onServer()
            ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                             "table_schema = current_schema() AND table_type = 'BASE TABLE' "
                             "ORDER BY table_name")
            // Text indexes (virtual tables and the tables behind them) are not the program's
            // tables: they are made from the rows and never copied.
            : QStringLiteral("SELECT name FROM pragma_table_list WHERE schema = 'main' AND "
                             "type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name"));
    if (rows) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->at(i, 0).toString();
        }
    }
    return out;
}

QStringList Database::columns(const QString& table) {
    QStringList out;
    const auto rows = query(
        onServer() ? QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                    "table_schema = current_schema() AND "
                                    "lower(table_name) = lower(?) ORDER BY ordinal_position")
                   : QStringLiteral("SELECT name FROM pragma_table_info(?)"),
        {table});
    if (rows) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->at(i, 0).toString();
        }
    }
    return out;
}

QString Database::integrityCheck() {
    if (onServer()) {
        // The server keeps its own files whole; what can be checked from here is that every
        // table can be read.
        for (const QString& table : tables()) {
            if (!query(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table))) {
                return error_.message;
            }
        }
        return error_.ok() ? QStringLiteral("ok") : error_.message;
    }
    const auto rows = query(QStringLiteral("PRAGMA integrity_check"));
    if (!rows) {
        return error_.message;
    }
    QStringList problems;
    for (int i = 0; i < rows->count(); ++i) {
        problems << rows->at(i, 0).toString();
    }
    // The text indexes are made from the rows: one that no longer agrees with them is built
    // again rather than reported, and only one that cannot be rebuilt is a problem.
    if (problems == QStringList{QStringLiteral("ok")}) {
        if (const QString damage = textindex::check(*this);
            !damage.isEmpty() && !textindex::rebuild(*this)) {
            return damage;
        }
    }
    return problems.join(QStringLiteral("; "));
}

void Database::tune(const QString& file) {
    // A larger page cache keeps a whole register of jobs in memory between searches.
    exec(QStringLiteral("PRAGMA cache_size = -32768"));
    // Reading through the file's memory map saves copying every page, but only a local disk
    // keeps the map coherent with what other programs write; a shared folder does without.
    static const QStringList kNetworkFileSystems = {
        QStringLiteral("nfs"),  QStringLiteral("nfs4"),       QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"),      QStringLiteral("fuse.sshfs"),
        QStringLiteral("9p"),   QStringLiteral("fuse.glusterfs"), QStringLiteral("ceph")};
    const QString type = QString::fromLatin1(QStorageInfo(file).fileSystemType());
    if (!kNetworkFileSystems.contains(type, Qt::CaseInsensitive)) {
        exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
    }
}
