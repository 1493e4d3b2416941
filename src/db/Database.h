#pragma once

#include "db/DbError.h"
#include "db/Rows.h"
#include "db/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>

// The one shared database connection. Every value reaches SQL as a bound parameter ("?").
//
// The connection string names the engine and the file, and may say how long to wait for a file
// that another workstation is writing (milliseconds, 5000 when not given):
//   Provider=SQLite;Data Source=/home/ann/Verdell Std/verdell.mdb;Busy Timeout=5000;
// The file's first bytes tell its format: an SQLite file opens; a database of the earlier
// Windows release (Jet) and any other file fail with a reason the user can read.
//
// Several workstations share a database server instead (PostgreSQL); Busy Timeout there is how
// long to wait for a table another workstation holds. The password is never part
// of the string: the server's client library reads it from the user's ~/.pgpass. Schema names a
// schema other than the user's default one. An empty database is given the complete schema at
// the first connection; a database that holds another program's tables is refused.
//   Provider=PostgreSQL;Host=office-pc;Port=5432;Database=verdell;User=ann;
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Closes any open connection, then opens the one the string names.
    bool open(const QString& connectionString);
    // Connects as open() does and checks that the database can be Verdell's, but changes
    // nothing: an empty database stays empty.
    bool probe(const QString& connectionString);
    // Makes a new, empty embedded database in a file that does not exist yet, and opens it.
    bool create(const QString& file);
    void close();
    // Open, also while the server of a connection that was open is away.
    bool isOpen() const { return open_; }
    // True while the database server cannot be reached: it stopped, the network dropped, or it
    // did not answer when the connection was opened. Every statement is then refused at once
    // (DbCondition::ServerGone) without waiting for the network.
    bool serverAway();
    // Opens the same connection again; true when the server answered.
    bool reconnect();
    const QString& connectionString() const { return connectionString_; }
    // The database file of an embedded connection.
    const QString& fileName() const { return fileName_; }
    // What the connection reaches, for messages: the file, or the server and its database.
    QString describe() const;
    bool onServer() const { return dialect_.engine() == SqlDialect::Engine::PostgreSQL; }
    const SqlDialect& dialect() const { return dialect_; }

    // Runs a statement that returns no rows.
    bool exec(const QString& sql, const QVariantList& params = {});
    // Runs a query and reads all its rows; empty on failure (see lastError()).
    std::optional<Rows> query(const QString& sql, const QVariantList& params = {});
    // Where a query's rows go as the engine gives them: the columns' names first, then each
    // row's cells in turn.
    class RowReader {
    public:
        virtual ~RowReader() = default;
        virtual void columns(const QStringList& names) = 0;
        // Room for the next row's cells, one per column.
        virtual QVariant* nextRow() = 0;
        // The row just filled in; false stops the reading.
        virtual bool rowRead() = 0;
    };
    // Runs a query and hands its rows to reader one at a time, keeping none of them: for
    // results too long to hold. False on failure (see lastError()); a reader that stops the
    // reading is no failure.
    bool read(const QString& sql, const QVariantList& params, RowReader& reader);
    // The first column of the first row, or an invalid value when there is none or it failed.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // Runs an INSERT and gives the new row's DummyId.
    std::optional<qint64> insert(const QString& sql, const QVariantList& params = {});
    // Rows changed by the last exec().
    int rowsAffected() const { return rowsAffected_; }

    // Transactions nest: only the outermost begin and commit reach the engine, and a rollback
    // anywhere makes the outermost commit roll back.
    // forWriting takes the engine's write lock at once (see SqlDialect::beginWrite); otherwise the
    // transaction reads the database and writes only temporary tables.
    bool begin(bool forWriting = true);
    bool commit();
    void rollback();
    bool inTransaction() const { return depth_ > 0; }

    const DbError& lastError() const { return error_; }
    // Tables and columns of the open database, for the schema's upgrade and checks.
    bool hasTable(const QString& table);
    QStringList tables();
    QStringList columns(const QString& table);
    // The engine's own consistency check of the whole file: "ok" or what is wrong.
    QString integrityCheck();

    // The underlying Qt connection, for code that reads rows into models.
    QSqlDatabase handle() const;

private:
    bool openSqlite(const QString& file);
    bool openServer(const QString& connectionString, bool prepare);
    bool runOnServer(const QString& sql, const QVariantList& params, RowReader* rows);
    bool failFromServer(const class QSqlError& error);
    bool failAway();
    bool connectSqlite(const QString& file);
    bool fail(DbCondition condition, const QString& message, int nativeCode = 0);
    bool failFrom(const class QSqlError& error);
    bool failFromEngine();
    // The engine's message, with the file and what to do where the engine names neither.
    QString explained(int code, const QString& text) const;
    // Runs one statement through the engine; its rows go to *rows when given.
    bool run(const QString& sql, const QVariantList& params, RowReader* rows);
    void tune(const QString& file);

    QString name_;
    struct sqlite3* sqlite_ = nullptr;
    QString connectionString_;
    QString fileName_;
    SqlDialect dialect_;
    DbError error_;
    bool open_ = false;
    bool away_ = false;
    int rowsAffected_ = 0;
    int busyTimeoutMs_ = 5000;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    // A statement failed inside the server's transaction, which can then only roll back.
    bool serverAborted_ = false;
    // The server's statements prepared once and run again with new values.
    std::unique_ptr<class PreparedStatements> prepared_;
};

// Begins a transaction and rolls it back unless commit() is called.
class Transaction {
public:
    // What the transaction writes: the database, or only temporary tables of this connection,
    // which leaves the database to other workstations' saves meanwhile.
    enum class Writes { Database, TemporaryTables };

    explicit Transaction(Database& db, Writes writes = Writes::Database)
        : db_(db), active_(db.begin(writes == Writes::Database)) {}
    ~Transaction() {
        if (active_) {
            db_.rollback();
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool active() const { return active_; }
    bool commit() {
        if (!active_) {
            return false;
        }
        active_ = false;
        return db_.commit();
    }

private:
    Database& db_;
    bool active_;
};

// What a file holds, told by its first bytes: our engine's database, a database of the earlier
// Windows release (Jet or its successor ACE), an empty file, anything else, or no readable file.
enum class DatabaseFileKind { SQLite, Jet, Empty, Unknown, Unreadable };
DatabaseFileKind databaseFileKind(const QString& file);

// Connection strings.
namespace connection {
QString forFile(const QString& file);
// A server's database; the password comes from the user's ~/.pgpass.
QString forServer(const QString& host, int port, const QString& database, const QString& user,
                  const QString& schema = {});
// The value of one key of a "Key=Value;Key=Value;" string, without regard to the key's case.
QString part(const QString& connectionString, const QString& key);
}  // namespace connection
