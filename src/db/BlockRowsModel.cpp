#include "db/BlockRowsModel.h"

BlockRowsModel::BlockRowsModel(QList<Column> columns, int blockRows, QObject* parent)
    : RowsModel(std::move(columns), parent), blockRows_(qMax(1, blockRows)) {}

bool BlockRowsModel::show(Source source, const QString& orderField, Qt::SortOrder order) {
    source_ = std::move(source);
    orderField_ = orderField;
    order_ = order;
    clear();
    const std::optional<qint64> total = source_.count ? source_.count() : std::nullopt;
    total_ = total.value_or(0);
    return total && (total_ == 0 || readNext());
}

void BlockRowsModel::showRead(Source source, const QString& orderField, Qt::SortOrder order,
                              qint64 total, Rows first) {
    source_ = std::move(source);
    orderField_ = orderField;
    order_ = order;
    // The rows must be in before the total, so a view asking for more asks for the next block.
    total_ = 0;
    setRows(std::move(first));
    total_ = qMax(total, qint64(rowCount()));
}

bool BlockRowsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && rowCount() < total_;
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
    show(source_, columns()[column].field, order);
}

bool BlockRowsModel::readNext() {
    const std::optional<Rows> block =
        source_.block(orderField_, order_, rowCount(), blockRows_);
    if (!block) {
        return false;
    }
    if (block->isEmpty()) {
        total_ = rowCount();  // rows went meanwhile
        return true;
    }
    appendRows(*block);
    return true;
}
