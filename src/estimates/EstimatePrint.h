#pragma once

#include "estimates/Estimate.h"

#include <QList>
#include <QString>

class AppState;

namespace estimates {

// What a printout of an estimate shows: the screen's values at the moment of printing, saved
// or not.
struct EstimatePrintout {
    qint64 EstNo = 0;
    int issue = 1;
    EstimateCustomer customer;  // the boxes' texts, lines separated by "\n"
    QString DateCreated;        // the creation date as the screen shows it
    QList<EstimateLine> lines;  // those with a quantity are printed
    // The totals as the screen shows them ("#0.00").
    QString Delivery;
    QString Retail;
    QString Profit;
    QString Trade;
};

// The document's file name: "est1042.doc", or "est1042-3.doc" with issue numbers.
QString estimateFileName(qint64 estNo, int issue, bool printCount);

// The value of each estimate token, in the order they are replaced.
QList<std::pair<QString, QString>> estimateTokenValues(const AppState& app,
                                                       const EstimatePrintout& printout);

// Makes the estimate's document from the template in the templates folder: every token replaced
// in every part, one table row per line below the row holding the bookmark "starttable" (left
// out when the template has none), saved in the documents folder and opened for the user. A
// failing step is reported ("PrintEstimate" with the error) and ends the printout. The
// document's path, or an empty text when none was saved.
QString PrintEstimate(AppState& app, const EstimatePrintout& printout, const QString& templateName);

// Records the printing as the estimate's next issue (before the document is made, so a failed
// printout still counts), then makes the document from the estimate template of the settings.
// The item count is every line of the estimate. The document's path, or an empty text with the
// user told why.
QString printAndRecord(AppState& app, EstimatePrintout printout, int itemCount);

// A stored estimate as a printout, its totals worked out as the screen does.
EstimatePrintout printoutOf(const StoredEstimate& estimate);

}  // namespace estimates
