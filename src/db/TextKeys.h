#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

class SqlDialect;

// Text that is matched, searched or sorted is compared through values kept beside it, not
// through a collation of the engine: a folded copy (column "NameFolded") for = and LIKE, and,
// for the columns the screens and reports sort by, a sort key ("NameSortKey") for ORDER BY.
// Both are plain stored data under the engines' own byte order, so any tool that checks,
// rebuilds or copies the file keeps them whole, and both engines give the same rows in the same
// order.
namespace textkeys {

// The text with every letter's case folded: two texts that differ only in case fold alike.
QString folded(const QString& text);
// Bytes whose plain byte order is the order readers expect: ICU's root collation at the second
// strength (accents count, case does not).
QByteArray sortKey(const QString& text);
// The collator's version, "major.minor.patch.build"; keys made by different versions may
// order differently.
QString collatorVersion();

QString foldedColumn(const QString& column);
QString sortKeyColumn(const QString& column);

// One column that has a folded copy, and a sort key where it is sorted by.
struct Keyed {
    QString table;
    QString column;
    bool sorted = false;
};
// The folded copy's column, then the sort key's where there is one.
QStringList derivedColumns(const Keyed& keyed);
// The same columns, each with the type the engine stores it as.
QList<std::pair<QString, QString>> derivedColumnTypes(const Keyed& keyed, const SqlDialect& d);
// Every such column, table by table.
const QList<Keyed>& all();
// Those of one table (its name compared without regard to case).
QList<Keyed> of(const QString& table);
// The entry for a table's column, or nothing.
const Keyed* find(const QString& table, const QString& column);

// The derived values of a value written to a column: the folded copy, then the sort key where
// the column has one. A null stays null.
QVariant foldedValue(const QVariant& value);
QVariant sortKeyValue(const QVariant& value);

// A condition on a column and the value it binds as its one parameter.
struct Condition {
    QString sql;
    QVariant value;
};
// The column equals the text, or differs from it, without regard to case.
Condition equals(const QString& column, const QString& text);
Condition differs(const QString& column, const QString& text);
// The column matches a LIKE pattern ("\" escapes), without regard to case.
Condition like(const QString& column, const QString& pattern);

// What ORDER BY names for a table's column: its sort key, or the column itself when it has
// none; rows without a value come first on both engines.
QString orderBy(const QString& table, const QString& column);

}  // namespace textkeys
