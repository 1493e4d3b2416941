#include "estimates/Estimate.h"

#include "common/Numbers.h"

namespace estimates {

std::optional<QString> typedNumber(const QString& text, const QString& currencySymbol) {
    QString number = text.trimmed();
    if (!currencySymbol.isEmpty() && number.startsWith(currencySymbol)) {
        number = number.mid(currencySymbol.size()).trimmed();
    } else if (!currencySymbol.isEmpty() && number.startsWith(u'-') &&
               number.mid(1).trimmed().startsWith(currencySymbol)) {
        number = u'-' + number.mid(1).trimmed().mid(currencySymbol.size()).trimmed();
    }
    if (number.isEmpty() || numbers::isNumber(number)) {
        return number;
    }
    return std::nullopt;
}

EstimateTotals CalculateTotals(const QList<EstimateLine>& lines, const QString& delivery) {
    EstimateTotals totals;
    totals.delivery = Money::fromText(delivery);
    for (const EstimateLine& line : lines) {
        totals.trade += Money::lineAmount(line.Qty, line.Trade);
        totals.retail += Money::lineAmount(line.Qty, line.Retail);
    }
    totals.profit = totals.retail - totals.trade - totals.delivery;
    return totals;
}

AmountDue amountDue(Money retail, Money delivery, bool vatRegistered) {
    AmountDue out;
    out.toPay = retail + delivery;
    out.vat = vatRegistered ? out.toPay.scaled(175, 1000) : Money();
    out.due = out.toPay + out.vat;
    return out;
}

}  // namespace estimates
