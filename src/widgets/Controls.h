#pragma once

#include <QString>
#include <functional>

class AppState;
class QPushButton;
class QWidget;

// Small builders for the controls every screen makes the same way.

// A push button with an object name (tests and screenshots find controls by it) that Enter
// presses, as Space does, while it has the focus. Enter in a box goes to the dialog's default
// button, if it has one, not to the last button the user was on.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip = {});

// Paints a box light blue while it has the focus and white when it loses it, as every screen's
// typing boxes do. An editable combo box is painted with its text box. With keepWhileAway the
// box stays blue while the focus is in another window or a pop-up list (the job screen's
// fields do that).
void highlightOnFocus(QWidget* box, bool keepWhileAway = false);

class QTableView;

// A read-only grid of search results: whole rows selected one at a time, left-aligned headings,
// rows of one fixed height (the view never measures a long result).
QTableView* makeResultsGrid(QWidget* parent, const char* name);

// The one open instance of a modeless screen: brought forward when it is open, otherwise made
// (and loaded) by make, and shown. It is discarded when closed.
QWidget* showScreen(AppState& app, const QString& name, const std::function<QWidget*()>& make);
