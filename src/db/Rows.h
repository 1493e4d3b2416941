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

    int count() const { return count_; }
    bool isEmpty() const { return count() == 0; }
    const QStringList& columns() const { return columns_; }
    // The column's position, or -1.
    int column(const QString& name) const;

    const QVariant& at(int row, int column) const {
        return blocks_[size_t(row) / kBlockRows][size_t(row) % kBlockRows * size_t(width_) +
                                                  size_t(column)];
    }
    QVariant value(int row, const QString& field) const;
    QString text(int row, const QString& field) const;
    qint64 integer(int row, const QString& field) const;
    double number(int row, const QString& field) const;
    bool isNull(int row, const QString& field) const;

    // A new row at the end: its cells, one per column, to be filled in place.
    QVariant* appendRow();

private:
    // Rows are kept in blocks of a fixed size, so a long result grows without ever copying what
    // it already holds.
    static constexpr size_t kBlockRows = 2048;

    QStringList columns_;
    QHash<QString, int> index_;
    std::vector<std::vector<QVariant>> blocks_;
    int count_ = 0;
    int width_ = 0;
};
