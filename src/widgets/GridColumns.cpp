#include "widgets/GridColumns.h"

#include "db/RowsModel.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QTableView>
#include <QToolTip>
#include <algorithm>

namespace {

// The room a cell's text takes: the widest of its lines, the item's margins either side and
// the grid line.
int textWidth(const QTableView* grid, const QString& text) {
    const QFontMetrics metrics = grid->fontMetrics();
    int widest = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        widest = qMax(widest, metrics.horizontalAdvance(line.toString()));
    }
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return widest + 2 * margin + 2;
}

}  // namespace

GridColumns::GridColumns(QTableView* grid) : QObject(grid), grid_(grid) {
    setObjectName(QStringLiteral("gridColumns"));
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &GridColumns::fitNow);
    QHeaderView* header = grid_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(24);
    // A column the user drags to a width keeps it.
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int) {
        if (!fitting_ && (QGuiApplication::mouseButtons() & Qt::LeftButton)) {
            sizedByUser_.insert(column);
        }
    });
    // A double click on a heading's edge fits that column to its texts again.
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, [this](int column) {
        sizedByUser_.remove(column);
        later();
    });
    viewport_ = grid_->viewport();
    viewport_->installEventFilter(this);
}

GridColumns* GridColumns::fit(QTableView* grid, const QList<int>& shares,
                              const QList<int>& longText) {
    auto* columns = grid->findChild<GridColumns*>(QStringLiteral("gridColumns"),
                                                  Qt::FindDirectChildrenOnly);
    if (!columns) {
        columns = new GridColumns(grid);
    }
    columns->shares_ = shares;
    columns->longText_ = longText;
    columns->watch(grid->model());
    columns->fitNow();
    return columns;
}

GridColumns* GridColumns::fit(QTableView* grid, const RowsModel& model,
                              const QList<int>& longText) {
    QList<int> shares;
    for (const RowsModel::Column& column : model.columns()) {
        shares << column.widthTwips;
    }
    return fit(grid, shares, longText);
}

void GridColumns::watch(QAbstractItemModel* model) {
    if (model == model_) {
        return;
    }
    if (model_) {
        disconnect(model_, nullptr, this, nullptr);
    }
    model_ = model;
    if (!model_) {
        return;
    }
    const auto rowsAt = [this](const QModelIndex&, int first, int) {
        if (first < kMeasuredRows) {
            later();
        }
    };
    connect(model_, &QAbstractItemModel::modelReset, this, &GridColumns::later);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &GridColumns::later);
    connect(model_, &QAbstractItemModel::headerDataChanged, this, &GridColumns::later);
    connect(model_, &QAbstractItemModel::columnsInserted, this, &GridColumns::later);
    connect(model_, &QAbstractItemModel::rowsInserted, this, rowsAt);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, rowsAt);
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex&) {
                if (from.row() < kMeasuredRows) {
                    later();
                }
            });
}

GridColumns::Needed GridColumns::needed(int column, int rows) const {
    const int heading = grid_->horizontalHeader()->sectionSizeHint(column);
    QList<int> widths;
    widths.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QString text = model_->index(row, column).data(Qt::DisplayRole).toString();
        widths << (text.isEmpty() ? 0 : textWidth(grid_, text));
    }
    if (widths.isEmpty()) {
        return {heading, heading};
    }
    std::sort(widths.begin(), widths.end());
    return {qMax(heading, widths.last()), qMax(heading, widths[(widths.size() - 1) * 9 / 10])};
}

void GridColumns::fitNow() {
    timer_.stop();
    if (!model_ || fitting_) {
        return;
    }
    const int count = model_->columnCount();
    const int rows = qMin(model_->rowCount(), kMeasuredRows);
    QList<int> widths(count, 0);
    QList<int> usual(count, 0);  // the width nine rows in ten fit in
    QList<int> giving;  // the long-text columns, which take what room is left
    int taken = 0;
    int lastShown = -1;
    fitting_ = true;
    for (int c = 0; c < count; ++c) {
        const bool hidden = c < shares_.size() && shares_[c] == 0;
        grid_->setColumnHidden(c, hidden);
        if (hidden) {
            continue;
        }
        if (sizedByUser_.contains(c)) {
            taken += grid_->columnWidth(c);
            continue;
        }
        const Needed need = needed(c, rows);
        widths[c] = need.widest;
        usual[c] = need.usual;
        lastShown = c;
        if (!longText_.contains(c)) {
            // A short value is never cut; a long one in a column of short ones may be.
            widths[c] = qMin(widths[c], grid_->fontMetrics().averageCharWidth() * kShortChars);
        }
        if (longText_.contains(c)) {
            giving << c;
        } else {
            taken += widths[c];
        }
    }
    // In the order they were named: the last named gives way first.
    std::sort(giving.begin(), giving.end(),
              [this](int a, int b) { return longText_.indexOf(a) < longText_.indexOf(b); });
    const int room = grid_->viewport()->width() - taken;
    if (giving.isEmpty() && lastShown >= 0 && room > 0) {
        // No column asks for the room left: the last one has it, as a stretched last column
        // would.
        widths[lastShown] = qMax(widths[lastShown], room);
    }
    int wanted = 0;
    int shareSum = 0;
    for (int c : giving) {
        wanted += widths[c];
        shareSum += qMax(1, shares_.value(c, 1));
    }
    if (!giving.isEmpty() && wanted <= room) {
        // Every text whole; the room to spare goes to the long texts by their shares.
        int spare = room - wanted;
        for (int i = 0; i < giving.size(); ++i) {
            const int c = giving[i];
            const int part = i + 1 == giving.size()
                                 ? spare
                                 : int(qint64(room - wanted) * qMax(1, shares_.value(c, 1)) /
                                       shareSum);
            widths[c] += part;
            spare -= part;
        }
    } else if (!giving.isEmpty()) {
        // Too little room: the long-text columns give way, the last first: all but the first
        // (the most read) down to the width most of their rows fit in, so that only their rare
        // longest texts are cut, then down to their heading or a few characters.
        const int least = grid_->fontMetrics().averageCharWidth() * 10;
        int over = wanted - room;
        for (const bool rareOnly : {true, false}) {
            for (qsizetype i = giving.size() - 1; i >= (rareOnly ? 1 : 0) && over > 0; --i) {
                const int c = giving[i];
                const int floor =
                    qMin(widths[c], qMax(least, grid_->horizontalHeader()->sectionSizeHint(c)));
                const int given =
                    qMax(0, qMin(over, widths[c] - (rareOnly ? qMax(floor, usual[c]) : floor)));
                widths[c] -= given;
                over -= given;
            }
        }
    }
    for (int c = 0; c < count; ++c) {
        if (widths[c] > 0) {
            grid_->setColumnWidth(c, widths[c]);
        }
    }
    fitting_ = false;
}

bool GridColumns::showCutText(const QPoint& at, const QPoint& global) {
    const QModelIndex index = grid_->indexAt(at);
    if (!index.isValid() || !index.data(Qt::ToolTipRole).toString().isEmpty()) {
        return false;
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty() || textWidth(grid_, text) <= grid_->columnWidth(index.column())) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(global, text, grid_->viewport(), grid_->visualRect(index));
    return true;
}

bool GridColumns::eventFilter(QObject* watched, QEvent* event) {
    // Compared by address alone: the viewport has events while the grid is being destroyed,
    // when the grid can no longer be asked for it.
    if (watched == viewport_) {
        if (event->type() == QEvent::Resize) {
            later();
        } else if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            return showCutText(help->pos(), help->globalPos());
        }
    }
    return QObject::eventFilter(watched, event);
}
