#include "db/Rows.h"

Rows::Rows(QStringList columns) : columns_(std::move(columns)), width_(int(columns_.size())) {
    for (int i = 0; i < columns_.size(); ++i) {
        index_.insert(columns_[i].toLower(), i);
    }
}

int Rows::column(const QString& name) const { return index_.value(name.toLower(), -1); }

QVariant Rows::value(int row, const QString& field) const {
    const int c = column(field);
    if (c < 0 || row < 0 || row >= count()) {
        return {};
    }
    return at(row, c);
}

QString Rows::text(int row, const QString& field) const {
    const QVariant v = value(row, field);
    return v.isNull() ? QString() : v.toString();
}

qint64 Rows::integer(int row, const QString& field) const { return value(row, field).toLongLong(); }

double Rows::number(int row, const QString& field) const { return value(row, field).toDouble(); }

bool Rows::isNull(int row, const QString& field) const { return value(row, field).isNull(); }

QVariant* Rows::appendRow() {
    const size_t inBlock = size_t(count_) % kBlockRows;
    if (inBlock == 0) {
        blocks_.emplace_back(kBlockRows * size_t(width_));
    }
    ++count_;
    return blocks_.back().data() + inBlock * size_t(width_);
}
