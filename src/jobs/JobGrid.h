#pragma once

class QTableView;
class QWidget;
class RowsModel;
class ScreenMetrics;

// A grid of the job screen over its model: whole rows chosen one at a time, read-only, its
// columns as wide as the model asks (a width of 0 hides one).
QTableView* jobGrid(QWidget* parent, const char* name, RowsModel* model,
                    const ScreenMetrics& screen);
