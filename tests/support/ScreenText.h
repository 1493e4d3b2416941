#pragma once

#include "support/ScreenControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

// Short forms for what a test does most with a screen's controls, found by name: read what one
// shows, press a button, type into a box, ask whether one is on view.

// The text a label, box, list or button shows.
inline QString textOf(QWidget* screen, const QString& name) {
    QWidget* w = control(screen, name);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        return box->text();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* lines = qobject_cast<QPlainTextEdit*>(w)) {
        return lines->toPlainText();
    }
    if (auto* list = qobject_cast<QComboBox*>(w)) {
        return list->currentText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    qFatal("control %s shows no text", qPrintable(name));
}

inline void press(QWidget* screen, const QString& name) {
    control<QAbstractButton>(screen, name)->click();
}

// Keys typed into the control, as the keyboard does it.
inline void typeInto(QWidget* screen, const QString& name, const QString& keys) {
    QTest::keyClicks(control(screen, name), keys);
}

inline bool onView(QWidget* screen, const QString& name) {
    return control(screen, name)->isVisible();
}
