#include "reports/ReportFormat.h"

#include "common/DateText.h"
#include "common/Money.h"
#include "common/Numbers.h"

namespace reportformat {

namespace {

// The day of a stored date ("yyyy-MM-dd", and a time after it), read without the general
// parser: reports read tens of thousands of them.
QDate storedDay(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        const auto digits = [&text](int from, int count) {
            int n = 0;
            for (int i = from; i < from + count; ++i) {
                const QChar c = text[i];
                if (!c.isDigit()) {
                    return -1;
                }
                n = n * 10 + c.digitValue();
            }
            return n;
        };
        if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
            const QDate day(digits(0, 4), digits(5, 2), digits(8, 2));
            if (day.isValid()) {
                return day;
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
