#include "jobs/JobGrid.h"

#include "db/RowsModel.h"
#include "widgets/GridColumns.h"

#include <QHeaderView>
#include <QTableView>

QTableView* jobGrid(QWidget* parent, const char* name, RowsModel* model,
                    const QList<int>& longText) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);  // Tab moves on to the next control, not the next cell
    view->setAlternatingRowColors(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(22);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setWordWrap(false);
    GridColumns::fit(view, *model, longText);
    return view;
}
