#pragma once

#include "startup/RowVersion.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// An estimate as the estimates screen holds it: texts as typed, read as numbers where needed.

// One priced line: a quantity of an item at a unit trade price and a unit retail price.
struct EstimateLine {
    QString Qty;
    QString Description;
    QString Trade;
    QString Retail;
};

// The person the estimate is for.
struct EstimateCustomer {
    QString Name;
    QString Contact;
    QString Address;
    QString Telephone;
    QString Email;
};

// The screen's totals, in single precision as they were always worked out.
struct EstimateTotals {
    float trade = 0;
    float retail = 0;
    float delivery = 0;
    float profit = 0;
};

// A text read as a number the way every money box is read: its leading number, 0 for none.
float estimateNumber(const QString& text);
// What the user typed for a quantity or a price, made ready to store: trimmed, without the
// currency symbol in front. Nothing when it is not a number (a word, "1,5", "12.50p"); an empty
// text is fine and counts as 0.
std::optional<QString> typedNumber(const QString& text, const QString& currencySymbol);

// A money value as the screen shows it: "#0.00".
QString money(float value);

// The trade and retail totals of the lines (unit prices times quantities), the delivery cost,
// and the profit: retail less trade less delivery.
EstimateTotals CalculateTotals(const QList<EstimateLine>& lines, const QString& delivery);

// A stored estimate: its lines, delivery cost, creation date and customer, and the version it
// was read at.
struct StoredEstimate {
    qint64 EstNo = 0;
    QString DateCreated;  // as stored
    qint32 ClientId = -1;
    float DeliveryCost = 0;
    QList<EstimateLine> lines;
    bool customerFound = false;
    EstimateCustomer customer;
    RowVersion version;
};
