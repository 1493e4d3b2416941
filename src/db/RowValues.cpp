#include "db/RowValues.h"

#include "db/TextKeys.h"

RowValues::RowValues(const SqlDialect& dialect, QString table)
    : dialect_(dialect), table_(std::move(table)) {}

void RowValues::add(const QString& column, const QVariant& value) {
    columns_ << column;
    values_ << value;
}

RowValues& RowValues::set(const QString& column, const QVariant& value) {
    add(dialect_.column(column), value);
    if (const textkeys::Keyed* keyed = textkeys::find(table_, column)) {
        add(textkeys::foldedColumn(column), textkeys::foldedValue(value));
        if (keyed->sorted) {
            add(textkeys::sortKeyColumn(column), textkeys::sortKeyValue(value));
        }
    }
    return *this;
}

QString RowValues::insert() const {
    return QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") +
           columns_.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           QStringList(columns_.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')';
}

QString RowValues::update() const {
    return QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ") +
           columns_.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?");
}
