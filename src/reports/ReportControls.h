#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QWidget;

// Controls the report screens build the same way.
namespace reportcontrols {

// A list with an object name; a drop-down list accepts only its items, otherwise text may be
// typed too (and is not added to the list).
QComboBox* list(QWidget* parent, const char* name, bool dropDownOnly = true);
// The items, then "All", which is chosen.
void fillWithAll(QComboBox* list, const QStringList& items);
// A framed group of controls with a caption (a doubled ampersand shows as one).
QGroupBox* frame(QWidget* parent, const char* name, const QString& caption);

}  // namespace reportcontrols
