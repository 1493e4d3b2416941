#include "db/RowVersion.h"

#include "common/DateText.h"
#include "db/Database.h"
#include "db/RowValues.h"

namespace rowversion {

QString columns() {
    return kNumber + QStringLiteral(", ") + kBy + QStringLiteral(", ") + kAt;
}

RowVersion read(const Rows& rows, int row) {
    RowVersion version;
    const QVariant number = rows.value(row, kNumber);
    // A row written before versions were kept counts as the first version.
    version.number = number.isNull() ? 1 : number.toLongLong();
    version.changedBy = rows.text(row, kBy);
    version.changedAt = datetext::fromStored(rows.value(row, kAt));
    return version;
}

QString nextAssignments() {
    return kNumber + QStringLiteral(" = ") + kNumber + QStringLiteral(" + 1, ") + kBy +
           QStringLiteral(" = ?, ") + kAt + QStringLiteral(" = ?");
}

QVariantList nextValues(const SaveStamp& stamp) {
    return {stamp.by.isNull() ? QStringLiteral("") : stamp.by, datetext::toStored(stamp.at)};
}

QVariantList firstValues(const SaveStamp& stamp) {
    return QVariantList{1} + nextValues(stamp);
}

void setFirst(RowValues& row, const SaveStamp& stamp) {
    const QVariantList first = firstValues(stamp);
    row.set(kNumber, first.at(0)).set(kBy, first.at(1)).set(kAt, first.at(2));
}

std::optional<RowVersion> stored(Database& db, const QString& table, const QString& keyColumn,
                                 const QVariant& key, bool* failed) {
    const std::optional<Rows> rows =
        db.query(QStringLiteral("SELECT ") + columns() + QStringLiteral(" FROM ") + table +
                     QStringLiteral(" WHERE ") + keyColumn + QStringLiteral(" = ?"),
                 {key});
    *failed = !rows.has_value();
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    return read(*rows, 0);
}

}  // namespace rowversion
