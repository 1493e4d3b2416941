#include "db/TextKeyUpkeep.h"

#include "db/Database.h"
#include "db/Schema.h"
#include "db/TextKeys.h"

#include <QChar>
#include <QVersionNumber>

namespace textkeys {

namespace {

// Rows are read in pieces of this many, so a large table never stands in memory whole.
constexpr int kPiece = 5000;

// The case-blind collation text columns had on the server.
const QString kServerCollation = QStringLiteral("verdell_nocase");

// The indexes that ordered text through the engine's collation before the folded copies.
const char* const kCollationIndexes[] = {"ixJobsWorkName",  "ixJobsCliName",
                                         "ixJobsJobStatus", "ixClientsName",
                                         "ixCustomersName", "ixEngineersEngineer",
                                         "ixTemplateFieldsId"};

int runningFolding() { return int(QChar::currentUnicodeVersion()); }

// The tables of the registry that the database holds, each once, in the registry's spelling.
QStringList keyedTables(Database& db) {
    const QStringList present = db.tables();
    QStringList out;
    for (const Keyed& k : all()) {
        if (!out.contains(k.table) && present.contains(k.table, Qt::CaseInsensitive)) {
            out << k.table;
        }
    }
    return out;
}

bool same(const QVariant& stored, const QVariant& made) {
    const bool storedNull = !stored.isValid() || stored.isNull();
    const bool madeNull = !made.isValid() || made.isNull();
    if (storedNull || madeNull) {
        return storedNull == madeNull;
    }
    if (made.typeId() == QMetaType::QByteArray) {
        return stored.typeId() == QMetaType::QByteArray && stored.toByteArray() == made.toByteArray();
    }
    return stored.toString() == made.toString();
}

// The rows of a table that hold a text without its folded copy or sort key (those another
// program wrote). The same text makes the partial index that holds just those rows, so that
// looking for them reads that index, empty as a rule, and not the table.
QString missingCondition(const QList<Keyed>& keyed) {
    QStringList missing;
    for (const Keyed& k : keyed) {
        for (const QString& derived : derivedColumns(k)) {
            missing << QStringLiteral("(%1 IS NOT NULL AND %2 IS NULL)").arg(k.column, derived);
        }
    }
    return u'(' + missing.join(QStringLiteral(" OR ")) + u')';
}

bool createMissingIndexes(Database& db) {
    for (const QString& table : keyedTables(db)) {
        const QList<Keyed> keyed = of(table);
        if (!db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ix%1WithoutCopies ON %1 (%2) "
                                    "WHERE %3")
                         .arg(table, keyed.first().column, missingCondition(keyed)))) {
            return false;
        }
    }
    return true;
}

// One table's rows, piece by piece, each row's values made and written where they differ.
class TableRefill {
public:
    TableRefill(Database& db, const QString& table, Refill which)
        : db_(db), table_(table), keyed_(of(table)), which_(which) {
        const bool byId = db.columns(table).contains(QStringLiteral("DummyId"), Qt::CaseInsensitive);
        key_ = byId ? QStringLiteral("DummyId") : db.dialect().rowKey();
        // The server's row address is no number to read on from; its tables without an
        // identity are the short lists, read whole.
        inPieces_ = byId || !db.onServer();
        QStringList selected{key_}, assigned;
        for (const Keyed& k : keyed_) {
            selected << k.column;
            for (const QString& derived : derivedColumns(k)) {
                selected << derived;
                assigned << derived + QStringLiteral(" = ?");
            }
        }
        select_ = QStringLiteral("SELECT ") + selected.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM ") + table;
        missing_ = missingCondition(keyed_);
        update_ = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                  assigned.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + key_ +
                  QStringLiteral(" = ?");
    }

    // False when the table could not be read or written.
    bool run(std::optional<Transaction>& tx, qint64* changed) {
        // The rows without their values are read through the partial index that holds only
        // them, in no order: each piece made leaves it, and the next piece is what remains.
        // Every row is read in the order of its key, from after the last one of a piece.
        const bool missing = which_ == Refill::Missing;
        QVariant after;
        for (;;) {
            QStringList conditions;
            QVariantList params;
            if (missing) {
                conditions << missing_;
            } else if (after.isValid()) {
                conditions << key_ + QStringLiteral(" > ?");
                params << after;
            }
            QString sql = select_;
            if (!conditions.isEmpty()) {
                sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
            }
            if (inPieces_) {
                sql += (missing ? QString() : QStringLiteral(" ORDER BY ") + key_) +
                       QStringLiteral(" LIMIT %1").arg(kPiece);
            }
            const auto rows = db_.query(sql, params);
            if (!rows) {
                return false;
            }
            const qint64 before = *changed;
            for (int r = 0; r < rows->count(); ++r) {
                if (!refreshRow(*rows, r, tx, changed)) {
                    return false;
                }
            }
            if (!inPieces_ || rows->count() < kPiece || (missing && *changed == before)) {
                return true;
            }
            after = rows->at(rows->count() - 1, 0);
        }
    }

private:
    bool refreshRow(const Rows& rows, int r, std::optional<Transaction>& tx, qint64* changed) {
        QVariantList values;
        bool differs = false;
        int at = 1;
        // Every stored value is read in turn, whether or not an earlier one already differs.
        auto compare = [&](const QVariant& made) {
            if (!same(rows.at(r, at++), made)) {
                differs = true;
            }
            values << made;
        };
        for (const Keyed& k : keyed_) {
            const QVariant text = rows.at(r, at++);
            compare(foldedValue(text));
            if (k.sorted) {
                compare(sortKeyValue(text));
            }
        }
        if (!differs) {
            return true;
        }
        if (!tx) {
            tx.emplace(db_);
        }
        if (!tx->active() || !db_.exec(update_, values << rows.at(r, 0))) {
            return false;
        }
        ++*changed;
        return true;
    }

    Database& db_;
    QString table_;
    QList<Keyed> keyed_;
    Refill which_;
    QString key_;
    bool inPieces_ = true;
    QString select_, missing_, update_;
};

bool recordVersion(Database& db) {
    return db.exec(QStringLiteral("DELETE FROM ") + kVersionTable) &&
           db.exec(QStringLiteral("INSERT INTO ") + kVersionTable +
                       QStringLiteral(" (Collator, Folding) VALUES (?, ?)"),
                   {collatorVersion(), runningFolding()});
}

// Whether the stored values were made by an older collator or case folding than this
// program's. A newer one elsewhere (another workstation) leaves them as they are.
bool madeByOlder(const QString& collator, qint64 folding) {
    const int order = QVersionNumber::compare(QVersionNumber::fromString(collator),
                                              QVersionNumber::fromString(collatorVersion()));
    return order < 0 || (order == 0 && folding < runningFolding());
}

bool addColumns(Database& db) {
    const SqlDialect& d = db.dialect();
    for (const QString& table : keyedTables(db)) {
        const QStringList existing = db.columns(table);
        for (const Keyed& k : of(table)) {
            for (const auto& [column, type] : derivedColumnTypes(k, d)) {
                if (!existing.contains(column, Qt::CaseInsensitive) &&
                    !db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                 .arg(table, column, type))) {
                    return false;
                }
            }
        }
    }
    return db.hasTable(kVersionTable) ||
           db.exec(QStringLiteral("CREATE TABLE ") + kVersionTable + QStringLiteral(" (Collator ") +
                   d.text() + QStringLiteral(", Folding ") + d.integer() + u')');
}

// The server's text columns compare byte by byte again, and the case-blind collation goes
// once nothing uses it.
bool leaveServerCollation(Database& db) {
    const auto columns = db.query(
        QStringLiteral("SELECT table_name, column_name FROM information_schema.columns WHERE "
                       "table_schema = current_schema() AND collation_name = ?"),
        {kServerCollation});
    if (!columns) {
        return false;
    }
    const SqlDialect& d = db.dialect();
    for (int i = 0; i < columns->count(); ++i) {
        if (!db.exec(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE TEXT COLLATE \"default\"")
                         .arg(d.quote(columns->text(i, QStringLiteral("table_name"))),
                              d.quote(columns->text(i, QStringLiteral("column_name")))))) {
            return false;
        }
    }
    // The collation of this database's own schema; another schema's is not this one's to drop.
    const auto collation = db.query(
        QStringLiteral("SELECT current_schema() AS schema, (SELECT count(*) FROM pg_depend d "
                       "JOIN pg_collation c ON d.refobjid = c.oid WHERE d.refclassid = "
                       "'pg_collation'::regclass AND c.collname = ? AND c.collnamespace = "
                       "(SELECT oid FROM pg_namespace WHERE nspname = current_schema())) AS users"),
        {kServerCollation});
    if (!collation || collation->isEmpty()) {
        return false;
    }
    return collation->integer(0, QStringLiteral("users")) > 0 ||
           db.exec(QStringLiteral("DROP COLLATION IF EXISTS %1.%2")
                       .arg(d.quote(collation->text(0, QStringLiteral("schema"))),
                            kServerCollation));
}

}  // namespace

std::optional<qint64> refill(Database& db, Refill which) {
    std::optional<Transaction> tx;
    qint64 changed = 0;
    for (const QString& table : keyedTables(db)) {
        if (!TableRefill(db, table, which).run(tx, &changed)) {
            return std::nullopt;
        }
    }
    if (tx && !tx->commit()) {
        return std::nullopt;
    }
    return changed;
}

QString keepUpToDate(Database& db) {
    if (!db.isOpen() || !db.hasTable(kVersionTable)) {
        return {};
    }
    bool ok = false;
    const auto made = db.query(QStringLiteral("SELECT Collator, Folding FROM ") + kVersionTable);
    if (made && !made->isEmpty() &&
        !madeByOlder(made->text(0, QStringLiteral("Collator")),
                     made->integer(0, QStringLiteral("Folding")))) {
        ok = refill(db, Refill::Missing).has_value();
    } else if (made) {
        Transaction tx(db);
        ok = tx.active() && refill(db, Refill::All) && recordVersion(db) && tx.commit();
    }
    if (ok) {
        return {};
    }
    return QStringLiteral("The copies of the texts used for searching and sorting could not be "
                          "made: %1")
        .arg(db.lastError().message);
}

bool dropCollationIndexes(Database& db) {
    // On the server, the index of this database's schema, not one of the same name elsewhere.
    QString schema;
    if (db.onServer()) {
        const QVariant current = db.scalar(QStringLiteral("SELECT current_schema()"));
        if (!current.isValid()) {
            return false;
        }
        schema = db.dialect().quote(current.toString()) + u'.';
    }
    for (const char* name : kCollationIndexes) {
        if (!db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + schema + QLatin1String(name))) {
            return false;
        }
    }
    return db.onServer() || db.exec(QStringLiteral("REINDEX NOCASE"));
}

bool convert(Database& db) {
    return (!db.onServer() || leaveServerCollation(db)) && addColumns(db) &&
           refill(db, Refill::All).has_value() && schema::createIndexes(db) &&
           createMissingIndexes(db) && recordVersion(db);
}

}  // namespace textkeys
