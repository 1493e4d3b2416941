#pragma once

class AppState;
class QLineEdit;

// Checks a date box when it loses the focus: a date is rewritten in the display format; an
// invalid one is reported when date validation is forced, and the focus goes back to the box.
void ValidateDateBox(AppState& app, QLineEdit* box);
