#pragma once

#include "estimates/Estimate.h"
#include "startup/Rows.h"

#include <QStringList>
#include <optional>

class AppState;
class Database;

// The estimates' rows in the database: one Estimate row per line, the customers they belong
// to, the remembered descriptions (Stock) and the print history (EstimateDocs). Every failure
// leaves the database as it was; the reason is the connection's last error.

// The descriptions remembered for new lines, in table order, empty ones left out.
std::optional<QStringList> LoadStock(Database& db);
// Remembers a description (trimmed) unless it is known already; true when it was added.
bool AddToTable(Database& db, const QString& entry);

// The customer with that identity; nothing when there is none or it cannot be read.
std::optional<EstimateCustomer> LoadClient(Database& db, qint32 id);
// Writes the customer: over the first customer of that (trimmed) name, or as a new one. The
// customer's identity, or nothing on failure.
std::optional<qint32> SaveClientDetails(Database& db, const EstimateCustomer& customer);

// What a save needs besides the lines.
struct EstimateSave {
    qint64 EstNo = 0;
    // The estimate's customer; -1 means the one typed on the screen, which is written first.
    qint32 CustomerID = -1;
    EstimateCustomer customer;
    QString Delivery;
    QString DateCreated;  // as stored
};
// Replaces the estimate's lines (those with a quantity) in one transaction, writing the typed
// customer first when the estimate has none yet (or its customer has been deleted since). On
// success the customer's identity; nothing when the database refused, with nothing changed.
std::optional<qint32> SaveEstimate(Database& db, const EstimateSave& save,
                                   const QList<EstimateLine>& lines);

// Saves the estimate under its number, taking the next number from the counter first when it
// has none (EstNo 0), in the same transaction as the lines, so a refused save takes no number.
// The number and the customer's identity; nothing when the database refused or no number could
// be taken, with nothing changed and the reason in *error.
struct SavedEstimate {
    qint64 EstNo = 0;
    qint32 CustomerID = -1;
};
std::optional<SavedEstimate> saveNumberedEstimate(AppState& app, EstimateSave save,
                                                  const QList<EstimateLine>& lines,
                                                  QString* error = nullptr);

// A stored estimate with its customer; nothing when it has no lines or cannot be read. Prices
// are shown "#0.00", quantities as stored.
std::optional<StoredEstimate> LoadFullEstimate(Database& db, qint64 estNo);

// An estimate found by the search: one entry for the consecutive lines of one estimate.
struct FoundEstimate {
    qint64 EstNo = 0;
    QString DateCreated;
    QString Name;
    QString Address;
};
// A text that starts with a number greater than 0 and holds nothing else finds that estimate;
// any other text finds the estimates of customers whose name holds it (all of them when empty).
std::optional<QList<FoundEstimate>> searchEstimates(Database& db, const QString& text);

// Records a printing of the estimate and gives its issue number: one more than the printings
// recorded before.
std::optional<int> AddToEstimateList(Database& db, qint64 estNo, int totalItems, Money totalCost,
                                     const QDateTime& now);
// The printings of the estimate, newest first: DummyId, DateCreated, EstNo, PrintNo, TotalQty,
// TotalPrice.
std::optional<Rows> estimateIssues(Database& db, qint64 estNo);
