#pragma once

#include "setup/TableSource.h"

#include <QMap>

// Tables held in memory, read as a database file's would be. A table may be made to fail after
// a number of rows, as a damaged file does.
class FakeSource : public TableSource {
public:
    struct Table {
        QList<Column> columns;
        QList<QVariantList> rows;
        int failAfter = -1;
    };

    void add(const QString& name, QList<Column> columns, QList<QVariantList> rows = {});
    Table& table(const QString& name) { return tables_[name]; }

    QStringList tables() override { return order_; }
    std::optional<QList<Column>> columns(const QString& table) override;
    qint64 rowCount(const QString& table) override;
    bool readRows(const QString& table, const RowVisitor& visit) override;
    QString error() const override { return error_; }

private:
    QStringList order_;
    QMap<QString, Table> tables_;
    QString error_;
};

// Columns of one kind.
QList<TableSource::Column> textColumns(const QStringList& names);
