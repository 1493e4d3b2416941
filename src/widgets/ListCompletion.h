#pragma once

class QComboBox;

// Completion for a drop-down list the user may type into: the entries that begin with what is
// typed are offered in a pop-up below the box, and only an entry the user chooses there
// replaces the typing. Leaving the box (Tab) keeps exactly what was typed.
void completeByPopup(QComboBox* list);
