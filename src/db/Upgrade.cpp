#include "db/Upgrade.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <functional>

namespace {

struct Column {
    QString name;
    QString type;
};

// Adds the columns a table lacks, all or none. When the table has every one of them already
// the statement cannot be carried out, as adding an existing column cannot.
DbCondition addColumns(Database& db, const QString& table, const QList<Column>& columns) {
    const QStringList existing = db.columns(table);
    if (existing.isEmpty()) {
        return DbCondition::TableMissing;
    }
    QList<Column> missing;
    for (const Column& c : columns) {
        if (!existing.contains(c.name, Qt::CaseInsensitive)) {
            missing << c;
        }
    }
    if (missing.isEmpty()) {
        return DbCondition::CannotExecute;
    }
    Transaction tx(db);
    for (const Column& c : missing) {
        if (!db.exec(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") +
                     c.name + u' ' + c.type)) {
            return db.lastError().condition;
        }
    }
    return tx.commit() ? DbCondition::None : db.lastError().condition;
}

// Sets values on the Counters row. With no row to set, the step cannot go on.
DbCondition updateCounters(Database& db, const QString& assignment, const QVariantList& params) {
    if (!db.exec(QStringLiteral("UPDATE Counters SET ") + assignment, params)) {
        return db.lastError().condition;
    }
    return db.rowsAffected() == 0 ? DbCondition::Other : DbCondition::None;
}

using Statement = std::function<DbCondition(Database&)>;

// Runs a step's statements in order. A statement that fails because its object exists already
// (and, where the step allows it, one whose values were refused) is passed over; any other
// failure ends the step.
void runStep(Database& db, const QList<Statement>& statements, bool toleratesRefusedValues) {
    for (const Statement& statement : statements) {
        const DbCondition c = statement(db);
        const bool carryOn = c == DbCondition::None || c == DbCondition::CannotExecute ||
                             (toleratesRefusedValues && c == DbCondition::ErrorsOccurred);
        if (!carryOn) {
            return;
        }
    }
}

Statement sql(const QString& text) {
    return [text](Database& db) { return db.exec(text) ? DbCondition::None : db.lastError().condition; };
}

QList<Column> textColumns(const QStringList& names, const SqlDialect& d) {
    QList<Column> out;
    for (const QString& n : names) {
        out << Column{n, d.text()};
    }
    return out;
}

QStringList spareColumns() {
    return {QStringLiteral("Unused2"), QStringLiteral("Unused3"), QStringLiteral("Unused4"),
            QStringLiteral("Unused5"), QStringLiteral("Unused6"), QStringLiteral("Unused7")};
}

}  // namespace

bool DatabaseNeedsUpgrade(Database& db) {
    // Looking first keeps a failed read out of a transaction the caller may have open.
    const bool missing = db.isOpen() && !db.hasTable(QStringLiteral("Version"));
    auto rows = missing ? std::optional<Rows>() : db.query(QStringLiteral("SELECT Version FROM Version"));
    if (missing) {
        db.exec(QStringLiteral("CREATE TABLE Version (Version ") + db.dialect().text() +
                QStringLiteral(" PRIMARY KEY)"));
        rows = db.query(QStringLiteral("SELECT Version FROM Version"));
    }
    if (!rows) {
        return false;
    }
    if (rows->isEmpty()) {
        if (!db.exec(QStringLiteral("INSERT INTO Version (Version) VALUES (?)"), {QStringLiteral("")})) {
            return false;
        }
        return true;
    }
    return rows->text(0, QStringLiteral("Version")) != schema::kCurrentVersion;
}

void UpgradeSchema(Database& db) {
    const SqlDialect& d = db.dialect();
    const QString id = QStringLiteral("DummyId ") + d.identity();
    const QString t = d.text();

    // Estimates: the counter, the job and contact columns, the remembered descriptions.
    QList<Column> jobColumns{{QStringLiteral("CustRef"), t}};
    for (int i = 1; i <= 7; ++i) {
        jobColumns << Column{QStringLiteral("Unused%1").arg(i), t};
    }
    const QList<Column> contactColumns = textColumns(
        QStringList{QStringLiteral("Telephone"), QStringLiteral("Email")} + spareColumns(), d);
    runStep(db,
            {
                [&](Database& db) {
                    return addColumns(db, QStringLiteral("Counters"),
                                      {{QStringLiteral("Estimate"), d.integer()}});
                },
                [](Database& db) {
                    return updateCounters(db, QStringLiteral("Estimate = ?"), {1000});
                },
                [&](Database& db) { return addColumns(db, QStringLiteral("Jobs"), jobColumns); },
                [&](Database& db) {
                    return addColumns(db, QStringLiteral("customers"), contactColumns);
                },
                [&](Database& db) {
                    return addColumns(db, QStringLiteral("clients"), contactColumns);
                },
                sql(QStringLiteral("CREATE TABLE Stock (Description ") + t +
                    QStringLiteral(" PRIMARY KEY)")),
            },
            true);

    // The print history of estimates.
    runStep(db,
            {sql(QStringLiteral("CREATE TABLE EstimateDocs (") + id +
                 QStringLiteral(", DateCreated TEXT, EstNo INTEGER, PrintNo INTEGER, "
                                "TotalQty INTEGER, TotalPrice ") + d.real() + u')')},
            false);

    // Templates, their merge tokens, and estimate lines.
    runStep(db,
            {
                sql(QStringLiteral("CREATE TABLE Templates (") + id + QStringLiteral(", FileName ") +
                    t + QStringLiteral(", PrimaryDoc INTEGER)")),
                sql(QStringLiteral("CREATE TABLE TemplateFields (") + id + QStringLiteral(", Id ") +
                    t + QStringLiteral(", FieldName ") + t + u')'),
                sql(QStringLiteral("CREATE TABLE Estimate (") + id +
                    QStringLiteral(", EstNo INTEGER, ClientId INTEGER, DeliveryCost %1, "
                                   "Qty %1, Description ")
                        .arg(d.real()) +
                    t +
                    QStringLiteral(", TradePrice %1, RetailPrice %1, DateCreated TEXT)")
                        .arg(d.real())),
            },
            false);

    // The currency symbol printed on estimates.
    runStep(db,
            {[&](Database& db) {
                return addColumns(db, QStringLiteral("Counters"),
                                  {{QStringLiteral("CurrencySign"), t}});
            }},
            false);

    // The name of the sales tax; every failure here is passed over.
    addColumns(db, QStringLiteral("Counters"), {{QStringLiteral("TaxDesc"), t}});
    if (db.scalar(QStringLiteral("SELECT count(*) FROM Counters")).toInt() > 0) {
        updateCounters(db, QStringLiteral("TaxDesc = ?"), {QStringLiteral("VAT")});
        db.exec(QStringLiteral("UPDATE Counters SET CurrencySign = ? WHERE CurrencySign = ?"),
                {QStringLiteral("\u00A3"), QStringLiteral("")});
    }

    // The stamp.
    db.exec(QStringLiteral("UPDATE Version SET Version = ?"), {schema::kCurrentVersion});
    if (db.lastError().ok() && db.rowsAffected() == 0) {
        db.exec(QStringLiteral("INSERT INTO Version (Version) VALUES (?)"),
                {schema::kCurrentVersion});
    }
    schema::createIndexes(db);
}
