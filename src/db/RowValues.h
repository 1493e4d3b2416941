#pragma once

#include "db/SqlDialect.h"

#include <QStringList>
#include <QVariantList>

// The columns and values that one INSERT or UPDATE writes to a row. A text column that has a
// folded copy and a sort key gets them here, from the value written, so that every writer of
// such a column keeps them in step with it.
class RowValues {
public:
    RowValues(const SqlDialect& dialect, QString table);

    // The column as the schema spells it, and its value.
    RowValues& set(const QString& column, const QVariant& value);

    // "INSERT INTO table (...) VALUES (...)", its values being values().
    QString insert() const;
    // "UPDATE table SET ...", to which the caller adds its WHERE clause, and the values of that
    // clause after values().
    QString update() const;
    const QVariantList& values() const { return values_; }

private:
    void add(const QString& column, const QVariant& value);

    const SqlDialect& dialect_;
    QString table_;
    QStringList columns_;
    QVariantList values_;
};
