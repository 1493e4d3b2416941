#include "platform/SystemLocale.h"

QString SystemLocale::longDateFormat() const {
    // Qt writes months as M and literal text between single quotes; the program's own pattern
    // language writes months as m, minutes as n and literal text between double quotes.
    const QString qt = locale().dateFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        if (c == u'\'') {
            if (i + 1 < qt.size() && qt[i + 1] == u'\'') {
                out += u'\'';
                ++i;
            } else {
                quoted = !quoted;
                out += u'"';
            }
        } else if (quoted) {
            out += c;
        } else if (c == u'M') {
            out += u'm';
        } else if (c == u'm') {
            out += u'n';
        } else {
            out += c;
        }
    }
    return out;
}

DateOrder SystemLocale::dateOrder() const {
    const QLocale here = locale();
    if (here.language() == QLocale::C) {
        return DateOrder::DayMonthYear;
    }
    const QString format = here.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(u'd');
    const qsizetype month = format.indexOf(u'M');
    const qsizetype year = format.indexOf(u'y');
    if (year >= 0 && (day < 0 || year < day) && (month < 0 || year < month)) {
        return DateOrder::YearMonthDay;
    }
    if (month >= 0 && day >= 0 && month < day) {
        return DateOrder::MonthDayYear;
    }
    return DateOrder::DayMonthYear;
}
