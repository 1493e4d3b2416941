#include "reports/ReportFormat.h"

#include "startup/DateText.h"
#include "startup/Numbers.h"

namespace reportformat {

QString value(const QVariant& value, const ReportItem& item, const ReportContext& context) {
    if (value.isNull()) {
        return {};
    }
    if (item.isDate) {
        const QDateTime moment = datetext::fromStored(value);
        if (!moment.isValid()) {
            return value.toString();
        }
        return datetext::format(moment, item.format.isEmpty() ? context.dateFormat : item.format,
                                context.names);
    }
    if (!item.format.isEmpty()) {
        bool numeric = false;
        const double number = value.toDouble(&numeric);
        return numeric ? numbers::format(number, item.format) : value.toString();
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
            out += QString::number(pages);
        }
    }
    return out;
}

}  // namespace reportformat
