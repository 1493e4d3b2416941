#include "common/Money.h"

#include "common/Numbers.h"

#include <cmath>
#include <limits>

namespace {

__extension__ typedef __int128 Wide;

constexpr qint64 kMost = std::numeric_limits<qint64>::max();
// More digits than single and double precision carry; the rest of a longer number is dropped.
constexpr int kDigits = 18;
constexpr int kFarthest = 400;  // beyond any exponent a double can have

// A number as typed: sign, digits and a power of ten.
struct Decimal {
    qint64 digits = 0;
    int exponent = 0;
    bool negative = false;
};

// Reads a number spelled as numbers::leadingNumberText spells it.
Decimal decimalOf(QStringView number) {
    Decimal d;
    qsizetype i = 0;
    if (i < number.size() && (number[i] == u'-' || number[i] == u'+')) {
        d.negative = number[i] == u'-';
        ++i;
    }
    int kept = 0;
    bool afterPoint = false;
    for (; i < number.size() && number[i] != u'e'; ++i) {
        if (number[i] == u'.') {
            afterPoint = true;
            continue;
        }
        const int digit = number[i].digitValue();
        if (kept < kDigits) {
            if (digit != 0 || d.digits != 0) {
                ++kept;
            }
            d.digits = d.digits * 10 + digit;
            d.exponent -= afterPoint ? 1 : 0;
        } else if (!afterPoint) {
            ++d.exponent;
        }
    }
    if (i < number.size()) {
        bool ok = false;
        const int power = number.mid(i + 1).toInt(&ok);
        const bool down = number.mid(i + 1).startsWith(u'-');
        d.exponent += ok ? qBound(-kFarthest, power, kFarthest) : (down ? -kFarthest : kFarthest);
    }
    return d;
}

// magnitude × 10^exponent rounded to a whole number, halves away from zero, at most kMost.
qint64 rounded(Wide magnitude, int exponent) {
    if (magnitude == 0) {
        return 0;
    }
    for (; exponent > 0; --exponent) {
        if (magnitude > kMost) {
            return kMost;
        }
        magnitude *= 10;
    }
    if (exponent < -38) {
        return 0;  // the magnitude stays below 10^37, so this is less than half a penny
    }
    Wide divisor = 1;
    for (; exponent < 0; ++exponent) {
        divisor *= 10;
    }
    Wide whole = magnitude / divisor;
    if (2 * (magnitude % divisor) >= divisor) {
        ++whole;
    }
    return whole > kMost ? kMost : qint64(whole);
}

qint64 signedPennies(bool negative, Wide magnitude, int exponent) {
    const qint64 pennies = rounded(magnitude, exponent + 2);
    return negative ? -pennies : pennies;
}

QString spelled(qint64 pennies, bool thousands) {
    const quint64 magnitude = pennies < 0 ? 0 - quint64(pennies) : quint64(pennies);
    QString whole = QString::number(magnitude / 100);
    if (thousands) {
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3) {
            whole.insert(at, u',');
        }
    }
    return (pennies < 0 ? QStringLiteral("-") : QString()) + whole + u'.' +
           QString::number(magnitude % 100).rightJustified(2, u'0');
}

}  // namespace

Money Money::fromText(QStringView text) {
    const Decimal d = decimalOf(numbers::leadingNumberText(text));
    return fromPennies(signedPennies(d.negative, d.digits, d.exponent));
}

Money Money::fromStored(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    const Decimal d = decimalOf(numbers::leadingNumberText(numbers::storedText(value)));
    return fromPennies(signedPennies(d.negative, d.digits, d.exponent));
}

Money Money::lineAmount(QStringView quantity, QStringView unitPrice) {
    const Decimal q = decimalOf(numbers::leadingNumberText(quantity));
    const Decimal p = decimalOf(numbers::leadingNumberText(unitPrice));
    return fromPennies(signedPennies(q.negative != p.negative, Wide(q.digits) * p.digits,
                                     q.exponent + p.exponent));
}

Money Money::scaled(qint64 numerator, qint64 denominator) const {
    const Wide product = Wide(pennies_) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const Wide magnitude = product < 0 ? -product : product;
    const Wide divisor = denominator < 0 ? -Wide(denominator) : Wide(denominator);
    if (divisor == 0) {
        return {};
    }
    Wide whole = magnitude / divisor;
    if (2 * (magnitude % divisor) >= divisor) {
        ++whole;
    }
    const qint64 pennies = whole > kMost ? kMost : qint64(whole);
    return fromPennies(negative ? -pennies : pennies);
}

QString Money::toString() const {
    return spelled(pennies_, false);
}

QString Money::withThousands() const {
    return spelled(pennies_, true);
}
