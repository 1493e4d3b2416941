#include "jobs/JobStore.h"

#include "common/Numbers.h"
#include "db/RowValues.h"
#include "db/TextKeys.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/DateFormats.h"

#include <QStringList>

namespace jobs {

namespace {

// Texts are written as they stand, and never as null.
QVariant text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}

// The job's one row: with numbers given by hand a number may stand twice, and the first row
// is the job the screen shows.
const QString kTheJobsRow =
    QStringLiteral("DummyId = (SELECT min(DummyId) FROM Jobs WHERE JobNo = ?)");

struct Assignment {
    QString column;
    QVariant value;
};

// The columns a save writes, in their order, with the dates and the price only when valid.
QList<Assignment> assignments(const JobFormat& format, const JobFields& f, qint32 jobNo) {
    QList<Assignment> out;
    auto date = [&](const char* column, const QString& box) {
        const QString name = QString::fromLatin1(column);
        const datetext::Shown behind = f.shownDates.value(name);
        if (behind.date.isValid() && behind.text == box) {
            out.append({name, datetext::toStored(behind.date)});
        } else if (const auto moment = readDateText(format.dates, box)) {
            out.append({name, datetext::toStored(*moment)});
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
    date("Date", f.InvoiceDate);
    bool priceValid = true;
    const auto price = readPrice(f.Price, format.currencySymbol, &priceValid);
    if (priceValid) {
        out.append({QStringLiteral("Price"), price ? QVariant(*price) : QVariant()});
    }
    return out;
}

RowValues jobRow(Database& db, const QList<Assignment>& values) {
    RowValues row(db.dialect(), QStringLiteral("Jobs"));
    for (const Assignment& a : values) {
        row.set(a.column, a.value);
    }
    return row;
}

// Adds the job's row at its first version; its identity, or nothing.
std::optional<qint64> insertJob(Database& db, const QList<Assignment>& values,
                                const SaveStamp& stamp) {
    RowValues row = jobRow(db, values);
    rowversion::setFirst(row, stamp);
    return db.insert(row.insert(), row.values());
}

// Writes the job over the version it was read at; no row changes when that is not the version
// stored now.
bool updateJob(Database& db, const QList<Assignment>& values, const JobRow& base,
               const SaveStamp& stamp) {
    const RowValues row = jobRow(db, values);
    return db.exec(row.update() + QStringLiteral(", ") + rowversion::nextAssignments() +
                       QStringLiteral(" WHERE DummyId = ? AND ") + rowversion::kNumber +
                       QStringLiteral(" = ?"),
                   row.values() + rowversion::nextValues(stamp) +
                       QVariantList{base.rowId, base.version.number});
}

// One row per name in clients or customers, with the job's address and contact. The name is
// kept, and looked up, without the blanks around it. A row that changes moves on a version.
bool updateContactTable(Database& db, const QString& table, const QString& typedName,
                        const QString& address, const QString& contact, const SaveStamp& stamp) {
    const QString name = typedName.trimmed();
    if (name.isEmpty()) {
        return true;
    }
    RowValues row(db.dialect(), table);
    row.set(QStringLiteral("Name"), text(name))
        .set(QStringLiteral("Address"), text(address.trimmed()))
        .set(QStringLiteral("Contact"), text(contact.trimmed()));
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Name"), name);
    const std::optional<Rows> found =
        db.query(QStringLiteral("SELECT DummyId, Name, Address, Contact FROM ") + table +
                     QStringLiteral(" WHERE DummyId = (SELECT min(DummyId) FROM ") + table +
                     QStringLiteral(" WHERE ") + named.sql + u')',
                 {named.value});
    if (!found) {
        return false;
    }
    if (found->isEmpty()) {
        rowversion::setFirst(row, stamp);
        return db.exec(row.insert(), row.values());
    }
    if (found->text(0, QStringLiteral("Name")) == name &&
        found->text(0, QStringLiteral("Address")) == address.trimmed() &&
        found->text(0, QStringLiteral("Contact")) == contact.trimmed()) {
        return true;  // as it was: no new version for the address book to follow
    }
    return db.exec(row.update() + QStringLiteral(", ") + rowversion::nextAssignments() +
                       QStringLiteral(" WHERE DummyId = ?"),
                   row.values() + rowversion::nextValues(stamp) +
                       QVariantList{found->value(0, QStringLiteral("DummyId"))});
}

// Moving the counters row first queues a second workstation that checks the same number at the
// same moment behind this save, so it sees this job when it checks. The job that holds the
// number, if any (empty, with the last error set, when it could not be told).
QString holderOfNumber(Database& db, qint32 number) {
    if (!db.exec(QStringLiteral("UPDATE Counters SET JobCounter = JobCounter"))) {
        return {};
    }
    return jobHoldingNumber(db, number);
}

}  // namespace

JobFormat jobFormat(const AppState& app) {
    return {dateStyle(app), app.CurrencySymbol};
}

LoadedJob readJob(Database& db, const JobFormat& format, qint32 jobNo) {
    LoadedJob job;
    const auto rows = db.query(QStringLiteral("SELECT * FROM Jobs WHERE ") + kTheJobsRow, {jobNo});
    if (!rows) {
        const DbError& e = db.lastError();
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
        return rows->text(0, QString::fromLatin1(field))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    JobFields& f = job.fields;
    auto d = [&](const char* field) {
        const QString name = QString::fromLatin1(field);
        const QDateTime stored = datetext::fromStored(rows->value(0, name));
        const QString shown = formatDisplayDate(format.dates, stored);
        if (stored.isValid()) {
            f.shownDates.insert(name, {shown, stored});
        }
        return shown;
    };
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
    f.Price = price.isNull() ? QString() : formatPrice(price.toDouble(), format.currencySymbol);
    job.row = {rows->integer(0, QStringLiteral("DummyId")), rowversion::read(*rows, 0)};
    job.outcome = LoadedJob::Outcome::Found;
    return job;
}

std::optional<RowVersion> storedJobVersion(Database& db, qint64 rowId, bool* failed) {
    return rowversion::stored(db, QStringLiteral("Jobs"), QStringLiteral("DummyId"), rowId, failed);
}

SavedJob writeJob(Database& db, const JobFormat& format, const SaveStamp& stamp,
                  const JobFields& fields, qint32 jobNo, std::optional<qint32> manualNumber,
                  const JobRow& base) {
    SavedJob saved;
    auto failed = [&] {
        saved.error = db.lastError().message;
        return saved;
    };
    Transaction tx(db);
    if (!tx.active()) {
        return failed();
    }
    qint32 number = jobNo;
    JobRow row{0, {1, stamp.by, stamp.at}};
    std::optional<qint64> written;
    if (number == 0 && !manualNumber) {
        const counters::Taken taken = GetCounter(db, 1);
        if (!taken) {
            saved.error = taken.error;
            return saved;
        }
        number = *taken;
        written = insertJob(db, assignments(format, fields, number), stamp);
    } else if (number != 0 && base.version.stored()) {
        if (!updateJob(db, assignments(format, fields, number), base, stamp)) {
            return failed();
        }
        if (db.rowsAffected() == 0) {
            // Saved or deleted at another workstation since it was read: nothing is written.
            bool unreadable = false;
            const std::optional<RowVersion> now = storedJobVersion(db, base.rowId, &unreadable);
            if (unreadable) {
                return failed();
            }
            saved.outcome = now ? SaveOutcome::ChangedElsewhere : SaveOutcome::DeletedElsewhere;
            saved.jobNo = number;
            saved.row = {now ? base.rowId : 0, now.value_or(RowVersion{})};
            return saved;
        }
        written = base.rowId;
        row.version.number = base.version.number + 1;
    } else {
        // A number typed by hand, or the number of a job written again after it was deleted.
        number = number == 0 ? *manualNumber : number;
        saved.numberHeldBy = holderOfNumber(db, number);
        if (!saved.numberHeldBy.isEmpty() || !db.lastError().ok()) {
            return failed();
        }
        written = insertJob(db, assignments(format, fields, number), stamp);
    }
    const bool ok =
        written &&
        UpdateClientTable(db, fields.CliName, fields.CliAddress, fields.CliNumbers, stamp) &&
        UpdateCustomerTable(db, fields.WorkName, fields.HomeAddress, fields.HomeNumbers, stamp) &&
        SaveEngineer(db, fields.ClientRef.trimmed()) && tx.commit();
    if (!ok) {
        return failed();
    }
    row.rowId = *written;
    saved.outcome = SaveOutcome::Saved;
    saved.ok = true;
    saved.jobNo = number;
    saved.row = row;
    return saved;
}

QList<conflicts::Difference> jobDifferences(const CaptionSet& captions, const JobFields& theirs,
                                            const JobFields& mine) {
    QList<conflicts::Difference> out;
    auto compare = [&](Caption caption, const QString& a, const QString& b) {
        if (a == b) {
            return;
        }
        QString name = captions[caption];
        if (name.isEmpty()) {
            name = captions::defaults()[size_t(captionIndex(caption))];
        }
        if (!name.endsWith(u':')) {
            name += u':';
        }
        out.append({name, a, b});
    };
    auto plain = [&](const char* name, const QString& a, const QString& b) {
        if (a != b) {
            out.append({QString::fromLatin1(name), a, b});
        }
    };
    compare(Caption::JobStatus, theirs.JobStatus, mine.JobStatus);
    compare(Caption::IntroducedBy, theirs.IntroducedBy, mine.IntroducedBy);
    compare(Caption::ClientRef, theirs.ClientRef, mine.ClientRef);
    compare(Caption::WorkName, theirs.WorkName, mine.WorkName);
    compare(Caption::HomeAddress, theirs.HomeAddress, mine.HomeAddress);
    compare(Caption::HomeNumbers, theirs.HomeNumbers, mine.HomeNumbers);
    compare(Caption::WorkDetails, theirs.WorkDetails, mine.WorkDetails);
    compare(Caption::WorkNotes, theirs.WorkNotes, mine.WorkNotes);
    compare(Caption::DateCreated, theirs.DateCreated, mine.DateCreated);
    compare(Caption::DateReceived, theirs.DateReceived, mine.DateReceived);
    compare(Caption::DateDue, theirs.DateDue, mine.DateDue);
    compare(Caption::DateQuoted, theirs.DateQuoted, mine.DateQuoted);
    compare(Caption::DateCompleted, theirs.DateCompleted, mine.DateCompleted);
    compare(Caption::CustRef, theirs.CustRef, mine.CustRef);
    for (size_t i = 0; i < theirs.Unused.size(); ++i) {
        compare(kUnusedCaptions[i], theirs.Unused[i], mine.Unused[i]);
    }
    compare(Caption::CliName, theirs.CliName, mine.CliName);
    compare(Caption::CliAddress, theirs.CliAddress, mine.CliAddress);
    compare(Caption::CliNumbers, theirs.CliNumbers, mine.CliNumbers);
    compare(Caption::CliNotes, theirs.CliNotes, mine.CliNotes);
    plain("Invoice Status:", theirs.InvoiceStatus, mine.InvoiceStatus);
    plain("Price:", theirs.Price, mine.Price);
    plain("Invoice Date:", theirs.InvoiceDate, mine.InvoiceDate);
    return out;
}

bool deleteJob(Database& db, qint32 jobNo) {
    Transaction tx(db);
    return tx.active() && db.exec(QStringLiteral("DELETE FROM Jobs WHERE JobNo = ?"), {jobNo}) &&
           db.exec(QStringLiteral("DELETE FROM Docs WHERE JobNumber = ?"), {jobNo}) && tx.commit();
}

std::optional<qint32> GetNewJobNumber(Database& db, Prompter& prompter, bool manualNumbering) {
    if (!manualNumbering) {
        return GetCounter(db, 1).number;
    }
    return counters::askNumber(prompter, counters::Kind::Job,
                               QStringLiteral("Please enter the new job reference number"),
                               QStringLiteral("New Job Number"));
}

QString jobHoldingNumber(Database& db, qint32 jobNo) {
    const auto rows = db.query(
        QStringLiteral("SELECT WorkName, CliName FROM Jobs WHERE ") + kTheJobsRow, {jobNo});
    if (!rows || rows->isEmpty()) {
        return {};
    }
    QStringList names;
    for (const char* column : {"WorkName", "CliName"}) {
        const QString name = rows->text(0, QString::fromLatin1(column)).trimmed();
        if (!name.isEmpty()) {
            names << name;
        }
    }
    const QString job = QStringLiteral("job %1").arg(jobNo);
    return names.isEmpty() ? job
                           : job + QStringLiteral(" (") + names.join(QStringLiteral(", ")) + u')';
}

bool UpdateClientTable(Database& db, const QString& sName, const QString& sAddress,
                       const QString& sContact, const SaveStamp& stamp) {
    return updateContactTable(db, QStringLiteral("clients"), sName, sAddress, sContact, stamp);
}

bool UpdateCustomerTable(Database& db, const QString& sName, const QString& sAddress,
                         const QString& sContact, const SaveStamp& stamp) {
    return updateContactTable(db, QStringLiteral("customers"), sName, sAddress, sContact, stamp);
}

bool SaveEngineer(Database& db, const QString& sEng) {
    if (sEng.trimmed().isEmpty()) {
        return true;
    }
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Engineer"), sEng);
    const QVariant known = db.scalar(
        QStringLiteral("SELECT count(*) FROM engineers WHERE ") + named.sql, {named.value});
    if (!known.isValid()) {
        return false;
    }
    RowValues row(db.dialect(), QStringLiteral("engineers"));
    row.set(QStringLiteral("Engineer"), sEng);
    return known.toInt() > 0 || db.exec(row.insert(), row.values());
}

bool DeleteEngineer(Database& db, const QString& sEng) {
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Engineer"), sEng);
    return db.exec(QStringLiteral("DELETE FROM engineers WHERE ") + named.sql, {named.value});
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

}  // namespace jobs
