#include "reports/ReportControls.h"

#include <QComboBox>
#include <QGroupBox>

namespace reportcontrols {

QComboBox* list(QWidget* parent, const char* name, bool dropDownOnly) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(!dropDownOnly);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

void fillWithAll(QComboBox* list, const QStringList& items) {
    list->clear();
    list->addItems(items);
    list->addItem(QStringLiteral("All"));
    list->setCurrentIndex(list->count() - 1);
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace reportcontrols
