#include "jobs/JobStore.h"

#include "platform/Prompter.h"
#include "startup/AppState.h"
#include "startup/DateFormats.h"
#include "startup/Numbers.h"

#include <QStringList>

namespace {

// Texts are written as they stand, and never as null.
QVariant text(const QString& value) { return value.isNull() ? QStringLiteral("") : value; }

// The job's one row: with numbers given by hand a number may stand twice, and the first row
// is the job the screen shows.
const QString kTheJobsRow =
    QStringLiteral("DummyId = (SELECT min(DummyId) FROM Jobs WHERE JobNo = ?)");

struct Assignment {
    QString column;
    QVariant value;
};

// The columns a save writes, in their order, with the dates and the price only when valid.
QList<Assignment> assignments(AppState& app, const JobFields& f, qint32 jobNo) {
    QList<Assignment> out;
    auto date = [&](const char* column, const QString& box) {
        if (const auto moment = readDateText(app, box)) {
            out.append({QString::fromLatin1(column), datetext::toStored(*moment)});
        }
    };
    date("DateCreated", f.DateCreated);
    date("DateReceived", f.DateReceived);
    date("DateDue", f.DateDue);
    date("DateCompleted", f.DateCompleted);
    date("DateQuoted", f.DateQuoted);
    out.append({QStringLiteral("JobNo"), jobNo});
    out.append({QStringLiteral("IntroducedBy"), text(f.IntroducedBy)});
    out.append({QStringLiteral("JobStatus"), text(f.JobStatus)});
    out.append({QStringLiteral("WorkDetails"), text(f.WorkDetails)});
    out.append({QStringLiteral("WorkName"), text(f.WorkName)});
    out.append({QStringLiteral("HomeAddress"), text(f.HomeAddress)});
    out.append({QStringLiteral("HomeNumbers"), text(f.HomeNumbers)});
    out.append({QStringLiteral("WorkNotes"), text(f.WorkNotes)});
    out.append({QStringLiteral("ClientRef"), text(f.ClientRef)});
    out.append({QStringLiteral("CustRef"), text(f.CustRef)});
    for (size_t i = 0; i < f.Unused.size(); ++i) {
        out.append({QStringLiteral("Unused%1").arg(i + 1), text(f.Unused[i])});
    }
    out.append({QStringLiteral("CliName"), text(f.CliName)});
    out.append({QStringLiteral("CliAddress"), text(f.CliAddress)});
    out.append({QStringLiteral("CliNumbers"), text(f.CliNumbers)});
    out.append({QStringLiteral("CliNotes"), text(f.CliNotes)});
    out.append({QStringLiteral("InvoiceStatus"), text(f.InvoiceStatus)});
    date("\"Date\"", f.InvoiceDate);
    bool priceValid = true;
    const auto price = readPrice(f.Price, app.CurrencySymbol, &priceValid);
    if (priceValid) {
        out.append({QStringLiteral("Price"), price ? QVariant(*price) : QVariant()});
    }
    return out;
}

bool insertJob(Database& db, const QList<Assignment>& values) {
    QStringList columns, marks;
    QVariantList params;
    for (const Assignment& a : values) {
        columns << a.column;
        marks << QStringLiteral("?");
        params << a.value;
    }
    return db.exec(QStringLiteral("INSERT INTO Jobs (") + columns.join(QStringLiteral(", ")) +
                       QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + u')',
                   params);
}

bool updateJob(Database& db, const QList<Assignment>& values, qint32 jobNo) {
    QStringList sets;
    QVariantList params;
    for (const Assignment& a : values) {
        sets << a.column + QStringLiteral(" = ?");
        params << a.value;
    }
    params << jobNo;
    return db.exec(QStringLiteral("UPDATE Jobs SET ") + sets.join(QStringLiteral(", ")) +
                       QStringLiteral(" WHERE ") + kTheJobsRow,
                   params);
}

// One row per name in clients or customers, with the job's address and contact.
bool updateContactTable(Database& db, const QString& table, const QString& name,
                        const QString& address, const QString& contact) {
    if (name.isEmpty()) {
        return true;
    }
    const QVariantList values{text(name.trimmed()), text(address.trimmed()),
                              text(contact.trimmed())};
    if (!db.exec(QStringLiteral("UPDATE ") + table +
                     QStringLiteral(" SET Name = ?, Address = ?, Contact = ? WHERE DummyId = "
                                    "(SELECT min(DummyId) FROM ") +
                     table + QStringLiteral(" WHERE Name = ?)"),
                 values + QVariantList{name})) {
        return false;
    }
    if (db.rowsAffected() > 0) {
        return true;
    }
    return db.exec(QStringLiteral("INSERT INTO ") + table +
                       QStringLiteral(" (Name, Address, Contact) VALUES (?, ?, ?)"),
                   values);
}

QString displayDate(AppState& app, const QVariant& stored) {
    return formatDisplayDate(app, datetext::fromStored(stored));
}

}  // namespace

LoadedJob readJob(AppState& app, qint32 jobNo) {
    LoadedJob job;
    const auto rows = app.DbConnection.query(
        QStringLiteral("SELECT * FROM Jobs WHERE ") + kTheJobsRow, {jobNo});
    if (!rows) {
        const DbError& e = app.DbConnection.lastError();
        if (e.condition == DbCondition::Unspecified) {
            job.outcome = LoadedJob::Outcome::Unreadable;
            job.error = e.message;
        }
        return job;
    }
    if (rows->isEmpty()) {
        return job;
    }
    // Older releases ended lines with a carriage return and a line feed; the boxes use one.
    auto t = [&](const char* field) {
        return rows->text(0, QString::fromLatin1(field)).replace(QStringLiteral("\r\n"),
                                                                 QStringLiteral("\n"));
    };
    auto d = [&](const char* field) {
        return displayDate(app, rows->value(0, QString::fromLatin1(field)));
    };
    JobFields& f = job.fields;
    f.JobNo = QString::number(jobNo);
    f.JobStatus = t("JobStatus");
    f.IntroducedBy = t("IntroducedBy");
    f.ClientRef = t("ClientRef");
    f.WorkDetails = t("WorkDetails");
    f.HomeNumbers = t("HomeNumbers");
    f.WorkName = t("WorkName");
    f.HomeAddress = t("HomeAddress");
    f.WorkNotes = t("WorkNotes");
    f.DateCreated = d("DateCreated");
    f.DateReceived = d("DateReceived");
    f.DateDue = d("DateDue");
    f.DateCompleted = d("DateCompleted");
    f.DateQuoted = d("DateQuoted");
    f.CustRef = t("CustRef");
    for (size_t i = 0; i < f.Unused.size(); ++i) {
        f.Unused[i] = rows->text(0, QStringLiteral("Unused%1").arg(i + 1));
    }
    f.CliName = t("CliName");
    f.CliAddress = t("CliAddress");
    f.CliNumbers = t("CliNumbers");
    f.CliNotes = t("CliNotes");
    f.InvoiceStatus = t("InvoiceStatus");
    f.InvoiceDate = d("Date");
    const QVariant price = rows->value(0, QStringLiteral("Price"));
    f.Price = price.isNull() ? QString() : formatPrice(price.toDouble(), app.CurrencySymbol);
    job.outcome = LoadedJob::Outcome::Found;
    return job;
}

SavedJob writeJob(AppState& app, const JobFields& fields, qint32 jobNo,
                  std::optional<qint32> manualNumber) {
    Database& db = app.DbConnection;
    SavedJob saved;
    Transaction tx(db);
    if (!tx.active()) {
        saved.error = db.lastError().message;
        return saved;
    }
    qint32 number = jobNo;
    bool ok = true;
    if (number == 0) {
        const auto taken = manualNumber ? manualNumber : GetCounter(db, 1);
        ok = taken.has_value();
        number = taken.value_or(0);
        ok = ok && insertJob(db, assignments(app, fields, number));
    } else {
        const QList<Assignment> values = assignments(app, fields, number);
        ok = updateJob(db, values, number) && (db.rowsAffected() > 0 || insertJob(db, values));
    }
    ok = ok && UpdateClientTable(db, fields.CliName, fields.CliAddress, fields.CliNumbers) &&
         UpdateCustomerTable(db, fields.WorkName, fields.HomeAddress, fields.HomeNumbers) &&
         SaveEngineer(db, fields.ClientRef.trimmed()) && tx.commit();
    if (!ok) {
        saved.error = db.lastError().message;
        return saved;
    }
    saved.ok = true;
    saved.jobNo = number;
    return saved;
}

bool deleteJob(Database& db, qint32 jobNo) {
    Transaction tx(db);
    return tx.active() && db.exec(QStringLiteral("DELETE FROM Jobs WHERE JobNo = ?"), {jobNo}) &&
           db.exec(QStringLiteral("DELETE FROM Docs WHERE JobNumber = ?"), {jobNo}) &&
           tx.commit();
}

std::optional<qint32> GetNewJobNumber(AppState& app) {
    if (!app.ManualNumbering) {
        return GetCounter(app.DbConnection, 1);
    }
    for (;;) {
        const QString answer = app.prompter.input(
            QStringLiteral("Please enter the new job reference number"),
            QStringLiteral("New Job Number")).trimmed();
        const double value = numbers::leadingNumber(answer);
        if (value >= 1 && value <= 2147483647.0) {
            return qint32(value);
        }
    }
}

std::optional<qint32> GetCounter(Database& db, int counterType) {
    static const char* const kFields[] = {"JobCounter", "FileCounter", "Free2"};
    if (counterType < 1 || counterType > 3) {
        return 0;
    }
    const QString field = QString::fromLatin1(kFields[counterType - 1]);
    // Writing first takes the write lock, so two workstations never take the same number.
    Transaction tx(db);
    if (!tx.active() ||
        !db.exec(QStringLiteral("UPDATE Counters SET %1 = COALESCE(%1, 0) + 1").arg(field))) {
        return std::nullopt;
    }
    if (db.rowsAffected() == 0) {
        return std::nullopt;
    }
    const QVariant next = db.scalar(QStringLiteral("SELECT %1 FROM Counters").arg(field));
    if (!next.isValid() || !tx.commit()) {
        return std::nullopt;
    }
    return qint32(next.toLongLong() - 1);
}

bool UpdateClientTable(Database& db, const QString& sName, const QString& sAddress,
                       const QString& sContact) {
    return updateContactTable(db, QStringLiteral("clients"), sName, sAddress, sContact);
}

bool UpdateCustomerTable(Database& db, const QString& sName, const QString& sAddress,
                         const QString& sContact) {
    return updateContactTable(db, QStringLiteral("customers"), sName, sAddress, sContact);
}

bool SaveEngineer(Database& db, const QString& sEng) {
    if (sEng.trimmed().isEmpty()) {
        return true;
    }
    const QVariant known =
        db.scalar(QStringLiteral("SELECT count(*) FROM engineers WHERE Engineer = ?"), {sEng});
    if (!known.isValid()) {
        return false;
    }
    return known.toInt() > 0 ||
           db.exec(QStringLiteral("INSERT INTO engineers (Engineer) VALUES (?)"), {sEng});
}

bool DeleteEngineer(Database& db, const QString& sEng) {
    return db.exec(QStringLiteral("DELETE FROM engineers WHERE Engineer = ?"), {sEng});
}

std::optional<double> readPrice(const QString& text, const QString& currencySymbol, bool* valid) {
    QString amount = text.trimmed();
    if (!currencySymbol.isEmpty()) {
        amount.remove(currencySymbol);
    }
    amount.remove(u',').remove(u' ');
    *valid = true;
    if (amount.isEmpty()) {
        return std::nullopt;
    }
    double value = 0;
    *valid = numbers::isNumber(amount, &value);
    if (!*valid) {
        return std::nullopt;
    }
    return numbers::roundHalfEven(value, 2);
}

QString formatPrice(double amount, const QString& currencySymbol) {
    return currencySymbol + numbers::format(amount, u"#,##0.00");
}
