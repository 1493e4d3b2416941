#pragma once

#include <QString>
#include <QStringView>

// The number rules every screen uses.
namespace numbers {

// The number a text begins with, as the classic Val reads it: leading blanks (spaces, tabs, line
// feeds) are passed over, then an optional sign, digits, a decimal point and more digits, and an
// optional exponent (E or D); reading stops at the first other character. "12ab" is 12,
// "" and "abc" are 0, " -3.5x" is -3.5.
double leadingNumber(QStringView text);
// The same number spelled out plainly, for exact decimal arithmetic: an optional "-" or "+",
// digits, a decimal point and digits, and an exponent "e" ("- 3.5D2x" gives "-3.5e2"); empty
// when the text does not begin with a number.
QString leadingNumberText(QStringView text);

// True when the whole text, without surrounding blanks, is a number (sign, digits, one decimal
// point, an optional exponent); the number goes to *value.
bool isNumber(QStringView text, double* value = nullptr);

// A number read from the database, spelled as it was most likely typed: the shortest spelling
// that reads back as the same double when it has at most 15 digits; otherwise, for a number
// that single precision holds exactly (as the earlier release stored prices and quantities),
// the shortest spelling of that single (17.67499923... gives "17.675"); otherwise 15 digits.
QString storedText(double value);

// Rounds to the given number of decimals, halves to the even neighbour: 2.5 gives 2, 3.5 gives
// 4, 0.125 to two decimals gives 0.12.
double roundHalfEven(double value, int decimals = 0);

// Formats a number with a pattern of the form "#0.00", "#,##0.00", "0", "#,##0", "0.0": the
// digits after the point give the decimals (rounded half to even), a "," asks for thousands
// separators, "0" before the point asks for at least one digit there. The decimal point is "."
// and the separator ",".
QString format(double value, QStringView pattern);

}  // namespace numbers
