#pragma once

#include "common/DateText.h"

#include <QLocale>

class AppState;

// The format every date is shown in, and the checking of date boxes.

// Sets DefaultDateFormat from the DateFormat row marked as default ("dd/mm/yy" when none is
// marked, empty when the table cannot be read).
void LoadDefaultDateFormat(AppState& app);

// The system's long date format when the option asks for it, otherwise DefaultDateFormat.
QString GetDateFormat(const AppState& app);

// How dates are shown and read: the display format, the locale's month names and day order,
// and the year two-digit years are read near.
struct DateStyle {
    QString format;
    QLocale names;
    DateOrder order = DateOrder::DayMonthYear;
    int thisYear = 0;
};
DateStyle dateStyle(const AppState& app);

// A date shown in the display format.
QString formatDisplayDate(const DateStyle& style, const QDateTime& moment);
QString formatDisplayDate(const AppState& app, const QDateTime& moment);
// The date-and-time stamp typed into notes: the date, ", hh:nn:ss", then " :".
QString dateTimeStamp(const AppState& app);

// A date box's text checked and rewritten in the display format, and what it holds as a date.
datetext::BoxCheck checkDateText(const AppState& app, const QString& text);
std::optional<QDateTime> readDateText(const DateStyle& style, const QString& text);
std::optional<QDateTime> readDateText(const AppState& app, const QString& text);

// A date read from a field: the stored form, or else a text as older releases wrote dates into
// text fields (in the display format or the system's day order, with or without the time).
// Invalid when it is neither.
QDateTime readStoredDate(const AppState& app, const QVariant& value);
