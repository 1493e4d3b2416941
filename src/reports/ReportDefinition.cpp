#include "reports/ReportDefinition.h"

#include <QStringList>

namespace {

template <typename Definition, typename Visit>
auto findItem(Definition& definition, const QString& itemName, Visit visit) {
    for (auto* band : {&definition.reportHeader, &definition.pageHeader, &definition.groupHeader,
                       &definition.detail, &definition.groupFooter, &definition.pageFooter,
                       &definition.reportFooter}) {
        for (auto& item : band->items) {
            if (item.name.compare(itemName, Qt::CaseInsensitive) == 0) {
                return visit(&item);
            }
        }
    }
    return visit(nullptr);
}

}  // namespace

ReportItem* ReportDefinition::item(const QString& itemName) {
    return findItem(*this, itemName, [](ReportItem* found) { return found; });
}

const ReportItem* ReportDefinition::item(const QString& itemName) const {
    return findItem(*this, itemName, [](const ReportItem* found) { return found; });
}

bool ReportDefinition::setText(const QString& itemName, const QString& text) {
    ReportItem* found = item(itemName);
    if (!found) {
        return false;
    }
    found->text = text;
    return true;
}

QStringList ReportDefinition::fields() const {
    QStringList out;
    for (const ReportBand* band : {&reportHeader, &pageHeader, &groupHeader, &detail, &groupFooter,
                                   &pageFooter, &reportFooter}) {
        for (const ReportItem& item : band->items) {
            if (!item.field.isEmpty() && !out.contains(item.field, Qt::CaseInsensitive)) {
                out << item.field;
            }
        }
    }
    if (!groupField.isEmpty() && !out.contains(groupField, Qt::CaseInsensitive)) {
        out << groupField;
    }
    return out;
}
