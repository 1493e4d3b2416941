#pragma once

#include "setup/TableSource.h"

// The tables of a database of the earlier Windows release (Jet 3, Jet 4 or ACE), read with
// mdbtools' libmdb. Nothing is ever written to the file.
class JetSource : public TableSource {
public:
    // Opens the file; check isOpen() and error().
    explicit JetSource(const QString& file);
    ~JetSource() override;
    JetSource(const JetSource&) = delete;
    JetSource& operator=(const JetSource&) = delete;

    bool isOpen() const { return handle_ != nullptr; }

    QStringList tables() override;
    std::optional<QList<Column>> columns(const QString& table) override;
    qint64 rowCount(const QString& table) override;
    bool readRows(const QString& table, const RowVisitor& visit) override;
    QString error() const override { return error_; }

private:
    bool fail(const QString& reason);

    // libmdb's handle, whose type cannot be declared ahead of its header.
    void* handle_ = nullptr;
    QString file_;
    QString error_;
};
