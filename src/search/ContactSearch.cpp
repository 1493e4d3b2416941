#include "search/ContactSearch.h"

#include "db/Database.h"
#include "db/TextKeys.h"

#include <QVariantList>

namespace search {

std::optional<Rows> searchContacts(Database& db, const QString& text, bool clients) {
    const QString find = text.trimmed();
    QString sql = clients ? QStringLiteral(
                                "SELECT Name, Address, Contact AS Telephone, DummyId "
                                "FROM clients")
                          : QStringLiteral(
                                "SELECT Name, Address, Telephone, DummyId "
                                "FROM customers");
    QVariantList params;
    if (!find.isEmpty()) {
        const QString pattern = SqlDialect::containsPattern(find);
        const textkeys::Condition name = textkeys::like(QStringLiteral("Name"), pattern);
        const textkeys::Condition address = textkeys::like(QStringLiteral("Address"), pattern);
        sql += QStringLiteral(" WHERE (") + name.sql + QStringLiteral(" OR ") + address.sql + u')';
        params << name.value << address.value;
    }
    sql += QStringLiteral(" ORDER BY ") +
           textkeys::orderBy(clients ? QStringLiteral("clients") : QStringLiteral("customers"),
                             QStringLiteral("Name")) +
           QStringLiteral(", DummyId");
    return db.query(sql, params);
}

}  // namespace search
