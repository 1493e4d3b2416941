#pragma once

#include "db/RowVersion.h"
#include "db/Rows.h"
#include "db/TextIndex.h"
#include "estimates/Estimate.h"
#include "records/SaveConflict.h"

#include <QStringList>
#include <optional>

class Database;
class Prompter;

namespace estimates {

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
std::optional<qint32> SaveClientDetails(Database& db, const EstimateCustomer& customer,
                                        const SaveStamp& stamp = {});

// What a save needs besides the lines.
struct EstimateSave {
    qint64 EstNo = 0;
    // The estimate's customer; -1 means the one typed on the screen, which is written first.
    qint32 CustomerID = -1;
    EstimateCustomer customer;
    QString Delivery;
    QString DateCreated;  // as stored
    // The version the estimate was loaded at; none for an estimate not stored yet (or one to be
    // written again under its number after another workstation deleted it).
    RowVersion version;
};

// What a save came to: the number, the customer's identity and the version saved; or, when
// another workstation saved the estimate since it was loaded (the version stored now in
// version) or deleted it, or another estimate holds the number, or the database refused,
// nothing written.
struct SavedEstimate {
    SaveOutcome outcome = SaveOutcome::Failed;
    qint64 EstNo = 0;
    qint32 CustomerID = -1;
    RowVersion version;
    bool numberHeld = false;

    explicit operator bool() const { return outcome == SaveOutcome::Saved; }
    const SavedEstimate* operator->() const { return this; }
};

// Replaces the estimate's lines (those with a quantity) in one transaction with its new
// version, writing the typed customer first when the estimate has none yet (or its customer has
// been deleted since). A stored estimate is saved over the version it was loaded at; one with
// no version must not exist yet.
SavedEstimate SaveEstimate(Database& db, const EstimateSave& save, const QList<EstimateLine>& lines,
                           const SaveStamp& stamp = {});

// Saves the estimate under its number, taking the next number from the counter first when it
// has none (EstNo 0), in the same transaction as the lines, so a refused save takes no number.
// When the database refused or no number could be taken the reason is in *error.
SavedEstimate saveNumberedEstimate(Database& db, EstimateSave save,
                                   const QList<EstimateLine>& lines, const SaveStamp& stamp = {},
                                   QString* error = nullptr);

// Takes the next estimate number: from the counter in one transaction, or, with manual
// numbering, asked of the user until the answer is a whole number in range (each other answer
// is explained). Nothing when the user cancels or the counter cannot be taken.
std::optional<qint64> GetNewEstimateNumber(Database& db, Prompter& prompter, bool manualNumbering);

// The fields in which a stored estimate (or none, when it has gone) differs from the one on the
// screen: the customer, the delivery cost and the lines.
QList<conflicts::Difference> estimateDifferences(const std::optional<StoredEstimate>& theirs,
                                                 const EstimateCustomer& customer,
                                                 const QString& delivery,
                                                 const QList<EstimateLine>& lines);

// The version of the estimate as stored now: nothing when it has gone (no lines and no version)
// or could not be read (*failed).
std::optional<RowVersion> storedEstimateVersion(Database& db, qint64 estNo, bool* failed);

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
// Customers' names are found through the text index unless through asks to read every row.
std::optional<QList<FoundEstimate>> searchEstimates(
    Database& db, const QString& text, textindex::Through through = textindex::Through::Index);

// Records a printing of the estimate and gives its issue number: one more than the printings
// recorded before.
std::optional<int> AddToEstimateList(Database& db, qint64 estNo, int totalItems, Money totalCost,
                                     const QDateTime& now);
// The printings of the estimate, newest first (those without a date last): DummyId, DateCreated, EstNo, PrintNo, TotalQty,
// TotalPrice.
std::optional<Rows> estimateIssues(Database& db, qint64 estNo);

}  // namespace estimates
