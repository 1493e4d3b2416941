#include "search/ContactSearch.h"

#include "startup/Database.h"

#include <QVariantList>

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
        sql += QStringLiteral(" WHERE (") + db.dialect().like(QStringLiteral("Name"), pattern) +
               QStringLiteral(" OR ") + db.dialect().like(QStringLiteral("Address"), pattern) +
               u')';
        params << pattern << pattern;
    }
    sql += QStringLiteral(" ORDER BY Name, DummyId");
    return db.query(sql, params);
}
