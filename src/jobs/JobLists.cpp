#include "jobs/JobLists.h"

#include "db/Database.h"
#include "db/TextKeys.h"

namespace jobs {

namespace {

// A pick list's entries in the order they were added.
QStringList column(Database& db, const QString& sql) {
    QStringList out;
    if (const auto rows =
            db.query(sql + QStringLiteral(" ORDER BY ") + db.dialect().entryOrder())) {
        for (int i = 0; i < rows->count(); ++i) {
            out << (rows->at(i, 0).isNull() ? QString() : rows->at(i, 0).toString());
        }
    }
    return out;
}

}  // namespace

QStringList jobStatuses(Database& db) {
    return column(db, QStringLiteral("SELECT Status FROM jobStatus"));
}

QStringList introducers(Database& db) {
    return column(db, QStringLiteral("SELECT IntroducedBy FROM IntroducedBy"));
}

QStringList engineerNames(Database& db) {
    QStringList out;
    for (const QString& name : column(db, QStringLiteral("SELECT Engineer FROM engineers"))) {
        if (!name.trimmed().isEmpty()) {
            out << name.trimmed();
        }
    }
    return out;
}

Rows findContacts(Database& db, bool clients, const QString& nameStart) {
    const QString table = clients ? QStringLiteral("clients") : QStringLiteral("customers");
    const textkeys::Condition starts =
        textkeys::like(QStringLiteral("Name"), SqlDialect::startsWithPattern(nameStart));
    const auto rows =
        db.query(QStringLiteral("SELECT Name, Address, Contact, DummyId FROM ") + table +
                     QStringLiteral(" WHERE ") + starts.sql + QStringLiteral(" ORDER BY ") +
                     textkeys::orderBy(table, QStringLiteral("Name")) + QStringLiteral(", DummyId"),
                 {starts.value});
    return rows.value_or(Rows());
}

Rows jobDocuments(Database& db, qint32 jobNo) {
    const auto rows =
        db.query(QStringLiteral("SELECT \"Date\", Title, DummyId, FileName FROM Docs "
                                "WHERE JobNumber = ? ORDER BY \"Date\" NULLS FIRST, DummyId"),
                 {jobNo});
    return rows.value_or(Rows());
}

bool saveCaptionList(Database& db, const QStringList& captions) {
    Transaction tx(db);
    if (!tx.active() || !db.exec(QStringLiteral("DELETE FROM labels"))) {
        return false;
    }
    for (int i = 0; i < captions.size(); ++i) {
        if (!db.exec(
                QStringLiteral("INSERT INTO labels (\"Index\", \"Text\") VALUES (?, ?)"),
                {i, captions[i].trimmed().isNull() ? QStringLiteral("") : captions[i].trimmed()})) {
            return false;
        }
    }
    return tx.commit();
}

}  // namespace jobs
