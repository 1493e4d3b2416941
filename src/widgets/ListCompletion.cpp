#include "widgets/ListCompletion.h"

#include <QComboBox>
#include <QCompleter>

void completeByPopup(QComboBox* list) {
    QCompleter* completer = list->completer();
    if (!completer) {
        return;
    }
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
}
