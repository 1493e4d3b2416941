#include "setup/PickList.h"

#include "startup/Database.h"

PickList::PickList(Database& db, QString table, QString field)
    : db_(db), table_(std::move(table)), field_(std::move(field)) {}

QStringList PickList::entries() {
    QStringList out;
    if (const auto rows = db_.query(QStringLiteral("SELECT ") + field_ + QStringLiteral(" FROM ") +
                                    table_ + QStringLiteral(" ORDER BY ") +
                                    db_.dialect().rowKey())) {
        for (int i = 0; i < rows->count(); ++i) {
            out << rows->text(i, field_);
        }
    }
    return out;
}

bool PickList::add(const QString& entry) {
    return db_.exec(QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") + field_ +
                        QStringLiteral(") VALUES (?)"),
                    {entry});
}

bool PickList::remove(const QString& entry) {
    // Only the first of several equal entries goes.
    const QString key = db_.dialect().rowKey();
    return db_.exec(QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE ") + key +
                        QStringLiteral(" = (SELECT ") + key + QStringLiteral(" FROM ") + table_ +
                        QStringLiteral(" WHERE ") + field_ + QStringLiteral(" = ? ORDER BY ") +
                        key + QStringLiteral(" LIMIT 1)"),
                    {entry});
}
