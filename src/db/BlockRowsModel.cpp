#include "db/BlockRowsModel.h"

BlockRowsModel::BlockRowsModel(QList<Column> columns, int blockRows, QObject* parent)
    : RowsModel(std::move(columns), parent), blockRows_(qMax(1, blockRows)) {}

void BlockRowsModel::started(Source source, const QString& orderField, Qt::SortOrder order) {
    source_ = std::move(source);
    orderField_ = orderField;
    order_ = order;
    total_.reset();
    lastBlockFull_ = false;
}

bool BlockRowsModel::show(Source source, const QString& orderField, Qt::SortOrder order) {
    started(std::move(source), orderField, order);
    clear();
    return readNext();
}

void BlockRowsModel::showRead(Source source, const QString& orderField, Qt::SortOrder order,
                              Rows first) {
    started(std::move(source), orderField, order);
    // No more to fetch while the rows go in, so a view asking for more asks for the next block.
    const int read = first.count();
    setRows(std::move(first));
    lastBlockFull_ = read >= blockRows_;
    if (!lastBlockFull_) {
        total_ = read;
    }
}

void BlockRowsModel::setTotal(qint64 total) {
    total_ = qMax(total, qint64(rowCount()));
}

bool BlockRowsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && (total_ ? rowCount() < *total_ : lastBlockFull_);
}

void BlockRowsModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent) && !readNext()) {
        Q_EMIT readFailed();
    }
}

void BlockRowsModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columns().size() || !source_.block) {
        return;
    }
    // The same rows in another order: as many as before.
    const std::optional<qint64> total = total_;
    show(source_, columns()[column].field, order);
    if (total && !total_) {
        total_ = total;
    }
}

bool BlockRowsModel::readNext() {
    const std::optional<Rows> block = source_.block(orderField_, order_, rowCount(), blockRows_);
    if (!block) {
        lastBlockFull_ = false;
        return false;
    }
    lastBlockFull_ = block->count() >= blockRows_;
    appendRows(*block);
    if (!lastBlockFull_) {
        total_ = rowCount();  // the last of them (or rows went meanwhile)
    }
    return true;
}
