#include "setup/OlderImport.h"

#include "records/Counters.h"

#include "db/Database.h"
#include "db/RowValues.h"
#include "setup/Progress.h"
#include "setup/TableSource.h"

#include <QDateTime>
#include <QHash>

namespace olderimport {

namespace {

enum class Conv { Text, Number, Date, Constant };

// One target field: its value is made from the older row's fields (texts joined by line
// breaks), or is a constant.
struct Field {
    QString target;
    QStringList sources;
    Conv conv = Conv::Text;
    QVariant constant;
};

struct Step {
    QString olderTable;
    QString targetTable;
    QString caption;
    QList<Field> fields;
    QString emptyFirst;   // a statement run before the rows are copied
    bool updateCounters = false;
    // The older columns without which a row means nothing: a table lacking one is passed over.
    QStringList needs = {};
};

const QString kLineBreak = QStringLiteral("\r\n");

Field text(const QString& name) { return {name, {name}, Conv::Text, {}}; }
Field text(const QString& target, const QString& source) { return {target, {source}, Conv::Text, {}}; }
Field number(const QString& name) { return {name, {name}, Conv::Number, {}}; }
Field number(const QString& target, const QString& source) {
    return {target, {source}, Conv::Number, {}};
}
Field date(const QString& name) { return {name, {name}, Conv::Date, {}}; }
Field constant(const QString& target, const QVariant& value) {
    return {target, {}, Conv::Constant, value};
}
Field joined(const QString& target, const QStringList& sources) {
    return {target, sources, Conv::Text, {}};
}

QList<Field> emptyContactFields() {
    QList<Field> out{constant(QStringLiteral("Email"), QStringLiteral(""))};
    for (int i = 2; i <= 7; ++i) {
        out << constant(QStringLiteral("Unused%1").arg(i), QStringLiteral(""));
    }
    return out;
}

// The customers of one of the older address lists.
Step addressList(const QString& table, const QStringList& addressParts) {
    QList<Field> fields{number(QStringLiteral("ClientID"), QStringLiteral("ID")),
                        text(QStringLiteral("Name")),
                        joined(QStringLiteral("Address"), addressParts),
                        text(QStringLiteral("Contact")),
                        text(QStringLiteral("Telephone"), QStringLiteral("Tel")),
                        constant(QStringLiteral("TypeID"), 0)};
    return {table, QStringLiteral("customers"), QStringLiteral("Updating ") + table,
            fields + emptyContactFields(), {}, false, {QStringLiteral("Name")}};
}

QList<Step> steps() {
    const QStringList threeLines{QStringLiteral("Add1"), QStringLiteral("add2"),
                                 QStringLiteral("Add3"), QStringLiteral("PCode")};
    QList<Field> jobFields{number(QStringLiteral("JobNo"))};
    for (const char* name : {"JobStatus", "IntroducedBy", "WorkDetails", "WorkName",
                             "HomeAddress", "HomeNumbers", "WorkNotes"}) {
        jobFields << text(QString::fromLatin1(name));
    }
    for (const char* name : {"DateReceived", "DateDue", "DateCreated", "DateCompleted"}) {
        jobFields << date(QString::fromLatin1(name));
    }
    jobFields << text(QStringLiteral("ClientRef")) << date(QStringLiteral("DateQuoted"));
    // The older CompanyName and CustName have no column in the current Jobs table; the names
    // they held are the job's CliName and WorkName, which are copied.
    for (const char* name : {"CliName", "CliAddress", "CliNumbers", "CliNotes"}) {
        jobFields << text(QString::fromLatin1(name));
    }
    jobFields << constant(QStringLiteral("CustRef"), QStringLiteral(""))
              << constant(QStringLiteral("Unused1"), QStringLiteral(""));

    return {
        {QStringLiteral("clients"), QStringLiteral("clients"), QStringLiteral("Updating Clients"),
         // The current clients table has no Tel column: the older telephone goes into Telephone.
         QList<Field>{text(QStringLiteral("Name")), text(QStringLiteral("Address")),
                      text(QStringLiteral("Telephone"), QStringLiteral("Tel")),
                      text(QStringLiteral("Contact")), text(QStringLiteral("Notes"))} +
             emptyContactFields(),
         {}, false, {QStringLiteral("Name")}},
        {QStringLiteral("counters"), QStringLiteral("Counters"),
         QStringLiteral("Updating Counters"),
         {number(QStringLiteral("FileCounter")), number(QStringLiteral("JobCounter")),
          number(QStringLiteral("Free2")), number(QStringLiteral("Free3"))},
         {}, true, {}},
        {QStringLiteral("customers"), QStringLiteral("customers"),
         QStringLiteral("Updating Customers"),
         QList<Field>{number(QStringLiteral("ClientID")), text(QStringLiteral("Name")),
                      text(QStringLiteral("Address")),
                      text(QStringLiteral("Contact"), QStringLiteral("ContactNos")),
                      constant(QStringLiteral("Telephone"), QStringLiteral("")),
                      constant(QStringLiteral("TypeID"), 1)} +
             emptyContactFields(),
         {}, false, {QStringLiteral("Name")}},
        {QStringLiteral("docs"), QStringLiteral("Docs"), QStringLiteral("Updating Docs"),
         {number(QStringLiteral("JobNumber")), text(QStringLiteral("FileName")),
          date(QStringLiteral("Date")), text(QStringLiteral("Title")),
          text(QStringLiteral("AddressType")), text(QStringLiteral("DocType"))},
         {}, false, {QStringLiteral("JobNumber"), QStringLiteral("FileName")}},
        {QStringLiteral("DocType"), QStringLiteral("DocType"), QStringLiteral("Updating Doc Types"),
         {text(QStringLiteral("DocType"))}, {}, false, {QStringLiteral("DocType")}},
        addressList(QStringLiteral("Quillon"), threeLines),
        addressList(QStringLiteral("Marbeck"),
                    {QStringLiteral("Add1"), QStringLiteral("add2"), QStringLiteral("PCode")}),
        addressList(QStringLiteral("Pendry"), threeLines),
        {QStringLiteral("IntroducedBy"), QStringLiteral("IntroducedBy"),
         QStringLiteral("Updating Introducers"), {text(QStringLiteral("IntroducedBy"))}, {}, false,
         {QStringLiteral("IntroducedBy")}},
        {QStringLiteral("Jobs"), QStringLiteral("Jobs"), QStringLiteral("Updating Jobs"), jobFields,
         {}, false, {QStringLiteral("JobNo")}},
        {QStringLiteral("JobStatus"), QStringLiteral("jobStatus"),
         QStringLiteral("Updating Job Status"), {text(QStringLiteral("Status"))},
         QStringLiteral("DELETE FROM jobStatus"), false, {QStringLiteral("Status")}},
        {QStringLiteral("Labels"), QStringLiteral("labels"), QStringLiteral("Updating Labels"),
         {number(QStringLiteral("Index")), text(QStringLiteral("Text"))},
         QStringLiteral("DELETE FROM labels"), false,
         {QStringLiteral("Index"), QStringLiteral("Text")}},
    };
}

QString textOf(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return QStringLiteral("");
    }
    if (v.typeId() == QMetaType::QDateTime) {
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    return v.toString();
}

// A value the target field cannot take is left out, as a value of the wrong type would be.
QVariant numberOf(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return {};
    }
    if (v.typeId() == QMetaType::Bool) {
        return qlonglong(v.toBool() ? -1 : 0);
    }
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok) {
        return {};
    }
    return d == double(qlonglong(d)) ? QVariant(qlonglong(d)) : QVariant(d);
}

QVariant dateOf(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return {};
    }
    if (v.typeId() == QMetaType::QDateTime) {
        return v;
    }
    const QString s = v.toString().trimmed();
    for (const char* format : {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime moment = QDateTime::fromString(s, QString::fromLatin1(format));
        if (moment.isValid()) {
            return moment;
        }
    }
    return {};
}

// One step's rows inside the import's transaction: kept together, or undone together when the
// step cannot finish, leaving the other steps' rows.
class StepSavepoint {
public:
    explicit StepSavepoint(Database& db)
        : db_(db), active_(db.exec(QStringLiteral("SAVEPOINT import_step"))) {}
    ~StepSavepoint() {
        if (active_) {
            db_.exec(QStringLiteral("ROLLBACK TO SAVEPOINT import_step"));
            db_.exec(QStringLiteral("RELEASE SAVEPOINT import_step"));
        }
    }
    StepSavepoint(const StepSavepoint&) = delete;
    StepSavepoint& operator=(const StepSavepoint&) = delete;

    bool active() const { return active_; }
    bool commit() {
        active_ = false;
        return db_.exec(QStringLiteral("RELEASE SAVEPOINT import_step"));
    }

private:
    Database& db_;
    bool active_;
};

class StepRunner {
public:
    StepRunner(Database& db, TableSource& older, Progress& progress)
        : db_(db), older_(older), progress_(progress) {}

    StepResult run(const Step& step) {
        StepResult result{step.olderTable, step.caption, 0, false, {}, {}};
        progress_.status(step.caption);
        progress_.progress(0, 1);
        const QString table = older_.findTable(step.olderTable);
        if (table.isEmpty()) {
            return skip(result, QStringLiteral("the older database has no table %1")
                                    .arg(step.olderTable));
        }
        const auto columns = older_.columns(table);
        if (!columns) {
            return skip(result, older_.error());
        }
        QHash<QString, int> position;
        for (int i = 0; i < columns->size(); ++i) {
            position.insert((*columns)[i].name.toLower(), i);
        }
        const auto has = [&](const QString& source) { return position.contains(source.toLower()); };
        QStringList needed;
        for (const QString& column : step.needs) {
            if (!has(column)) {
                needed << column;
            }
        }
        if (!needed.isEmpty()) {
            return skip(result, QStringLiteral("the table %1 has no column %2")
                                    .arg(table, needed.join(QStringLiteral(", "))));
        }
        // A field whose older column is missing is left empty; a counter keeps its value.
        QList<Field> fields;
        for (const Field& f : step.fields) {
            bool complete = true;
            for (const QString& source : f.sources) {
                if (!has(source)) {
                    result.missingColumns << source;
                    complete = false;
                }
            }
            if (complete || !step.updateCounters) {
                fields << f;
            }
        }
        if (fields.isEmpty()) {
            return skip(result, QStringLiteral("the table %1 has none of the columns %2")
                                    .arg(table, result.missingColumns.join(QStringLiteral(", "))));
        }

        const qint64 total = qMax<qint64>(older_.rowCount(table), 1);
        StepSavepoint tx(db_);
        if (!tx.active() || (!step.emptyFirst.isEmpty() && !db_.exec(step.emptyFirst))) {
            return skip(result, db_.lastError().message);
        }
        QVariantList params;
        const bool read = older_.readRows(table, [&](const QVariantList& row) {
            params.clear();
            for (const Field& f : fields) {
                params << valueFor(f, row, position);
            }
            if (saveRow(step, fields, params)) {
                ++result.rows;
            }
            progress_.progress(result.rows, qMax(total, result.rows));
            return true;
        });
        if (!read) {
            return skip(result, older_.error());
        }
        if (!tx.commit()) {
            result.rows = 0;
            return skip(result, db_.lastError().message);
        }
        if (!result.missingColumns.isEmpty()) {
            progress_.beep();
        }
        return result;
    }

private:
    StepResult skip(StepResult result, const QString& reason) {
        result.skipped = true;
        result.reason = reason;
        result.missingColumns.clear();
        progress_.beep();
        return result;
    }

    static QVariant valueFor(const Field& f, const QVariantList& row,
                             const QHash<QString, int>& position) {
        // A source the older table lacks reads as null: an empty text, or no number or date.
        auto at = [&](const QString& source) {
            const int i = position.value(source.toLower(), -1);
            return i < 0 ? QVariant() : row.value(i);
        };
        switch (f.conv) {
            case Conv::Constant: return f.constant;
            case Conv::Number: return numberOf(at(f.sources.first()));
            case Conv::Date: return dateOf(at(f.sources.first()));
            case Conv::Text: break;
        }
        QStringList parts;
        for (const QString& source : f.sources) {
            parts << textOf(at(source));
        }
        return parts.join(kLineBreak);
    }

    bool saveRow(const Step& step, const QList<Field>& fields, const QVariantList& values) {
        RowValues row(db_.dialect(), step.targetTable);
        for (qsizetype i = 0; i < fields.size(); ++i) {
            row.set(fields[i].target, values[i]);
        }
        bool ok = db_.exec(step.updateCounters ? row.update() : row.insert(), row.values());
        if (ok && step.updateCounters && db_.rowsAffected() == 0) {
            ok = db_.exec(row.insert(), row.values());
        }
        if (!ok && db_.lastError().condition != DbCondition::ErrorsOccurred) {
            progress_.beep();
        }
        return ok;
    }

    Database& db_;
    TableSource& older_;
    Progress& progress_;
};

}  // namespace

QList<StepResult> UpdateDatabase(Database& target, TableSource& older, Progress& progress,
                                 QStringList* corrected) {
    StepRunner runner(target, older, progress);
    QList<StepResult> results;
    // One transaction for the whole import: stopped half way, it leaves nothing behind, and it
    // can be run again without copying anything twice.
    Transaction tx(target);
    for (const Step& step : steps()) {
        results << runner.run(step);
    }
    // The counters brought are checked against the numbers now in use.
    const counters::Corrections checked = counters::correctAll(target);
    QString failure = checked.error;
    if (failure.isEmpty() && !tx.commit()) {
        failure = target.lastError().message;
    }
    if (!failure.isEmpty()) {
        for (StepResult& result : results) {
            result.skipped = true;
            result.rows = 0;
            result.reason = QStringLiteral("the import could not be completed, so nothing was "
                                           "imported: ") +
                            failure;
        }
        return results;
    }
    if (corrected) {
        *corrected = checked.messages;
    }
    return results;
}

bool nothingImported(const QList<StepResult>& steps) {
    for (const StepResult& s : steps) {
        if (!s.skipped) {
            return false;
        }
    }
    return true;
}

QStringList passedOver(const QList<StepResult>& steps) {
    QStringList lines;
    for (const StepResult& s : steps) {
        if (s.skipped) {
            lines << QStringLiteral("%1: passed over, %2").arg(s.olderTable, s.reason);
        } else if (!s.missingColumns.isEmpty()) {
            lines << QStringLiteral("%1: %2 %3 copied without the %4 %5, which the older "
                                    "table lacks")
                         .arg(s.olderTable)
                         .arg(s.rows)
                         .arg(s.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
                              s.missingColumns.size() == 1 ? QStringLiteral("column")
                                                           : QStringLiteral("columns"),
                              s.missingColumns.join(QStringLiteral(", ")));
        }
    }
    return lines;
}

}  // namespace olderimport
