#include "setup/PickList.h"

#include "db/Database.h"
#include "db/RowValues.h"
#include "db/TextKeys.h"

namespace setupvalues {

PickList::PickList(Database& db, QString table, QString field)
    : db_(db), table_(std::move(table)), field_(std::move(field)) {}

QStringList PickList::entries() {
    QStringList out;
    if (const auto rows =
            db_.query(QStringLiteral("SELECT ") + field_ + QStringLiteral(" FROM ") + table_ +
                      QStringLiteral(" ORDER BY ") + db_.dialect().entryOrder())) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->text(i, field_);
        }
    }
    return out;
}

bool PickList::add(const QString& entry) {
    RowValues row(db_.dialect(), table_);
    row.set(field_, entry);
    return db_.exec(row.insert(), row.values());
}

bool PickList::remove(const QString& entry) {
    // Only the first of several equal entries goes.
    const QString key = db_.dialect().rowKey();
    const textkeys::Condition same = textkeys::equals(field_, entry);
    return db_.exec(QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE ") + key +
                        QStringLiteral(" = (SELECT ") + key + QStringLiteral(" FROM ") + table_ +
                        QStringLiteral(" WHERE ") + same.sql + QStringLiteral(" ORDER BY ") +
                        db_.dialect().entryOrder() + QStringLiteral(" LIMIT 1)"),
                    {same.value});
}

}  // namespace setupvalues
