#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// The rows of one query, read in full, so the count is exact. Fields are found by name without
// regard to case. Texts read through text() turn a null into an empty text.
class Rows {
public:
    Rows() = default;
    explicit Rows(QStringList columns);

    int count() const { return width_ == 0 ? 0 : int(cells_.size() / size_t(width_)); }
    bool isEmpty() const { return count() == 0; }
    const QStringList& columns() const { return columns_; }
    // The column's position, or -1.
    int column(const QString& name) const;

    const QVariant& at(int row, int column) const { return cells_[size_t(row) * width_ + column]; }
    QVariant value(int row, const QString& field) const;
    QString text(int row, const QString& field) const;
    qint64 integer(int row, const QString& field) const;
    double number(int row, const QString& field) const;
    bool isNull(int row, const QString& field) const;

    void append(std::vector<QVariant>&& row);
    void reserve(int rows) { cells_.reserve(size_t(rows) * width_); }

private:
    QStringList columns_;
    QHash<QString, int> index_;
    std::vector<QVariant> cells_;
    int width_ = 0;
};
