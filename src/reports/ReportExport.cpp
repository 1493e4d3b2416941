#include "reports/ReportExport.h"

#include "reports/ReportPages.h"

namespace reportexport {

namespace {

// How far apart, in points, a heading and its column may start and still line up.
constexpr qreal kAligned = 2;

// A heading as a column's name: without the colon some headings end in.
QString headingText(const QString& text) {
    QString heading = text.trimmed();
    while (heading.endsWith(u':')) {
        heading.chop(1);
        heading = heading.trimmed();
    }
    return heading;
}

// The heading printed above a bound item: a label of the headings' bands that starts where the
// item starts, or failing that the one that covers most of its width.
QString headingFor(const ReportDefinition& definition, const ReportItem& item) {
    const ReportItem* best = nullptr;
    qreal bestOverlap = 0;
    for (const ReportBand* band : {&definition.pageHeader, &definition.groupHeader}) {
        for (const ReportItem& label : band->items) {
            if (label.kind != ReportItem::Kind::Label || headingText(label.text).isEmpty()) {
                continue;
            }
            if (qAbs(label.box.left() - item.box.left()) <= kAligned) {
                return headingText(label.text);
            }
            const qreal overlap =
                qMin(label.box.right(), item.box.right()) - qMax(label.box.left(), item.box.left());
            if (overlap > bestOverlap) {
                best = &label;
                bestOverlap = overlap;
            }
        }
    }
    return best ? headingText(best->text) : item.field;
}

csv::Kind kindOf(const ReportItem& item) {
    if (item.money) {
        return csv::Kind::Money;
    }
    if (item.isDate) {
        return item.format.contains(u'h') ? csv::Kind::DateTime : csv::Kind::Date;
    }
    if (item.format.startsWith(u'#') || item.format.startsWith(u'0') ||
        item.align.testFlag(Qt::AlignRight)) {
        return csv::Kind::Number;
    }
    return csv::Kind::Text;
}

// The band's bound items from left to right.
QList<const ReportItem*> fieldsOf(const ReportBand& band) {
    QList<const ReportItem*> fields;
    for (const ReportItem& item : band.items) {
        if (item.kind == ReportItem::Kind::Field && !item.field.isEmpty()) {
            fields << &item;
        }
    }
    std::stable_sort(fields.begin(), fields.end(), [](const ReportItem* a, const ReportItem* b) {
        return a->box.left() < b->box.left();
    });
    return fields;
}

}  // namespace

QList<resultexport::Column> columns(const ReportDefinition& definition) {
    QList<resultexport::Column> out;
    const auto column = [&definition](const ReportItem& item) {
        return resultexport::Column{headingFor(definition, item), item.field, kindOf(item)};
    };
    const QString& group = definition.groupField;
    if (!group.isEmpty()) {
        // As the group's band or the rows' band shows it, or by its name.
        resultexport::Column first{group, group, csv::Kind::Text};
        for (const ReportBand* band : {&definition.groupHeader, &definition.detail}) {
            for (const ReportItem* item : fieldsOf(*band)) {
                if (item->field.compare(group, Qt::CaseInsensitive) == 0) {
                    first = column(*item);
                    break;
                }
            }
            if (first.heading != group) {
                break;
            }
        }
        out << first;
    }
    for (const ReportItem* item : fieldsOf(definition.detail)) {
        if (group.isEmpty() || item->field.compare(group, Qt::CaseInsensitive) != 0) {
            out << column(*item);
        }
    }
    return out;
}

resultexport::Outcome write(const ReportPages& report, const QString& file) {
    return resultexport::exportRows(file, columns(report.definition()), report.rows(),
                                    report.rowOrder());
}

}  // namespace reportexport
