#pragma once

#include "common/DateText.h"

class AppState;
class QLineEdit;

// Checks a date box when it loses the focus: a date is rewritten in the display format; an
// invalid one is reported when date validation is forced, and the focus goes back to the box.
// A box that still shows the text it was given for a date keeps that date.
void ValidateDateBox(AppState& app, QLineEdit* box);

// Puts a date's text in a box and keeps the date behind it (an empty text clears the box).
void showBoxDate(QLineEdit* box, const datetext::Shown& shown);
// The date behind a box with the text it was shown with; an invalid date when the box shows
// something else now (the user typed over it).
datetext::Shown boxDate(const QLineEdit* box);
