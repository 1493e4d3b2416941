// The shared connection on a database server (PostgreSQL, through Qt's QPSQL driver).

#include "db/Database.h"
#include "db/PreparedStatements.h"
#include "db/Schema.h"
#include "db/ServerAddress.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kDriver = QStringLiteral("QPSQL");
constexpr int kDefaultPort = 5432;

// The server's SQLSTATE codes, by class, as the conditions callers tell apart.
DbCondition classifyServer(const QString& state) {
    if (state == QLatin1String("42P01")) {
        return DbCondition::TableMissing;
    }
    if (state == QLatin1String("42501")) {  // no privilege: the database cannot be used so
        return DbCondition::Unspecified;
    }
    const QString cls = state.left(2);
    if (cls == QLatin1String("42")) {
        return DbCondition::CannotExecute;
    }
    if (cls == QLatin1String("22") || cls == QLatin1String("23")) {
        return DbCondition::ErrorsOccurred;
    }
    // No code at all means the connection itself failed.
    static const QStringList kUnusable = {
        QString(),          QStringLiteral("08"), QStringLiteral("25"), QStringLiteral("28"),
        QStringLiteral("3D"), QStringLiteral("40"), QStringLiteral("53"), QStringLiteral("55"),
        QStringLiteral("57"), QStringLiteral("58"), QStringLiteral("XX")};
    return kUnusable.contains(cls) ? DbCondition::Unspecified : DbCondition::Other;
}

// The server's reason on one line, without its severity word and the position marker.
QString serverReason(const QSqlError& error) {
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    text = text.section(QStringLiteral("\nLINE "), 0, 0);
    static const QRegularExpression kSeverity(QStringLiteral("\\b(FATAL|ERROR):\\s+"));
    text.replace(kSeverity, QString());
    text = text.simplified();
    while (text.endsWith(u'.')) {
        text.chop(1);  // the caller ends the sentence
    }
    return text;
}

// What a value is sent to the server as: yes/no as the integers -1 and 0 the data holds, dates
// in their stored text form, and an empty text as an empty text (never a null), as on the
// embedded engine.
QVariant forServer(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return value;
    }
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString().isNull() ? QVariant(QStringLiteral("")) : value;
        case QMetaType::Bool:
            return qlonglong(value.toBool() ? -1 : 0);
        case QMetaType::QDateTime:
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        case QMetaType::Float:
            return value.toDouble();
        default:
            return value;
    }
}

// A server that cannot be reached, as its client library says so (it gives no code for it):
// not running, still starting or stopping, or not on the network.
bool unreachable(const QString& reason) {
    static const char* const kSigns[] = {"Connection refused",
                                         "could not connect",
                                         "timeout expired",
                                         "could not translate host",
                                         "No route to host",
                                         "Network is unreachable",
                                         "the database system is",
                                         "server closed the connection",
                                         "no connection to the server",
                                         "Connection reset",
                                         "could not receive data",
                                         "could not send data",
                                         "terminating connection"};
    for (const char* sign : kSigns) {
        if (reason.contains(QLatin1String(sign), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// Where the password the server asked for is looked for, and why it was not found there.
QString passwordHint() {
    const QString problem = passwordFileProblem();
    return u' ' + (problem.isEmpty()
                       ? QStringLiteral("The password is read from the file .pgpass in your home "
                                        "folder (host:port:database:user:password).")
                       : problem);
}

bool isIdentifier(const QString& name) {
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    return kName.match(name).hasMatch();
}

}  // namespace

QString Database::describe() const {
    if (!onServer()) {
        return fileName_;
    }
    const QString& cs = connectionString_;
    QString where = QStringLiteral("the database \"%1\" on the server %2")
                        .arg(connection::part(cs, QStringLiteral("Database")),
                             connection::part(cs, QStringLiteral("Host")));
    const QString port = connection::part(cs, QStringLiteral("Port"));
    if (!port.isEmpty()) {
        where += u':' + port;
    }
    return where;
}

bool Database::serverAway() {
    // The driver closes the connection when the server ends it, or when the socket fails.
    if (open_ && onServer() && !away_ && !QSqlDatabase::database(name_, false).isOpen()) {
        away_ = true;
    }
    return away_;
}

bool Database::failAway() {
    QString where = describe();
    where[0] = where[0].toUpper();
    return fail(DbCondition::ServerGone, where + QStringLiteral(" cannot be reached"));
}

bool Database::reconnect() {
    if (!onServer() || connectionString_.isEmpty()) {
        return false;
    }
    const QString string = connectionString_;
    return open(string);
}

bool Database::failFromServer(const QSqlError& error) {
    const QString state = error.nativeErrorCode();
    if (depth_ > 0) {
        serverAborted_ = true;
    }
    // The connection itself failed: the server stopped, or the network went.
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") ||
        state == QLatin1String("57P02") || state == QLatin1String("57P03") ||
        !QSqlDatabase::database(name_, false).isOpen()) {
        away_ = true;
        return failAway();
    }
    DbCondition condition = classifyServer(state);
    return fail(condition, serverReason(error), 0);
}

bool Database::openServer(const QString& connectionString, bool prepare) {
    dialect_ = SqlDialect(SqlDialect::Engine::PostgreSQL);
    fileName_.clear();
    auto key = [&](const char* name) {
        return connection::part(connectionString, QString::fromLatin1(name)).trimmed();
    };
    const QString host = key("Host");
    const QString database = key("Database");
    const QString user = key("User");
    const QString schemaName = key("Schema");
    bool portOk = false;
    const int port = key("Port").isEmpty() ? kDefaultPort : key("Port").toInt(&portOk);
    if (host.isEmpty() || database.isEmpty()) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("The connection does not name the database server and the "
                                   "database on it."));
    }
    if ((!key("Port").isEmpty() && !portOk) || port < 1 || port > 65535) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("\"%1\" is not a port number.").arg(key("Port")));
    }
    if (!schemaName.isEmpty() && !isIdentifier(schemaName)) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("\"%1\" is not a schema name.").arg(schemaName));
    }
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        return fail(DbCondition::Unspecified,
                    QStringLiteral("This computer cannot reach a database server: Qt's "
                                   "PostgreSQL driver (package libqt6sql6-psql) is not "
                                   "installed."));
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name_);
        db.setHostName(host);
        db.setPort(port);
        db.setDatabaseName(database);
        db.setUserName(user);
        // A network that drops without a word is noticed within seconds, not minutes.
        db.setConnectOptions(QStringLiteral(
            "connect_timeout=10;application_name=verdell;keepalives=1;keepalives_idle=5;"
            "keepalives_interval=2;keepalives_count=3;tcp_user_timeout=10000"));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open()) {
            const QString reason = serverReason(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            away_ = unreachable(reason);
            QString hint;
            if (reason.contains(QLatin1String("no password supplied")) ||
                reason.contains(QLatin1String("password authentication failed"))) {
                hint = passwordHint();
            }
            return fail(DbCondition::Unspecified,
                        QStringLiteral("The database \"%1\" on the server %2:%3 cannot be opened "
                                       "for the user \"%4\": %5%6")
                            .arg(database, host)
                            .arg(port)
                            .arg(user, reason, hint));
        }
    }
    open_ = true;
    prepared_ = std::make_unique<PreparedStatements>(QSqlDatabase::database(name_, false));
    // The server's notices ("already exists, skipping") are not for the user.
    exec(QStringLiteral("SET client_min_messages TO warning"));
    // Texts in every script are stored as typed only in a database of the UTF8 encoding.
    const std::optional<Rows> encoding = query(QStringLiteral("SHOW server_encoding"));
    if (encoding && !encoding->isEmpty() &&
        encoding->at(0, 0).toString().compare(QLatin1String("UTF8"), Qt::CaseInsensitive) != 0) {
        const QString named = encoding->at(0, 0).toString();
        close();
        return fail(DbCondition::Unspecified,
                    QStringLiteral("The database \"%1\" on the server %2:%3 was created with the "
                                   "%4 encoding, which cannot hold every letter Verdell stores. "
                                   "Ask the server's administrator to create the database with "
                                   "UTF8 encoding (CREATE DATABASE ... ENCODING 'UTF8'), then "
                                   "copy the register into it.")
                        .arg(database, host)
                        .arg(port)
                        .arg(named));
    }
    if (!schemaName.isEmpty() &&
        !exec(QStringLiteral("SET search_path TO \"%1\"").arg(schemaName))) {
        const DbError error = error_;
        close();
        error_ = error;
        return false;
    }
    const QString refused = schema::adoptServerDatabase(*this, prepare);
    if (!refused.isEmpty()) {
        const bool away = away_;
        close();
        away_ = away;
        return fail(away ? DbCondition::ServerGone : DbCondition::Unspecified, refused);
    }
    // Another workstation holding a table is waited for as long as for a busy file, not for ever.
    exec(QStringLiteral("SET lock_timeout = %1").arg(busyTimeoutMs_));
    return true;
}

bool Database::runOnServer(const QString& sql, const QVariantList& params, RowReader* rows) {
    QSqlQuery direct;
    bool ok = false;
    if (params.isEmpty()) {
        direct = QSqlQuery(QSqlDatabase::database(name_, false));
        direct.setForwardOnly(true);
        ok = direct.exec(sql);
    }
    QSqlQuery& q = params.isEmpty() ? direct : prepared_->get(sql, &ok);
    if (ok && !params.isEmpty()) {
        for (int i = 0; i < params.size(); ++i) {
            q.bindValue(i, forServer(params[i]));
        }
        ok = q.exec();
    }
    if (!ok) {
        return failFromServer(q.lastError());
    }
    if (q.isSelect()) {
        if (rows) {
            const QSqlRecord record = q.record();
            const int width = record.count();
            QStringList names;
            for (int c = 0; c < width; ++c) {
                names << record.fieldName(c);
            }
            rows->columns(names);
            while (q.next()) {
                QVariant* cells = rows->nextRow();
                for (int c = 0; c < width; ++c) {
                    // A null reads as no value at all, as on the embedded engine.
                    cells[c] = q.isNull(c) ? QVariant() : q.value(c);
                }
                if (!rows->rowRead()) {
                    break;
                }
            }
        }
    } else {
        rowsAffected_ = q.numRowsAffected();
        if (rows) {
            rows->columns({});
        }
    }
    q.finish();
    error_ = {};
    return true;
}
