#pragma once

#include "platform/SystemLocale.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

// Dates as the user types and sees them, and as the database stores them.
//
// The pattern language: d (day), dd (day, two digits), ddd (short weekday name), dddd (weekday
// name), m (month), mm (two digits), mmm (short month name), mmmm (month name), M means the same
// as m, yy (two-digit year), yyyy; hh (hour, 24-hour clock, two digits), nn (minutes), ss
// (seconds); text between double quotes is literal; any other character stands for itself.
// An empty pattern means the general date: the locale's short date, and the time when there is
// one.
namespace datetext {

QString format(const QDateTime& moment, const QString& pattern, const QLocale& names);
QString format(const QDate& date, const QString& pattern, const QLocale& names);

// Reads a typed date (with an optional time after it). Numbers are taken in the given order;
// a first number of four digits is always the year. Month names (full or short) and weekday
// names of the given locale or of English are understood; weekday names are passed over.
// Separators are "/", "-", ".", ",", spaces; runs of them count as one. A two-digit year is the
// one within the 50 years before and the 49 after the reference year (with 2026: 76 is 1976, 75
// is 2075). A day and month without a year take the reference year. Impossible dates (the 31st
// of February) are not dates.
std::optional<QDateTime> read(const QString& text, DateOrder order, int referenceYear,
                              const QLocale& names);

// The order in which a pattern shows day, month and year, when it shows all three as numbers
// or names.
std::optional<DateOrder> orderOf(const QString& pattern);

// What a date box holds, read as the box's check reads it: the text as shown in the pattern
// when formatting it back gives the same text, otherwise the text read in the typed order. Six
// characters are two each of day, month and year. Empty or not a date gives nothing.
std::optional<QDateTime> readBox(const QString& text, const QString& pattern, DateOrder order,
                                 int referenceYear, const QLocale& names);

// A date box checked when it loses the focus: an empty box is valid and stays empty; a date is
// valid and is rewritten in the pattern; anything else is invalid and keeps its text. The date
// read is kept beside the text, which may not tell its century.
struct BoxCheck {
    bool valid = false;
    QString text;
    QDateTime date;
};
BoxCheck checkBox(const QString& text, const QString& pattern, DateOrder order, int referenceYear,
                  const QLocale& names);

// A date as a box shows it: the text, and the date the text was made from. The text alone may
// not tell the date (a two-digit year does not say its century), so while a box still shows
// this text, the date is what counts.
struct Shown {
    QString text;
    QDateTime date;
    bool operator==(const Shown&) const = default;
};

// The stored form of dates and times: "yyyy-MM-dd hh:mm:ss". A null, empty or unreadable value
// reads as an invalid QDateTime.
QString toStored(const QDateTime& moment);
QDateTime fromStored(const QVariant& value);

// The stored form exactly as the program writes it, "yyyy-MM-dd" with " hh:mm:ss" (or
// "Thh:mm:ss") after it or not, read digit by digit: every grid cell and report line showing a
// date passes here. Nothing for any other text, or a day or time that does not exist.
struct StoredParts {
    QDate date;
    std::optional<QTime> time;
};
std::optional<StoredParts> readStoredForm(QStringView text);

}  // namespace datetext
