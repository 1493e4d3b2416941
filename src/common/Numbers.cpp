#include "common/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace numbers {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A number read from the start of a text, rewritten for QString::toDouble ("D" exponents become
// "e"), and where it stopped. The text is empty when there was no digit.
struct Scan {
    QString number;
    qsizetype end = 0;
};

// With skipBlanks, blanks anywhere in the number are passed over, as Val does: "1 2" is 12 and
// "- 3" is -3.
Scan scan(QStringView text, bool skipBlanks) {
    Scan out;
    qsizetype at = 0;
    const auto peek = [&] {
        while (skipBlanks && at < text.size() && isBlank(text[at])) {
            ++at;
        }
        return at < text.size() ? text[at] : QChar();
    };
    const auto take = [&](QChar as) {
        out.number += as;
        out.end = ++at;
    };
    const auto digits = [&] {
        bool any = false;
        while (isDigit(peek())) {
            take(text[at]);
            any = true;
        }
        return any;
    };
    if (peek() == u'+' || peek() == u'-') {
        take(text[at]);
    }
    bool any = digits();
    if (peek() == u'.') {
        take(u'.');
        any = digits() || any;
    }
    if (!any) {
        return {};
    }
    // An exponent counts only with a digit after it: "1E" is 1.
    const Scan mantissa = out;
    if (const QChar e = peek().toUpper(); e == u'E' || e == u'D') {
        take(u'e');
        if (peek() == u'+' || peek() == u'-') {
            take(text[at]);
        }
        if (!digits()) {
            return mantissa;
        }
    }
    return out;
}

}  // namespace

double leadingNumber(QStringView text) {
    return scan(text, true).number.toDouble();
}

QString leadingNumberText(QStringView text) {
    return scan(text, true).number;
}

QString storedText(double value) {
    char buffer[64];
    // Digits without sign, point, exponent or leading zeros.
    const auto digits = [&buffer](const char* end) {
        int count = 0;
        for (const char* c = buffer; c < end && *c != 'e'; ++c) {
            count += (*c >= '1' && *c <= '9') || (count > 0 && *c == '0') ? 1 : 0;
        }
        return count;
    };
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    if (digits(end) > 15) {
        end = double(float(value)) == value
                  ? std::to_chars(buffer, buffer + sizeof buffer, float(value)).ptr
                  : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                  15)
                        .ptr;
    }
    return QString::fromLatin1(buffer, end - buffer);
}

bool isNumber(QStringView text, double* value) {
    const QStringView trimmed = text.trimmed();
    const Scan found = scan(trimmed, false);
    if (found.number.isEmpty() || found.end != trimmed.size()) {
        return false;
    }
    bool ok = false;
    const double number = found.number.toDouble(&ok);
    if (ok && value) {
        *value = number;
    }
    return ok;
}

// The exact binary value is rounded, not its shortest decimal spelling: 1.005 is stored as
// 1.00499999999999989..., so to two decimals it gives 1.0. Only true halves, such as 0.125 (which
// binary holds exactly), go to the even neighbour. The scaled product is rarely exact, so its
// rounding error, recovered with a fused multiply-add, settles a product that rounded onto a half.
double roundHalfEven(double value, int decimals) {
    // 10^22 is the largest power of ten a double holds exactly.
    const double scale = std::pow(10.0, std::clamp(decimals, 0, 22));
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * scale;
    // Beyond 2^52 every double is a whole number; NaN and infinities stay as they are.
    if (!(scaled < 4503599627370496.0)) {
        return value;
    }
    const double error = std::fma(magnitude, scale, -scaled);
    double whole = std::floor(scaled);
    const double fraction = scaled - whole;  // exact, as scaled is not negative
    const bool up = fraction > 0.5 ||
                    (fraction == 0.5 && (error > 0 || (error == 0 && std::fmod(whole, 2) != 0)));
    if (up) {
        whole += 1;
    }
    // No negative zero: -0.001 to two decimals is 0.
    return whole == 0 ? 0.0 : std::copysign(whole / scale, value);
}

QString format(double value, QStringView pattern) {
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView before = point < 0 ? pattern : pattern.left(point);
    const int decimals = point < 0 ? 0 : int(pattern.mid(point + 1).count(u'0'));
    const qsizetype minimumWhole = before.count(u'0');

    const double rounded = roundHalfEven(value, decimals);
    const QString digits = QString::number(std::fabs(rounded), 'f', decimals);
    const qsizetype dot = digits.indexOf(u'.');
    QString whole = dot < 0 ? digits : digits.left(dot);
    if (whole == u"0" && minimumWhole == 0) {
        whole.clear();
    }
    whole = whole.rightJustified(minimumWhole, u'0');
    if (before.contains(u',')) {
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3) {
            whole.insert(at, u',');
        }
    }
    return (rounded < 0 ? QStringLiteral("-") : QString()) + whole +
           (dot < 0 ? QString() : digits.mid(dot));
}

}  // namespace numbers
