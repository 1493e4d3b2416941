#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QStringList>
#include <QStyle>
#include <QTableView>

// The texts of a grid's cells in these columns, among its first rows, that the user cannot read
// whole: cut short by the column's width, or lying outside the grid's visible part. The grid's
// pending layout work is done first.
inline QStringList cutCells(QTableView* grid, const QList<int>& columns, int rows = 300) {
    QApplication::processEvents();
    const QFontMetrics metrics = grid->fontMetrics();
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    QStringList cut;
    for (int row = 0; row < qMin(rows, grid->model()->rowCount()); ++row) {
        for (int column : columns) {
            const QModelIndex index = grid->model()->index(row, column);
            const QString text = index.data().toString();
            const int left = grid->columnViewportPosition(column);
            const int width = grid->columnWidth(column);
            if (grid->isColumnHidden(column) || left < 0 ||
                left + width > grid->viewport()->width() ||
                metrics.horizontalAdvance(text) > width - 1 - 2 * margin) {
                cut << text;
            }
        }
    }
    return cut;
}
