#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

// A screen's control found by its name, as a test meets it; the test ends at once when the
// screen has no such control.
template <class T = QWidget>
T* control(QWidget* screen, const QString& name) {
    auto* found = screen->findChild<T*>(name);
    if (!found) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

// The name of the control that has the keyboard focus.
inline QString focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}
