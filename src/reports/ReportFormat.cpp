#include "reports/ReportFormat.h"

#include "common/DateText.h"
#include "common/Money.h"
#include "common/Numbers.h"

namespace reportformat {

namespace {

// The day of a stored date ("yyyy-MM-dd", and whatever stands after it): reports read tens of
// thousands of them.
QDate storedDay(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.size() >= 10) {
            if (const auto parts = datetext::readStoredForm(QStringView(text).left(10))) {
                return parts->date;
            }
        }
    }
    return datetext::fromStored(value).date();
}

}  // namespace

QString value(const QVariant& value, const ReportItem& item, const ReportContext& context) {
    if (value.isNull()) {
        return {};
    }
    if (item.isDate) {
        const QDate day = storedDay(value);
        if (!day.isValid()) {
            return value.toString();
        }
        return datetext::format(day, item.format.isEmpty() ? context.dateFormat : item.format,
                                context.names);
    }
    if (!item.format.isEmpty() || item.money) {
        bool numeric = false;
        const double number = value.toDouble(&numeric);
        if (!numeric) {
            return value.toString();
        }
        return item.money ? Money::fromStored(number).withThousands()
                          : numbers::format(number, item.format);
    }
    return value.toString();
}

QString placeholders(const QString& text, const ReportContext& context, int page, int pages) {
    if (!text.contains(u'%')) {
        return text;
    }
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c != u'%' || !QStringLiteral("DTpP").contains(next)) {
            out += c;
            continue;
        }
        ++i;
        if (next == u'D') {
            out += datetext::format(context.printedAt, context.dateFormat, context.names);
        } else if (next == u'T') {
            out += datetext::format(context.printedAt, QStringLiteral("hh:nn"), context.names);
        } else if (next == u'p') {
            out += QString::number(page);
        } else {
            out += pages < 0 ? QStringLiteral("…") : QString::number(pages);
        }
    }
    return out;
}

}  // namespace reportformat
