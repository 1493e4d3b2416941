#include "db/Schema.h"

#include "db/Database.h"
#include "db/LabelTexts.h"
#include "db/Revisions.h"
#include "db/RowValues.h"
#include "db/TextKeyUpkeep.h"
#include "db/TextKeys.h"
#include "db/Upgrade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace schema {

namespace {

QString baseTable(const SqlDialect& d, const QString& name, const QString& columns) {
    return QStringLiteral("CREATE TABLE ") + name + QStringLiteral(" (") + columns +
           QStringLiteral(")");
}

// The job age report's working rows: each job with its age in days.
QString jobAgeColumns(const SqlDialect& d) {
    const QString t = d.text();
    const QString n = d.integer();
    const QString dt = d.dateTime();
    // DummyId is the job's own, which orders jobs without a number the same way every time.
    return QStringList{"JobNo " + n,       "JobStatus " + t,    "IntroducedBy " + t,
                       "WorkName " + t,    "Age " + n,          "DateReceived " + dt,
                       "DateDue " + dt,    "DateCreated " + dt, "DateCompleted " + dt,
                       "DateQuoted " + dt, "DummyId " + n}
        .join(QStringLiteral(", "));
}

bool run(Database& db, const QStringList& statements) {
    for (const QString& sql : statements) {
        if (!db.exec(sql)) {
            return false;
        }
    }
    return true;
}

bool insertAll(Database& db, const QString& sql, const QList<QVariantList>& rows) {
    for (const auto& row : rows) {
        if (!db.exec(sql, row)) {
            return false;
        }
    }
    return true;
}

// The rows a new database starts with.
bool seedLists(Database& db) {
    const auto& d = db.dialect();
    if (!db.exec(QStringLiteral("INSERT INTO Counters (JobCounter, FileCounter, Free2, Free3) "
                                "VALUES (?, ?, ?, ?)"),
                 {1, 1, 1, 0})) {
        return false;
    }
    QList<QVariantList> formats;
    for (const char* f : {"d mm yy", "d mmm yyyy", "d/m/yy", "d/m/yyyy", "d/mm/yy", "dd mm yy",
                          "dd mm yyyy", "dd mmm yy", "mm d yy", "mm dd yyyy", "mm/dd/yy",
                          "mm/dd/yyyy", "mmm dd yy", "mmm/dd/yy", "mmm/dd/yyyy", "dd/mm/yy",
                          "dd/mm/yyyy", "dd/mmm/yyyy", "dd/mmm/yy", "dd mmm yyyy"}) {
        const QString pattern = QString::fromLatin1(f);
        formats.append({pattern, pattern == QLatin1String("dd/mm/yyyy") ? -1 : 0});
    }
    QList<QVariantList> statuses, introducers, docTypes, labels;
    for (const char* s : {"Awaiting Survey", "Surveyed", "Quoted", "Awaiting Parts",
                          "In Progress", "Completed", "Invoiced", "CLOSED"}) {
        statuses.append({QString::fromLatin1(s)});
    }
    for (const char* s :
         {"Direct", "Estate Agent", "Insurer", "Loss Adjuster", "Recommendation", "Website"}) {
        introducers.append({QString::fromLatin1(s)});
    }
    for (const char* s : {"Job Sheet", "Letter", "Invoice", "Estimate", "Report"}) {
        docTypes.append({QString::fromLatin1(s)});
    }
    for (int i = 0; i < captions::kLabelCount; ++i) {
        labels.append({i, captions::defaults()[size_t(i)]});
    }
    return insertAll(db,
                     QStringLiteral("INSERT INTO DateFormat (DateFormat, ") +
                         d.quote(QStringLiteral("Default")) + QStringLiteral(") VALUES (?, ?)"),
                     formats) &&
           insertAll(db, QStringLiteral("INSERT INTO jobStatus (Status) VALUES (?)"), statuses) &&
           insertAll(db, QStringLiteral("INSERT INTO IntroducedBy (IntroducedBy) VALUES (?)"),
                     introducers) &&
           insertAll(db, QStringLiteral("INSERT INTO DocType (DocType) VALUES (?)"), docTypes) &&
           insertAll(db,
                     QStringLiteral("INSERT INTO labels (") + d.quote(QStringLiteral("Index")) +
                         QStringLiteral(", ") + d.quote(QStringLiteral("Text")) +
                         QStringLiteral(") VALUES (?, ?)"),
                     labels);
}

// Every table with its starting rows, in the open transaction.
bool buildComplete(Database& db) {
    const bool ok = createBaseTables(db) && seedLists(db);
    // The same upgrade an older database gets brings the base tables to the current version,
    // so there is one description of what the current version holds.
    if (ok && DatabaseNeedsUpgrade(db)) {
        UpgradeSchema(db);
    }
    if (ok && !revisions::apply(db).error.isEmpty()) {
        return false;
    }
    // The sample job sheet that comes with the program is the default template.
    RowValues sample(db.dialect(), QStringLiteral("Templates"));
    sample.set(QStringLiteral("FileName"), QStringLiteral("Job Sheet.dotx"))
        .set(QStringLiteral("PrimaryDoc"), 1);
    return ok &&
           db.exec(QStringLiteral("UPDATE Counters SET CurrencySign = ?"),
                   {QStringLiteral("\u00A3")}) &&
           db.exec(sample.insert(), sample.values()) && createIndexes(db) &&
           !DatabaseNeedsUpgrade(db);
}

QString incomplete(Database& db) {
    return db.lastError().message.isEmpty() ? QStringLiteral("The new database is incomplete.")
                                            : db.lastError().message;
}

}  // namespace

QString adoptServerDatabase(Database& db, bool build) {
    Transaction tx(db);
    // Two workstations meeting a new database at once: one builds it, the other waits here and
    // then finds it built.
    if (!tx.active() ||
        !db.exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(current_schema()))"))) {
        return db.lastError().message;
    }
    const QStringList existing = db.tables();
    if (!db.lastError().ok()) {
        return db.lastError().message;
    }
    if (existing.isEmpty()) {
        if (build && (!buildComplete(db) || !tx.commit())) {
            return QStringLiteral("Verdell could not set up the new database %1: %2")
                .arg(db.describe(), incomplete(db));
        }
        return {};
    }
    if (existing.contains(QStringLiteral("Counters"), Qt::CaseInsensitive) &&
        existing.contains(QStringLiteral("Jobs"), Qt::CaseInsensitive)) {
        return {};
    }
    QStringList shown = existing.mid(0, 5);
    if (existing.size() > shown.size()) {
        shown << QStringLiteral("...");
    }
    return QStringLiteral("%1 belongs to another program: it holds the tables %2 and not "
                          "Verdell's. Name an empty database, or one that Verdell made.")
        .arg(db.describe(), shown.join(QStringLiteral(", ")));
}

QStringList tableNames() {
    return {QStringLiteral("clients"),         QStringLiteral("Counters"),
            QStringLiteral("customers"),       QStringLiteral("DateFormat"),
            QStringLiteral("Docs"),            QStringLiteral("DocType"),
            QStringLiteral("engineers"),       QStringLiteral("Estimate"),
            QStringLiteral("EstimateDocs"),    QStringLiteral("IntroducedBy"),
            QStringLiteral("Jobs"),            QStringLiteral("EstimateVersion"),
            QStringLiteral("jobStatus"),       QStringLiteral("labels"),
            QStringLiteral("Stock"),           QStringLiteral("TemplateFields"),
            QStringLiteral("Templates"),       QStringLiteral("Version"),
            QStringLiteral("SchemaRevision"),  textkeys::kVersionTable};
}

bool createBaseTables(Database& db) {
    const auto& d = db.dialect();
    const QString id = QStringLiteral("DummyId ") + d.identity();
    const QString t = d.text();
    const QString n = d.integer();
    const QString dt = d.dateTime();
    auto cols = [](std::initializer_list<QString> parts) { return QStringList(parts).join(", "); };
    return run(
        db,
        {
            baseTable(d, "Jobs",
                      cols({id,
                            "JobNo " + n,
                            "JobStatus " + t,
                            "IntroducedBy " + t,
                            "WorkName " + t,
                            "HomeAddress " + t,
                            "HomeNumbers " + t,
                            "WorkDetails " + t,
                            "WorkNotes " + t,
                            "ClientRef " + t,
                            "CliName " + t,
                            "CliAddress " + t,
                            "CliNumbers " + t,
                            "CliNotes " + t,
                            "DateCreated " + dt,
                            "DateReceived " + dt,
                            "DateDue " + dt,
                            "DateCompleted " + dt,
                            "DateQuoted " + dt,
                            "InvoiceStatus " + t,
                            d.quote("Date") + " " + dt,
                            "Price " + d.real()})),
            baseTable(d, "Docs",
                      cols({id, "JobNumber " + n, "FileName " + t, d.quote("Date") + " " + dt,
                            "Title " + t, "AddressType " + t, "DocType " + t})),
            baseTable(d, "clients",
                      cols({id, "Name " + t, "Address " + t, "Contact " + t, "Notes " + t})),
            baseTable(d, "customers",
                      cols({id, "ClientID " + n, "Name " + t, "Address " + t, "Contact " + t,
                            "TypeID " + n})),
            baseTable(d, "engineers", "Engineer " + t),
            baseTable(d, "Counters",
                      cols({"JobCounter " + n, "FileCounter " + n, "Free2 " + n, "Free3 " + n})),
            baseTable(d, "labels", cols({d.quote("Index") + " " + n, d.quote("Text") + " " + t})),
            baseTable(d, "jobStatus", "Status " + t),
            baseTable(d, "IntroducedBy", "IntroducedBy " + t),
            baseTable(d, "DocType", "DocType " + t),
            baseTable(d, "DateFormat", cols({id, "DateFormat " + t, d.quote("Default") + " " + n})),
            baseTable(d, "jobsreport", jobAgeColumns(d)),
        });
}

bool createJobAgeTable(Database& db) {
    const SqlDialect& d = db.dialect();
    QString columns = jobAgeColumns(d);
    // The rows carry the folded copies and sort keys of the jobs they come from.
    for (const textkeys::Keyed& k : textkeys::of(QStringLiteral("jobsreport"))) {
        for (const auto& [column, type] : textkeys::derivedColumnTypes(k, d)) {
            columns += QStringLiteral(", ") + column + u' ' + type;
        }
    }
    return db.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS jobsreport (") + columns + u')');
}

bool createIndexes(Database& db) {
    struct Index {
        const char* name;
        const char* table;
        const char* column;
    };
    // Text is found through its folded copy and ordered by its sort key (TextKeys.h).
    static const Index kIndexes[] = {
        {"ixJobsJobNo", "Jobs", "JobNo"},
        {"ixJobsWorkNameSortKey", "Jobs", "WorkNameSortKey"},
        {"ixJobsCliNameFolded", "Jobs", "CliNameFolded"},
        {"ixJobsJobStatusFolded", "Jobs", "JobStatusFolded"},
        {"ixDocsJobNumber", "Docs", "JobNumber"},
        {"ixClientsNameFolded", "clients", "NameFolded"},
        {"ixClientsNameSortKey", "clients", "NameSortKey"},
        {"ixCustomersNameFolded", "customers", "NameFolded"},
        {"ixCustomersNameSortKey", "customers", "NameSortKey"},
        {"ixEngineersEngineerFolded", "engineers", "EngineerFolded"},
        {"ixEstimateEstNo", "Estimate", "EstNo"},
        {"ixEstimateClientId", "Estimate", "ClientId"},
        {"ixEstimateDocsEstNo", "EstimateDocs", "EstNo"},
        {"ixTemplateFieldsIdFolded", "TemplateFields", "IdFolded"},
    };
    bool ok = true;
    QHash<QString, QStringList> columns;
    for (const auto& ix : kIndexes) {
        const QString table = QString::fromLatin1(ix.table);
        if (!columns.contains(table)) {
            columns.insert(table, db.columns(table));
        }
        // A table a database lacks, or a column it gets from a later revision, waits for it.
        if (!columns.value(table).contains(QLatin1String(ix.column), Qt::CaseInsensitive)) {
            continue;
        }
        ok = db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                         .arg(QLatin1String(ix.name), table, QLatin1String(ix.column))) &&
             ok;
    }
    return ok;
}

QString createDatabaseFile(const QString& file) {
    const QFileInfo target(file);
    if (target.exists()) {
        return QStringLiteral("'%1' already exists.").arg(file);
    }
    if (!QDir().mkpath(target.absolutePath())) {
        return QStringLiteral("The folder '%1' cannot be made.").arg(target.absolutePath());
    }
    // Build beside the target and move it into place only when it is complete.
    const QString part = file + QStringLiteral(".new");
    QFile::remove(part);
    QString failure;
    {
        Database db;
        if (!db.create(part)) {
            failure = db.lastError().message;
        } else {
            Transaction tx(db);
            if (!(tx.active() && buildComplete(db) && tx.commit())) {
                failure = incomplete(db);
            }
        }
        db.close();
    }
    if (failure.isEmpty() && !QFile::rename(part, file)) {
        failure = QStringLiteral("'%1' cannot be put in place.").arg(file);
    }
    if (!failure.isEmpty()) {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
    }
    return failure;
}

}  // namespace schema
