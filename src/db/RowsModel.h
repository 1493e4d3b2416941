#pragma once

#include "db/Rows.h"

#include <QAbstractTableModel>
#include <functional>

// A grid's rows straight from a query: each column shows one field of the rows, turned into
// text only when the view asks for it, so a grid of a hundred thousand rows fills at once.
class RowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString header;
        QString field;
        // Turns the stored value into the shown text; the value's own text when absent.
        std::function<QString(const QVariant&)> format = {};
        // The width the column is given, in twips; 0 hides it.
        int widthTwips = 1200;
    };

    explicit RowsModel(QList<Column> columns, QObject* parent = nullptr);

    // Shows these rows in place of the ones before.
    void setRows(Rows rows);
    void clear() { setRows(Rows()); }
    const Rows& rows() const { return rows_; }
    const QList<Column>& columns() const { return columns_; }
    void setHeader(int column, const QString& header);
    // The stored value of a cell, by the column's field.
    QVariant value(int row, const QString& field) const { return rows_.value(row, field); }
    // The shown text of a cell.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // Adds rows of the same columns after those shown.
    void appendRows(const Rows& more);

private:
    QList<Column> columns_;
    QList<int> sources_;  // each column's position in the rows, or -1
    Rows rows_;
};
