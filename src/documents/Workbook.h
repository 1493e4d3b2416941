#pragma once

#include "documents/OfficeError.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// A spreadsheet workbook or template (.xltx, .xlsx, .xltm, .xlsm) read into memory, for filling
// in an invoice: find the cells holding tokens, write texts and dates, replace tokens, save.
// Everything works on the active sheet. A failed call tells why in error(); a successful open or
// save clears it.
class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;

    // .xltx, .xlsx (and the macro-enabled pair). A workbook whose relationships name a part it
    // does not hold is refused like any other broken file (error 321).
    bool open(const QString& path);
    bool openData(const QByteArray& zipBytes);
    const OfficeError& error() const;

    // The active sheet is the workbook's active tab (the first worksheet when none is marked, or
    // when the marked one is not a worksheet); the active cell starts at A1.
    // Searches the active sheet for a cell whose text (as cellText shows it) contains `what`,
    // row by row from the cell after the active cell, wrapping round to the start (so the active
    // cell itself is looked at last); makes it the active cell and gives its absolute address
    // such as "$B$5". Nothing found, or an empty `what`: no value, the active cell stays.
    std::optional<QString> find(const QString& what, bool matchCase);
    QString activeCellAddress() const;  // "$A$1" style
    // Writes a text, a number, or a date stored as a real date value and shown as a date (a date
    // cell format is added to the styles when the workbook has none that fits), at "$B$5" or "B5";
    // the cell and its row are made when missing, in order. Writing over a formula removes it.
    // A date the workbook cannot hold (before its first day) is written as text; an invalid
    // QDate empties the cell.
    // An address that cannot be read changes nothing and gives error 1004.
    void setCellText(const QString& address, const QString& text);
    void setCellDate(const QString& address, const QDate& date);
    void setCellNumber(const QString& address, double value);
    // The text cells of the active sheet that hold `what` and nothing else (blanks aside,
    // letters without regard to case), by absolute address in sheet order.
    QStringList cellsHolding(const QString& what) const;
    // The cell's text as shown (a number as a number, a date as "dd/mm/yyyy", TRUE/FALSE),
    // for checks; empty for an empty or missing cell.
    QString cellText(const QString& address) const;
    // Replaces `what` wherever it stands in a text cell of the active sheet, part of the cell,
    // letters without regard to case; true when any cell changed. A cell whose text is a shared
    // string gets the new text without changing other cells that share the string. Cells with
    // formulas are left alone.
    bool replaceAll(const QString& what, const QString& replacement);
    // As a workbook (template content type → sheet), whole or not at all. Once cells have
    // changed, the workbook asks to have its formulas worked out again when it is next opened.
    bool saveAs(const QString& path);
    // To the path last saved to; before any saveAs, to the file opened when that was a workbook
    // (a template must be given a name with saveAs first: error 75).
    bool save();
    // The package in memory; empty when it could not be made (see error()).
    QByteArray saveData();

private:
    void ensure();

    struct Impl;
    std::unique_ptr<Impl> d;
};
