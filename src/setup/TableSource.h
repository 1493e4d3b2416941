#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

// The tables of another database file, read one row at a time: a database of the earlier
// Windows release (Jet) or an older database of our own engine.
//
// Values come as the types the copy keeps: texts as QString, whole numbers as qlonglong,
// amounts and other numbers as double, yes/no values as bool, dates as QDateTime, binary data as
// QByteArray; a null is an invalid QVariant.
class TableSource {
public:
    enum class Kind { Text, Integer, Real, Boolean, DateTime, Binary };
    struct Column {
        QString name;
        Kind kind = Kind::Text;
        bool autoNumber = false;
    };
    using RowVisitor = std::function<bool(const QVariantList& values)>;

    virtual ~TableSource() = default;

    // The user tables, in the file's own order.
    virtual QStringList tables() = 0;
    // A table's columns; nothing when the table cannot be read (see error()).
    virtual std::optional<QList<Column>> columns(const QString& table) = 0;
    // The number of rows the table holds, for progress; -1 when unknown.
    virtual qint64 rowCount(const QString& table) = 0;
    // Hands each row to the visitor, in the table's order, until the visitor returns false.
    // False when the table cannot be read to its end (see error()).
    virtual bool readRows(const QString& table, const RowVisitor& visit) = 0;
    virtual QString error() const = 0;

    // The table of that name, compared without regard to case, or an empty text.
    QString findTable(const QString& name);
};

// Opens a database file of either kind for reading; nothing, with the reason in *error, when
// the file is missing, unreadable or not a database.
std::unique_ptr<TableSource> openTableSource(const QString& file, QString* error);
