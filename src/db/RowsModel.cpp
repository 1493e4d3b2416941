#include "db/RowsModel.h"

RowsModel::RowsModel(QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        sources_ << -1;
    }
}

void RowsModel::setRows(Rows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        sources_[i] = rows_.column(columns_[i].field);
    }
    endResetModel();
}

void RowsModel::appendRows(const Rows& more) {
    if (more.isEmpty()) {
        return;
    }
    if (rows_.columns().isEmpty()) {
        setRows(more);
        return;
    }
    beginInsertRows({}, rows_.count(), rows_.count() + more.count() - 1);
    const int width = int(more.columns().size());
    for (int r = 0; r < more.count(); ++r) {
        QVariant* cells = rows_.appendRow();
        for (int c = 0; c < width; ++c) {
            cells[c] = more.at(r, c);
        }
    }
    endInsertRows();
}

void RowsModel::setHeader(int column, const QString& header) {
    columns_[column].header = header;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

QString RowsModel::text(int row, int column) const {
    const int source = sources_.value(column, -1);
    if (source < 0 || row < 0 || row >= rows_.count()) {
        return {};
    }
    const QVariant& value = rows_.at(row, source);
    if (columns_[column].format) {
        return columns_[column].format(value);
    }
    return value.isNull() ? QString() : value.toString();
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.count();
}

int RowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return text(index.row(), index.column());
    }
    return {};
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return columns_.value(section).header;
    }
    return section + 1;
}
