#pragma once

#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QWidget;

// Keys that do what a click does, for people who work without a mouse.

// Enter (and the keypad's Enter) presses the button while it has the focus, as Space does. The
// dialog's default button is left as it is: Enter in a text box still goes to it.
void pressOnEnter(QAbstractButton* button);

// Enter and Space on the list or grid do what a double-click on its current row does.
void chooseOnEnter(QWidget* view, const std::function<void()>& choose);

// Down in a search box goes into the list of what it found, onto the list's current row (the
// first when none is current); with nothing listed the key is the box's own.
void downIntoList(QWidget* box, QAbstractItemView* list);

// Escape, with the focus anywhere inside the panel, presses its Close or Cancel button.
void pressOnEscape(QWidget* panel, QAbstractButton* button);

// Escape closes the window, as its Close or Exit button does.
void closeOnEscape(QWidget* window);
