#include "setup/TableCopy.h"

#include "db/Database.h"
#include "db/Rows.h"

#include <QStringList>

namespace {

// A name as the server spells it, quoted so that its case holds.
QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

}  // namespace

namespace backup {

std::optional<int> copyTable(Database& from, Database& to, const QString& table) {
    const QStringList source = from.columns(table);
    const QStringList target = to.columns(table);
    QStringList sourceNames;
    QStringList targetNames;
    for (const QString& column : source) {
        for (const QString& name : target) {
            if (name.compare(column, Qt::CaseInsensitive) == 0) {
                sourceNames << quoted(column);
                targetNames << quoted(name);
            }
        }
    }
    const qsizetype width = sourceNames.size();
    // In the order the rows were added, so that the lists keep theirs.
    const bool identified = source.contains(QStringLiteral("DummyId"), Qt::CaseInsensitive);
    const auto rows =
        from.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                       .arg(sourceNames.join(QStringLiteral(", ")), table,
                            identified ? QStringLiteral("DummyId") : from.dialect().rowKey()));
    if (!rows || !to.exec(QStringLiteral("DELETE FROM ") + table)) {
        return std::nullopt;
    }
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, targetNames.join(QStringLiteral(", ")),
                 QStringList(width, QStringLiteral("?")).join(QStringLiteral(", ")));
    for (int r = 0; r < rows->count(); ++r) {
        QVariantList values;
        for (int c = 0; c < width; ++c) {
            values << rows->at(r, c);
        }
        if (!to.exec(insert, values)) {
            return std::nullopt;
        }
    }
    // New rows on the server carry on after the highest identity copied.
    if (to.onServer() && target.contains(QStringLiteral("dummyid")) &&
        !to.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'dummyid'), "
                                "COALESCE((SELECT max(dummyid) FROM %1), 0) + 1, false)")
                     .arg(table),
                 {table.toLower()})) {
        return std::nullopt;
    }
    return rows->count();
}

}  // namespace backup
