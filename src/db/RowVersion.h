#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <optional>

class Database;
class RowValues;
class Rows;

// The version of a record that several workstations edit (a job, a contact, an estimate): a
// number that every save moves on by one, with the workstation that saved it and when. A save
// names the version it started from and is refused when the stored record has moved on since,
// so no workstation silently overwrites another's work.
struct RowVersion {
    qint64 number = 0;  // 0: not stored (a new record, or one to be written again)
    QString changedBy;  // the workstation that saved it; empty for rows older than versions
    QDateTime changedAt;

    bool stored() const { return number > 0; }
    bool operator==(const RowVersion&) const = default;
};

// Who is saving, and when: written beside each new version.
struct SaveStamp {
    QString by;
    QDateTime at;
};

// What a save that names the version it started from came to.
enum class SaveOutcome {
    Saved,
    ChangedElsewhere,  // another workstation saved the record since; nothing was written
    DeletedElsewhere,  // another workstation deleted it since; nothing was written
    Failed,            // the database refused; nothing was written
};

namespace rowversion {

// The columns that hold a version: on Jobs, customers and clients, and on EstimateVersion,
// which holds the version of each estimate (an estimate is only its lines).
inline const QString kNumber = QStringLiteral("RowVersion");
inline const QString kBy = QStringLiteral("RowChangedBy");
inline const QString kAt = QStringLiteral("RowChangedAt");
inline const QString kEstimateTable = QStringLiteral("EstimateVersion");

// "RowVersion, RowChangedBy, RowChangedAt", for a SELECT or an INSERT.
QString columns();
// The version a row of a query holds.
RowVersion read(const Rows& rows, int row);
// The SET clause of a save that moves a stored row on, and its values.
QString nextAssignments();
QVariantList nextValues(const SaveStamp& stamp);
// The values of a row's first version, in the order of columns().
QVariantList firstValues(const SaveStamp& stamp);
// Adds the columns of a row's first version to an INSERT.
void setFirst(RowValues& row, const SaveStamp& stamp);

// The version of the row whose key column holds the key, as it is stored now: nothing when
// there is no such row, and *failed set when it could not be read.
std::optional<RowVersion> stored(Database& db, const QString& table, const QString& keyColumn,
                                 const QVariant& key, bool* failed);

}  // namespace rowversion
