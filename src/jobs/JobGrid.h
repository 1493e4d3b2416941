#pragma once

#include <QList>

class QTableView;
class QWidget;
class RowsModel;

// A grid of the job screen over its model: whole rows chosen one at a time, read-only, its
// columns fitted to their texts (a width of 0 hides one); the longText columns take the room
// left over.
QTableView* jobGrid(QWidget* parent, const char* name, RowsModel* model,
                    const QList<int>& longText);
