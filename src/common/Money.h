#pragma once

#include <QString>
#include <QStringView>
#include <compare>

// An amount of money in whole pennies, so that printed sums always add up: every amount typed
// or stored is read as an exact decimal and rounded to the penny once, halves away from zero,
// as on an invoice; sums and differences of amounts are exact.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromPennies(qint64 pennies) {
        Money m;
        m.pennies_ = pennies;
        return m;
    }

    // The amount a text begins with, read as every money box is read: its leading number
    // ("12.505" is 12.51, "£3" and "" are 0).
    static Money fromText(QStringView text);
    // An amount as the database holds it. A number that single precision holds exactly is read
    // with the seven digits single precision carries, so that a price stored by the earlier
    // release as a single (17.675 kept as 17.67499923...) reads as it was typed.
    static Money fromStored(double value);
    // A line's amount: the quantity times the unit price, both read as fromText reads them and
    // multiplied exactly (quantities may be fractional), then rounded to the penny.
    static Money lineAmount(QStringView quantity, QStringView unitPrice);

    // This amount times numerator / denominator, rounded to the penny, halves away from zero:
    // VAT at 17.5 per cent is scaled(175, 1000).
    Money scaled(qint64 numerator, qint64 denominator) const;

    constexpr qint64 pennies() const { return pennies_; }
    // In pounds, for storing.
    double toDouble() const { return double(pennies_) / 100; }

    // As the screens and documents show money, "#0.00": "-3.50", "1234.00".
    QString toString() const;
    // With a comma between thousands, "#,##0.00": "1,234.00".
    QString withThousands() const;

    constexpr Money operator+(Money other) const { return fromPennies(pennies_ + other.pennies_); }
    constexpr Money operator-(Money other) const { return fromPennies(pennies_ - other.pennies_); }
    constexpr Money& operator+=(Money other) {
        pennies_ += other.pennies_;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    qint64 pennies_ = 0;
};
