#pragma once

#include "db/Database.h"
#include "setup/TableSource.h"

// The tables of an older database of our own engine, read through a connection of its own.
class SqliteSource : public TableSource {
public:
    explicit SqliteSource(const QString& file);

    bool isOpen() const { return db_.isOpen(); }

    QStringList tables() override;
    std::optional<QList<Column>> columns(const QString& table) override;
    qint64 rowCount(const QString& table) override;
    bool readRows(const QString& table, const RowVisitor& visit) override;
    QString error() const override { return error_; }

private:
    Database db_;
    QString error_;
};
