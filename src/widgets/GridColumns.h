#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class QAbstractItemModel;
class QTableView;
class RowsModel;

// Gives a grid's columns the room their texts need. Each column is as wide as its widest text
// (and its heading) among the first rows the grid holds: a grid read a block at a time is
// measured by the rows it has read, never by reading more. Room left over goes to the columns
// that hold long text, in proportion to their shares; when the grid is too narrow, only those
// columns give way, the last named first and the rare longest texts before the others, so short
// values (numbers, dates) are never cut. A cell
// whose text is cut shows the whole text as its tool tip. The user can widen or narrow any
// column by its heading; the columns the user sized keep their width from then on.
//
// The columns are fitted again when the rows change or the grid is resized, once the events of
// the moment have been handled.
class GridColumns : public QObject {
    Q_OBJECT
public:
    // Fits the grid's columns from now on. shares gives each column's part of the grid (0 hides
    // the column); longText names the columns that take the room left over, and give way when
    // there is too little, the last first (name the most read first). Calling it again
    // for the same grid replaces the shares.
    static GridColumns* fit(QTableView* grid, const QList<int>& shares,
                            const QList<int>& longText);
    // The same with the shares the model's columns ask for.
    static GridColumns* fit(QTableView* grid, const RowsModel& model, const QList<int>& longText);

    // Fits the columns at once.
    void fitNow();

    // Rows measured at most: enough for the first screens of any grid.
    static constexpr int kMeasuredRows = 300;
    // The widest a column of short values grows, in characters.
    static constexpr int kShortChars = 40;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit GridColumns(QTableView* grid);
    void watch(QAbstractItemModel* model);
    void later() { timer_.start(); }
    // The width a column's texts need: all of them, and nine in ten.
    struct Needed {
        int widest = 0;
        int usual = 0;
    };
    Needed needed(int column, int rows) const;
    bool showCutText(const QPoint& at, const QPoint& global);

    QTableView* grid_;
    QObject* viewport_ = nullptr;  // the grid's viewport, whose events are watched
    QPointer<QAbstractItemModel> model_;  // a model may go before its grid
    QList<int> shares_;
    QList<int> longText_;
    QSet<int> sizedByUser_;
    bool fitting_ = false;
    QTimer timer_;
};
