#pragma once

#include "common/Money.h"
#include "db/RowVersion.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace estimates {

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

// The screen's totals.
struct EstimateTotals {
    Money trade;
    Money retail;
    Money delivery;
    Money profit;
};

// What the user typed for a quantity or a price, made ready to store: trimmed, without the
// currency symbol in front. Nothing when it is not a number (a word, "1,5", "12.50p"); an empty
// text is fine and counts as 0.
std::optional<QString> typedNumber(const QString& text, const QString& currencySymbol);

// The trade and retail totals of the lines, the delivery cost, and the profit: retail less
// trade less delivery. Each line's amount (quantity times unit price) is rounded to the penny
// before the lines are added up, as on an invoice.
EstimateTotals CalculateTotals(const QList<EstimateLine>& lines, const QString& delivery);

// What the customer pays: the retail total and the delivery, the VAT on that (17.5 per cent,
// rounded once to the penny, halves away from zero) when the business is registered for VAT,
// and the two added up.
struct AmountDue {
    Money toPay;
    Money vat;
    Money due;
};
AmountDue amountDue(Money retail, Money delivery, bool vatRegistered);

// A stored estimate: its lines, delivery cost, creation date and customer, and the version it
// was read at.
struct StoredEstimate {
    qint64 EstNo = 0;
    QString DateCreated;  // as stored
    qint32 ClientId = -1;
    Money DeliveryCost;
    QList<EstimateLine> lines;
    bool customerFound = false;
    EstimateCustomer customer;
    RowVersion version;
};

}  // namespace estimates
