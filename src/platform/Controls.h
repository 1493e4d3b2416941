#pragma once

#include <QString>

class QPushButton;
class QWidget;

// Small builders for the controls every screen makes the same way.

// A push button with an object name (tests and screenshots find controls by it) that does not
// take Enter for itself: Enter belongs to the box the user is typing in.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip = {});
