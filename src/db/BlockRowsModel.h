#pragma once

#include "db/RowsModel.h"

#include <functional>
#include <optional>

// A grid's rows read a block at a time as the view scrolls to them, so the first screen of a
// list of a million rows shows at once. How many rows there are in all is known when a block
// comes back short, or when the screen that counted them elsewhere says so; until then the view
// reads on while the blocks come back full. Ordering by a column reads the rows again in that
// column's order.
class BlockRowsModel : public RowsModel {
    Q_OBJECT
public:
    // Where the rows come from: limit of them from the offset-th on in the order of a field,
    // either way. Nothing on failure.
    struct Source {
        std::function<std::optional<Rows>(const QString& orderField, Qt::SortOrder order,
                                          qint64 offset, int limit)>
            block;
    };

    explicit BlockRowsModel(QList<Column> columns, int blockRows = 200, QObject* parent = nullptr);

    // Shows the source's first block of rows, ordered by orderField; false when the source
    // failed (the grid is then empty).
    bool show(Source source, const QString& orderField, Qt::SortOrder order = Qt::AscendingOrder);
    // Shows a first block read elsewhere, in orderField's order; the source reads the rest as the
    // view scrolls to them.
    void showRead(Source source, const QString& orderField, Qt::SortOrder order, Rows first);
    int blockRows() const { return blockRows_; }
    // How many rows the source holds, read or not, once that is known.
    std::optional<qint64> totalCount() const { return total_; }
    // The order the rows are read in.
    const QString& orderField() const { return orderField_; }
    Qt::SortOrder sortOrder() const { return order_; }
    // The source holds this many rows (counted elsewhere).
    void setTotal(qint64 total);

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // Orders by the column's field.
    void sort(int column, Qt::SortOrder order) override;

Q_SIGNALS:
    // A block could not be read; the grid keeps the rows it has.
    void readFailed();

private:
    bool readNext();
    void started(Source source, const QString& orderField, Qt::SortOrder order);

    Source source_;
    QString orderField_;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    int blockRows_;
    std::optional<qint64> total_;
    bool lastBlockFull_ = false;
};
