#pragma once

#include "reports/ReportDefinition.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// What a report shows that does not come from its rows: when it was printed, and how dates are
// written.
struct ReportContext {
    QDateTime printedAt;
    // The pattern dates are shown in when their item names none (the user's display format).
    QString dateFormat = QStringLiteral("dd/mm/yyyy");
    // Month and day names.
    QLocale names = QLocale(QLocale::English, QLocale::UnitedKingdom);
};

namespace reportformat {

// A bound value as its item shows it: dates (stored "yyyy-MM-dd hh:mm:ss") in the item's
// format or the report's date format, numbers in the item's number format, anything else as
// text. A null value shows as an empty text; a date that cannot be read shows as it is stored.
QString value(const QVariant& value, const ReportItem& item, const ReportContext& context);

// A label's text with %D, %T, %p and %P replaced; a number of pages below 0 is not known yet
// and shows as "…".
QString placeholders(const QString& text, const ReportContext& context, int page, int pages);

}  // namespace reportformat
