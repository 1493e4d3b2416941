#include "estimates/Estimate.h"

#include "startup/Numbers.h"

float estimateNumber(const QString& text) {
    return float(numbers::leadingNumber(text));
}

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

QString money(float value) {
    return numbers::format(double(value), u"#0.00");
}

EstimateTotals CalculateTotals(const QList<EstimateLine>& lines, const QString& delivery) {
    EstimateTotals totals;
    totals.delivery = estimateNumber(delivery);
    for (const EstimateLine& line : lines) {
        const float qty = estimateNumber(line.Qty);
        totals.trade += estimateNumber(line.Trade) * qty;
        totals.retail += estimateNumber(line.Retail) * qty;
    }
    totals.profit = totals.retail - totals.trade - totals.delivery;
    return totals;
}
