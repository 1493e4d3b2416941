#include "FakeSource.h"

void FakeSource::add(const QString& name, QList<Column> columns, QList<QVariantList> rows) {
    order_ << name;
    tables_.insert(name, {std::move(columns), std::move(rows), -1});
}

std::optional<QList<TableSource::Column>> FakeSource::columns(const QString& table) {
    if (!tables_.contains(table)) {
        error_ = QStringLiteral("no table ") + table;
        return std::nullopt;
    }
    return tables_[table].columns;
}

qint64 FakeSource::rowCount(const QString& table) { return tables_.value(table).rows.size(); }

bool FakeSource::readRows(const QString& table, const RowVisitor& visit) {
    const Table& t = tables_[table];
    for (int i = 0; i < t.rows.size(); ++i) {
        if (i == t.failAfter) {
            error_ = QStringLiteral("the file ends inside the table ") + table;
            return false;
        }
        if (!visit(t.rows[i])) {
            break;
        }
    }
    return true;
}

QList<TableSource::Column> textColumns(const QStringList& names) {
    QList<TableSource::Column> out;
    for (const QString& n : names) {
        out << TableSource::Column{n, TableSource::Kind::Text, false};
    }
    return out;
}
