#include "db/Revisions.h"

#include "db/ChangeWatcher.h"
#include "db/Database.h"
#include "db/RowVersion.h"
#include "db/TextIndex.h"
#include "db/TextKeyUpkeep.h"
#include "db/TextKeys.h"
#include "db/Upgrade.h"

#include <QHash>
#include <functional>

namespace revisions {

namespace {

const QString kTable = QStringLiteral("SchemaRevision");

// The revision that brings in the folded copies and sort keys of text.
constexpr int kFoldedText = 2;

struct Migration {
    int revision;
    QString summary;
    // Runs inside the migration's transaction; false leaves the reason in the last error.
    std::function<bool(Database&, const textindex::Progress&)> run;
};

// A contact row as text, every column but its identity, so that rows can be compared whole.
// A null reads as an empty text, as the program reads texts everywhere.
QString wholeRow(const Rows& rows, int row) {
    QStringList cells;
    for (int c = 0; c < rows.columns().size(); ++c) {
        if (rows.columns()[c].compare(QStringLiteral("DummyId"), Qt::CaseInsensitive) != 0) {
            cells << rows.at(row, c).toString();
        }
    }
    return cells.join(QChar(0x1F));
}

// Names are kept without surrounding blanks, as the job's save and its lookup use them; rows
// that are then the same in every field become one, and the estimates of a customer that goes
// follow the one that stays.
bool trimAndMergeContacts(Database& db, const QString& table, bool estimatesPointHere) {
    const auto rows =
        db.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY DummyId"));
    if (!rows) {
        return false;
    }
    const int name = rows->column(QStringLiteral("Name"));
    const int id = rows->column(QStringLiteral("DummyId"));
    Rows trimmed(rows->columns());
    for (int r = 0; r < rows->count(); ++r) {
        QVariant* cells = trimmed.appendRow();
        for (int c = 0; c < rows->columns().size(); ++c) {
            cells[c] = rows->at(r, c);
        }
        const QString text = rows->at(r, name).toString();
        if (text.trimmed() != text) {
            cells[name] = text.trimmed();
            if (!db.exec(QStringLiteral("UPDATE ") + table +
                             QStringLiteral(" SET Name = ? WHERE DummyId = ?"),
                         {text.trimmed(), rows->at(r, id)})) {
                return false;
            }
        }
    }
    QHash<QString, QVariant> kept;
    for (int r = 0; r < trimmed.count(); ++r) {
        const QString whole = wholeRow(trimmed, r);
        const QVariant identity = trimmed.at(r, id);
        const auto first = kept.constFind(whole);
        if (first == kept.constEnd()) {
            kept.insert(whole, identity);
            continue;
        }
        if (estimatesPointHere &&
            !db.exec(QStringLiteral("UPDATE Estimate SET ClientId = ? WHERE ClientId = ?"),
                     {first.value(), identity})) {
            return false;
        }
        if (!db.exec(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE DummyId = ?"),
                     {identity})) {
            return false;
        }
    }
    return true;
}

// Jobs, contacts and estimates carry a version that each save moves on, with who saved it and
// when. Rows stored before count as the first version. An estimate is only its lines, so its
// version has a small table of its own, keyed by the estimate's number.
bool addRowVersions(Database& db) {
    const SqlDialect& d = db.dialect();
    const QList<QPair<QString, QString>> columns = {
        {rowversion::kNumber, QStringLiteral("INTEGER NOT NULL DEFAULT 1")},
        {rowversion::kBy, d.text()},
        {rowversion::kAt, d.dateTime()}};
    for (const QString& table :
         {QStringLiteral("Jobs"), QStringLiteral("customers"), QStringLiteral("clients")}) {
        const QStringList existing = db.columns(table);
        for (const auto& [name, type] : columns) {
            if (!existing.contains(name, Qt::CaseInsensitive) &&
                !db.exec(
                    QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, name, type))) {
                return false;
            }
        }
    }
    return db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + rowversion::kEstimateTable +
                   QStringLiteral(" (EstNo INTEGER PRIMARY KEY, %1 INTEGER NOT NULL, %2 %3, "
                                  "%4 %5)")
                       .arg(rowversion::kNumber, rowversion::kBy, d.text(), rowversion::kAt,
                            d.dateTime())) &&
           // Whether any job changed is read from this index rather than from the rows.
           db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ixJobsRowVersion ON Jobs (%1)")
                       .arg(rowversion::kNumber));
}

// The tables whose changes open screens follow. On a server each statement that writes one of
// them tells every workstation listening which table it was (the embedded file is watched by
// its own change counter instead).
bool notifyChanges(Database& db) {
    if (!db.onServer()) {
        return true;
    }
    if (!db.exec(QStringLiteral(
                     "CREATE OR REPLACE FUNCTION verdell_notify_change() RETURNS trigger LANGUAGE "
                     "plpgsql "
                     "AS $$BEGIN PERFORM pg_notify('%1', TG_TABLE_SCHEMA || '.' || TG_TABLE_NAME); "
                     "RETURN NULL; END$$")
                     .arg(changes::kChannel))) {
        return false;
    }
    for (const QString& table : changes::followedTables()) {
        if (!db.exec(QStringLiteral("DROP TRIGGER IF EXISTS verdell_changes ON %1").arg(table)) ||
            !db.exec(QStringLiteral("CREATE TRIGGER verdell_changes AFTER INSERT OR UPDATE OR "
                                    "DELETE ON %1 FOR EACH STATEMENT EXECUTE FUNCTION "
                                    "verdell_notify_change()")
                         .arg(table))) {
            return false;
        }
    }
    return true;
}

// The server moves a row whenever it is updated or the table is tidied, so its short pick lists
// get an identity that keeps the order their entries were added in (numbered in the order they
// are stored now, the order they were shown in). The embedded file keeps each row's own number.
bool numberListEntries(Database& db) {
    if (!db.onServer()) {
        return true;
    }
    for (const char* table : {"jobStatus", "IntroducedBy", "DocType", "engineers", "Stock"}) {
        const QString name = QString::fromLatin1(table);
        if (!db.hasTable(name) ||
            db.columns(name).contains(QStringLiteral("DummyId"), Qt::CaseInsensitive)) {
            continue;
        }
        if (!db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN DummyId INTEGER GENERATED BY "
                                    "DEFAULT AS IDENTITY")
                         .arg(name))) {
            return false;
        }
    }
    return true;
}

const QList<Migration>& migrations() {
    static const QList<Migration> list = {
        {1,
         QStringLiteral("contact names kept without surrounding blanks; contacts then alike "
                        "in every field merged"),
         [](Database& db, const textindex::Progress&) {
             return trimAndMergeContacts(db, QStringLiteral("customers"), true) &&
                    trimAndMergeContacts(db, QStringLiteral("clients"), false);
         }},
        {kFoldedText,
         QStringLiteral("texts matched and sorted through a folded copy and a sort key kept "
                        "beside them, no longer through a collation of the database engine"),
         [](Database& db, const textindex::Progress&) { return textkeys::convert(db); }},
        {3, QStringLiteral("jobs, contacts and estimates carry a row version"),
         [](Database& db, const textindex::Progress&) { return addRowVersions(db); }},
        // Each workstation builds the job age report in a temporary table of its own session.
        {4, QStringLiteral("the shared working table of the job age report removed"),
         [](Database& db, const textindex::Progress&) {
             return db.exec(QStringLiteral("DROP TABLE IF EXISTS jobsreport"));
         }},
        {5, QStringLiteral("workstations told of each other's changes"),
         [](Database& db, const textindex::Progress&) { return notifyChanges(db); }},
        {6, QStringLiteral("searched texts found through text indexes that the engine keeps"),
         [](Database& db, const textindex::Progress& progress) {
             // The full list counts the named jobs from a small index of their own.
             return textindex::create(db, progress) &&
                    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ixJobsNamed ON Jobs "
                                           "(JobNo) WHERE WorkName <> ''"));
         }},
        {7, QStringLiteral("the pick lists keep the order their entries were added in"),
         [](Database& db, const textindex::Progress&) { return numberListEntries(db); }},
        // Lists put jobs without a number first; the server's plain index keeps them last, so
        // the first screen of the full list read and sorted every job there.
        {8, QStringLiteral("the job list's first screen read in order on the server"),
         [](Database& db, const textindex::Progress&) {
             return !db.onServer() ||
                    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ixJobsListed ON Jobs "
                                           "(JobNo NULLS FIRST, DummyId)"));
         }},
    };
    return list;
}

bool ensureTable(Database& db) {
    if (db.hasTable(kTable)) {
        return true;
    }
    return db.exec(QStringLiteral("CREATE TABLE ") + kTable +
                   QStringLiteral(" (Revision INTEGER NOT NULL)")) &&
           db.exec(QStringLiteral("INSERT INTO ") + kTable + QStringLiteral(" (Revision) VALUES (0)"));
}

}  // namespace

int current(Database& db) {
    if (!db.isOpen()) {
        return -1;
    }
    if (!db.hasTable(kTable)) {
        return db.lastError().ok() ? 0 : -1;
    }
    const QVariant value = db.scalar(QStringLiteral("SELECT max(Revision) FROM ") + kTable);
    if (!db.lastError().ok()) {
        return -1;
    }
    return value.isNull() ? 0 : value.toInt();
}

int latest() { return migrations().isEmpty() ? 0 : migrations().last().revision; }

Outcome apply(Database& db, const textindex::Progress& progress) {
    Outcome outcome;
    const int at = current(db);
    if (at < 0) {
        outcome.error = db.lastError().message;
        return outcome;
    }
    // An index ordered under the collation an earlier version gave the engine must not be
    // written through before it is rebuilt, so that comes before every revision.
    if (at < kFoldedText) {
        Transaction tx(db);
        if (!tx.active() || !textkeys::dropCollationIndexes(db) || !tx.commit()) {
            outcome.error = QStringLiteral("The indexes of texts could not be rebuilt: %1")
                                .arg(db.lastError().message);
            return outcome;
        }
    }
    for (const Migration& m : migrations()) {
        if (m.revision <= at) {
            continue;
        }
        Transaction tx(db);
        const bool ok = tx.active() && ensureTable(db) && m.run(db, progress) &&
                        db.exec(QStringLiteral("UPDATE ") + kTable +
                                    QStringLiteral(" SET Revision = ?"),
                                {m.revision}) &&
                        tx.commit();
        if (!ok) {
            outcome.error = QStringLiteral("Revision %1 (%2) could not be made: %3")
                                .arg(m.revision)
                                .arg(m.summary, db.lastError().message);
            return outcome;
        }
        outcome.done << QStringLiteral("revision %1: %2").arg(m.revision).arg(m.summary);
    }
    return outcome;
}

QString bringUpToDate(Database& db, const textindex::Progress& progress) {
    if (!db.isOpen()) {
        return {};
    }
    if (DatabaseNeedsUpgrade(db)) {
        UpgradeSchema(db);
    }
    const QString error = apply(db, progress).error;
    if (!error.isEmpty()) {
        return error;
    }
    // A server whose trigram extension came after the revision gets its indexes now.
    if (db.onServer() && !textindex::present(db)) {
        Transaction tx(db);
        if (!tx.active() || !textindex::create(db, progress) || !tx.commit()) {
            return QStringLiteral("The text indexes could not be made: %1")
                .arg(db.lastError().message);
        }
    }
    return textkeys::keepUpToDate(db);
}

QStringList contactsSharingAName(Database& db) {
    QStringList out;
    for (const QString& table : {QStringLiteral("customers"), QStringLiteral("clients")}) {
        const auto rows = db.query(QStringLiteral("SELECT DummyId, Name FROM ") + table +
                                   QStringLiteral(" ORDER BY DummyId"));
        if (!rows) {
            continue;
        }
        // Names compare as the job's lookup compares them: without blanks around, in any case.
        QHash<QString, QStringList> byName;
        QStringList order, shownNames;
        for (int r = 0; r < rows->count(); ++r) {
            const QString shown = rows->text(r, QStringLiteral("Name")).trimmed();
            const QString key = textkeys::folded(shown);
            if (shown.isEmpty()) {
                continue;
            }
            if (!byName.contains(key)) {
                order << key;
                shownNames << shown;
            }
            byName[key] << rows->text(r, QStringLiteral("DummyId"));
        }
        for (qsizetype i = 0; i < order.size(); ++i) {
            const QStringList& ids = byName[order[i]];
            if (ids.size() > 1) {
                out << QStringLiteral("%1 '%2': rows %3")
                           .arg(table, shownNames[i], ids.join(QStringLiteral(", ")));
            }
        }
    }
    return out;
}

}  // namespace revisions
