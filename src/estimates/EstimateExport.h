#pragma once

#include "db/ResultExport.h"
#include "db/Rows.h"

#include <QList>
#include <QString>
#include <optional>

class AppState;
class Database;

namespace estimates {

// The estimates a search finds (searchEstimates), one row each as the search grid lists them:
// EstNo, DateCreated, Name, Address. Nothing on failure (see db.lastError()).
std::optional<Rows> foundEstimateRows(Database& db, const QString& text);

// The columns of the estimate search's grid, in its order.
QList<resultexport::Column> estimateSearchColumns();

// The rows foundEstimateRows gives written to a CSV file in those columns. An estimate keeps its
// date as the screen showed it, so it is read as the program reads such dates.
resultexport::Outcome exportEstimates(const AppState& app, const QString& file, const Rows& found);

}  // namespace estimates
