#include "db/TextIndex.h"

#include "db/Database.h"
#include "db/TextKeys.h"

#include <atomic>
#include <mutex>

namespace textindex {

namespace {

// The engine's code for a damaged file or index (SQLITE_CORRUPT), in the low byte of its
// extended codes.
constexpr int kSqliteCorrupt = 11;

// Rows copied into a new index at a time, between two reports of progress.
constexpr qint64 kBlock = 20000;

QString folded(const QString& column) { return textkeys::foldedColumn(column); }

QStringList foldedColumns(const QStringList& columns) {
    QStringList out;
    for (const QString& c : columns) {
        out << folded(c);
    }
    return out;
}

QString prefixed(const QString& prefix, const QStringList& names) {
    QStringList out;
    for (const QString& n : names) {
        out << prefix + n;
    }
    return out.join(QStringLiteral(", "));
}

const Indexed* indexedTable(const QString& table) {
    for (const Indexed& i : all()) {
        if (i.table.compare(table, Qt::CaseInsensitive) == 0) {
            return &i;
        }
    }
    return nullptr;
}

// Whether the embedded file has the index table (Database::tables() leaves index tables out).
bool hasIndexTable(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ?"),
                     {indexTable(table)})
               .toInt() > 0;
}

// The trigger names of an index table.
QString trigger(const Indexed& i, const char* what) {
    return indexTable(i.table) + QLatin1String(what);
}

// Copies the rows into an empty index, a block of identities at a time.
bool fill(Database& db, const Indexed& i, const Progress& progress, qint64 done, qint64 total,
          qint64* copied) {
    const QString ix = indexTable(i.table);
    const QStringList cols = foldedColumns(i.columns);
    const QVariant high = db.scalar(QStringLiteral("SELECT max(DummyId) FROM ") + i.table);
    if (!db.lastError().ok()) {
        return false;
    }
    const qint64 last = high.isNull() ? 0 : high.toLongLong();
    qint64 from = db.scalar(QStringLiteral("SELECT min(DummyId) FROM ") + i.table).toLongLong();
    const QString sql = QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT DummyId, %2 FROM %3 "
                                       "WHERE DummyId >= ? AND DummyId < ?")
                            .arg(ix, cols.join(QStringLiteral(", ")), i.table);
    while (!high.isNull() && from <= last) {
        if (!db.exec(sql, {from, from + kBlock})) {
            return false;
        }
        *copied += db.rowsAffected();
        from += kBlock;
        if (progress) {
            progress(qMin(done + *copied, total), total);
        }
    }
    return true;
}

bool createEmbedded(Database& db, const Indexed& i) {
    const QString ix = indexTable(i.table);
    const QStringList cols = foldedColumns(i.columns);
    const QString list = cols.join(QStringLiteral(", "));
    const QString added = QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (new.DummyId, %3);")
                              .arg(ix, list, prefixed(QStringLiteral("new."), cols));
    const QString removed =
        QStringLiteral("INSERT INTO %1 (%1, rowid, %2) VALUES ('delete', old.DummyId, %3);")
            .arg(ix, list, prefixed(QStringLiteral("old."), cols));
    return db.exec(QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='%3', "
                                  "content_rowid='DummyId', tokenize='trigram case_sensitive 1')")
                       .arg(ix, list, i.table)) &&
           db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END")
                       .arg(trigger(i, "Added"), i.table, added)) &&
           db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END")
                       .arg(trigger(i, "Removed"), i.table, removed)) &&
           db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF DummyId, %2 ON %3 BEGIN "
                                  "%4 %5 END")
                       .arg(trigger(i, "Changed"), list, i.table, removed, added));
}

bool dropEmbedded(Database& db, const Indexed& i) {
    for (const char* what : {"Added", "Removed", "Changed"}) {
        if (!db.exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger(i, what))) {
            return false;
        }
    }
    return db.exec(QStringLiteral("DROP TABLE IF EXISTS ") + indexTable(i.table));
}

QString serverIndex(const Indexed& i, const QString& column) {
    return QStringLiteral("ix%1%2Trigrams").arg(i.table, column);
}

// The schema that holds the trigram operators, or nothing when there are none.
std::optional<QString> trigramSchema(Database& db) {
    const QVariant schema = db.scalar(QStringLiteral(
        "SELECT n.nspname FROM pg_extension e JOIN pg_namespace n ON n.oid = e.extnamespace "
        "WHERE e.extname = 'pg_trgm'"));
    if (schema.isNull() || !schema.isValid()) {
        return std::nullopt;
    }
    return schema.toString();
}

// The schema of the trigram operators, made first where this user may: the extension is
// installed on the server, and a trusted extension is made by whoever may create in the
// database. It goes into "public" where there is one, so that it outlives any one schema of
// the database; workstations making it at the same moment wait for each other.
std::optional<QString> trigramsAvailable(Database& db) {
    if (auto schema = trigramSchema(db)) {
        return schema;
    }
    const QVariant can = db.scalar(QStringLiteral(
        "SELECT count(*) FROM pg_available_extensions WHERE name = 'pg_trgm' AND "
        "has_database_privilege(current_database(), 'CREATE') AND "
        "(current_setting('server_version_num')::int >= 130000 OR "
        "(SELECT rolsuper FROM pg_roles WHERE rolname = current_user))"));
    if (can.toInt() == 0) {
        return std::nullopt;
    }
    const QVariant hasPublic = db.scalar(QStringLiteral(
        "SELECT count(*) FROM pg_namespace WHERE nspname = 'public' AND "
        "has_schema_privilege('public', 'CREATE')"));
    const QString where =
        hasPublic.toInt() > 0 ? QStringLiteral(" SCHEMA public") : QString();
    if (!db.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7405123)")) ||
        !db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm") + where)) {
        return std::nullopt;
    }
    return trigramSchema(db);
}

bool createOnServer(Database& db) {
    const std::optional<QString> schema = trigramsAvailable(db);
    if (!schema) {
        return db.lastError().ok();
    }
    const QString opclass = db.dialect().quote(*schema) + QStringLiteral(".gin_trgm_ops");
    for (const Indexed& i : all()) {
        for (const QString& c : i.columns) {
            if (!db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3 %4)")
                             .arg(serverIndex(i, c), i.table, folded(c), opclass))) {
                return false;
            }
        }
    }
    return true;
}

// One quoted phrase of the text for MATCH, or nothing when the index cannot find it: fewer
// than three characters (a trigram needs three), a NUL (the query's end to the engine), or
// half a surrogate pair.
std::optional<QString> phrase(const QString& foldedText) {
    if (foldedText.toUcs4().size() < 3 || foldedText.contains(QChar(0)) ||
        !foldedText.isValidUtf16()) {
        return std::nullopt;
    }
    QString quoted = foldedText;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

const QList<Indexed>& all() {
    static const QList<Indexed> list = {
        {QStringLiteral("Jobs"),
         {QStringLiteral("WorkDetails"), QStringLiteral("WorkName"), QStringLiteral("HomeAddress"),
          QStringLiteral("HomeNumbers"), QStringLiteral("CliName"), QStringLiteral("CliAddress"),
          QStringLiteral("CliNumbers"), QStringLiteral("ClientRef"), QStringLiteral("CustRef")}},
        {QStringLiteral("customers"), {QStringLiteral("Name"), QStringLiteral("Address")}},
        {QStringLiteral("clients"), {QStringLiteral("Name"), QStringLiteral("Address")}},
    };
    return list;
}

QString indexTable(const QString& table) { return table + QStringLiteral("Text"); }

bool create(Database& db, const Progress& progress) {
    if (db.onServer()) {
        return createOnServer(db);
    }
    qint64 total = 0;
    for (const Indexed& i : all()) {
        total += db.scalar(QStringLiteral("SELECT count(*) FROM ") + i.table).toLongLong();
    }
    qint64 copied = 0;
    // Made afresh: an index left from before may have lost its table or its triggers.
    for (const Indexed& i : all()) {
        if (!(dropEmbedded(db, i) && createEmbedded(db, i) &&
              fill(db, i, progress, 0, total, &copied))) {
            return false;
        }
    }
    return true;
}

bool present(Database& db) {
    if (db.onServer()) {
        return db
                   .scalar(QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname = ? "
                                          "AND schemaname = current_schema()"),
                           {serverIndex(all().first(), all().first().columns.first()).toLower()})
                   .toInt() > 0;
    }
    return hasIndexTable(db, all().first().table);
}

Condition contains(Database& db, const QString& table, const QString& text,
                   const QStringList& columns, Through through) {
    const Indexed* indexed = indexedTable(table);
    const QStringList searched = columns.isEmpty() && indexed ? indexed->columns : columns;
    const QString find = textkeys::folded(text);
    const std::optional<QString> quoted = phrase(find);
    if (through == Through::Index && quoted && indexed && !db.onServer()) {
        QString query = *quoted;
        if (!columns.isEmpty()) {
            query = QStringLiteral("{%1} : %2")
                        .arg(foldedColumns(columns).join(u' '), *quoted);
        }
        const QString ix = indexTable(indexed->table);
        return {QStringLiteral("%1.DummyId IN (SELECT rowid FROM %2 WHERE %2 MATCH ?)")
                    .arg(table, ix),
                {query}};
    }
    // Reading the rows: LIKE over the folded copies. On the server the index serves this same
    // condition; a scan asked for by name reads the rows even there.
    const QString pattern = textkeys::folded(SqlDialect::containsPattern(text));
    const QString wrap = through == Through::Scan && db.onServer() ? QStringLiteral("(%1 || '')")
                                                                   : QStringLiteral("%1");
    Condition out;
    QStringList any;
    for (const QString& c : searched) {
        any << wrap.arg(table + u'.' + folded(c)) + QStringLiteral(" LIKE ? ESCAPE '\\'");
        out.params << pattern;
    }
    out.sql = u'(' + any.join(QStringLiteral(" OR ")) + u')';
    return out;
}

namespace {

// Searches run on several threads; the handler is set once at the start.
std::mutex& damageMutex() {
    static std::mutex mutex;
    return mutex;
}
std::function<void()>& damageHandler() {
    static std::function<void()> handler;
    return handler;
}
std::atomic<bool>& damageReported() {
    static std::atomic<bool> reported{false};
    return reported;
}

}  // namespace

std::optional<Rows> answer(Database& db,
                           const std::function<std::optional<Rows>(Through)>& search) {
    if (std::optional<Rows> rows = search(Through::Index)) {
        return rows;
    }
    if (db.inTransaction() || db.onServer()) {
        return std::nullopt;  // the server's own failure, or a statement inside a transaction
    }
    if (!check(db).isEmpty()) {
        const std::lock_guard<std::mutex> lock(damageMutex());
        if (!damageHandler()) {
            rebuild(db);
        } else if (!damageReported().exchange(true)) {
            damageHandler()();
        }
    }
    return search(Through::Scan);
}

void whenDamaged(std::function<void()> handler) {
    const std::lock_guard<std::mutex> lock(damageMutex());
    damageHandler() = std::move(handler);
    damageReported() = false;
}

void repaired() { damageReported() = false; }

QString check(Database& db) {
    if (db.onServer()) {
        return {};  // the server keeps its own indexes whole
    }
    for (const Indexed& i : all()) {
        const QString ix = indexTable(i.table);
        if (!hasIndexTable(db, i.table)) {
            return QStringLiteral("The text index of %1 is missing.").arg(i.table);
        }
        // The second value asks the engine to compare the index with the rows as well.
        // Only the engine's "damaged" is a verdict; a file that is read-only or locked just
        // cannot be checked now.
        if (!db.exec(QStringLiteral("INSERT INTO %1 (%1, rank) VALUES ('integrity-check', 1)")
                         .arg(ix)) &&
            (db.lastError().nativeCode & 0xff) == kSqliteCorrupt) {
            return QStringLiteral("The text index of %1 is damaged: %2")
                .arg(i.table, db.lastError().message);
        }
    }
    return {};
}

bool drop(Database& db) {
    if (db.onServer()) {
        return true;
    }
    for (const Indexed& i : all()) {
        if (!dropEmbedded(db, i)) {
            return false;
        }
    }
    return true;
}

bool rebuild(Database& db, const Progress& progress) {
    Transaction tx(db);
    return tx.active() && create(db, progress) && tx.commit();
}

}  // namespace textindex
