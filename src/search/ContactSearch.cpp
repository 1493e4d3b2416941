#include "search/ContactSearch.h"

#include "db/Database.h"
#include "db/TextIndex.h"
#include "db/TextKeys.h"

#include <QVariantList>

namespace search {

std::optional<Rows> searchContacts(Database& db, const QString& text, bool clients,
                                   textindex::Through through) {
    const QString find = text.trimmed();
    const QString table = clients ? QStringLiteral("clients") : QStringLiteral("customers");
    const QString columns = clients ? QStringLiteral("SELECT Name, Address, Contact AS Telephone, "
                                                     "DummyId FROM clients")
                                    : QStringLiteral("SELECT Name, Address, Telephone, DummyId "
                                                     "FROM customers");
    const QString order = QStringLiteral(" ORDER BY ") +
                          textkeys::orderBy(table, QStringLiteral("Name")) +
                          QStringLiteral(", DummyId");
    if (find.isEmpty()) {
        return db.query(columns + order);
    }
    return textindex::answer(db, [&](textindex::Through via) {
        const textindex::Condition found = textindex::contains(
            db, table, find, {}, through == textindex::Through::Scan ? through : via);
        return db.query(columns + QStringLiteral(" WHERE ") + found.sql + order, found.params);
    });
}

QList<resultexport::Column> contactSearchColumns() {
    return {{QStringLiteral("Name"), QStringLiteral("Name")},
            {QStringLiteral("Address"), QStringLiteral("Address")},
            {QStringLiteral("Telephone"), QStringLiteral("Telephone")}};
}

}  // namespace search
