#pragma once

#include <QLocale>
#include <QString>

// The order in which a typed date gives its day, month and year.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The system's regional settings: the names of days and months, the long date format and the
// order in which typed dates are read.
class SystemLocale {
public:
    virtual ~SystemLocale() = default;
    virtual QLocale locale() const = 0;

    // The long date format in the program's own pattern language.
    QString longDateFormat() const;
    // The day-month order of the short date format; the C and POSIX locales read day first.
    DateOrder dateOrder() const;
};

class HostLocale : public SystemLocale {
public:
    QLocale locale() const override { return QLocale::system(); }
};

// Test double.
class FixedLocale : public SystemLocale {
public:
    explicit FixedLocale(QLocale locale = QLocale(QLocale::English, QLocale::UnitedKingdom))
        : locale_(std::move(locale)) {}
    QLocale locale() const override { return locale_; }
    void set(const QLocale& locale) { locale_ = locale; }

private:
    QLocale locale_;
};
