#include "setup/PickList.h"

#include "startup/Database.h"

PickList::PickList(Database& db, QString table, QString field)
    : db_(db), table_(std::move(table)), field_(std::move(field)) {}

QStringList PickList::entries() {
    QStringList out;
    if (const auto rows = db_.query(QStringLiteral("SELECT ") + field_ + QStringLiteral(" FROM ") +
                                    table_ + QStringLiteral(" ORDER BY rowid"))) {
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
    return db_.exec(QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE rowid = (") +
                        QStringLiteral("SELECT rowid FROM ") + table_ + QStringLiteral(" WHERE ") +
                        field_ + QStringLiteral(" = ? ORDER BY rowid LIMIT 1)"),
                    {entry});
}
