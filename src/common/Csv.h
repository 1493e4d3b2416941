#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringView>
#include <QVariant>

// Comma-separated values as spreadsheet programs open them (RFC 4180): UTF-8 after a byte-order
// mark (which tells Excel the encoding, so accents survive), CRLF between records, and a field
// quoted, its quotes doubled, when it holds a comma, a quote, a line break, or blanks at either
// end (which some readers would otherwise drop).
namespace csv {

// How a column's stored values are written.
enum class Kind {
    Text,      // as they are, line breaks and all
    Date,      // yyyy-MM-dd
    DateTime,  // yyyy-MM-dd hh:mm:ss, which Calc and Excel both read as a date and time
    Money,     // a plain number with a dot and two decimals: 1234.50, -3.00
    Number,    // a plain number with a dot
};

// A stored value as its column's kind writes it; nothing for a null. A date or an amount that
// cannot be read as one is written as it is stored, so nothing is lost.
QString valueText(const QVariant& value, Kind kind);

// A file written a record at a time, under its name only once complete: a write that fails (a
// full disk, a folder that refuses it) leaves whatever was there before, and no part of the new
// file, and error() says why.
class Writer {
public:
    Writer() = default;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Starts the file; false when it cannot be made (see error()).
    bool open(const QString& file);
    // Adds a field to the record under way.
    void field(QStringView text);
    // Ends the record; false once writing has failed.
    bool endRecord();
    // Puts the whole file in place; false when it could not be written (see error()).
    bool commit();
    // Drops what was written, leaving the file as it was before open().
    void cancel();
    // Why the file could not be written, naming it; empty while all is well.
    const QString& error() const { return error_; }

private:
    bool flush();
    bool failed(const QString& reason);

    QSaveFile file_;
    QByteArray buffer_;
    bool recordStarted_ = false;
    QString error_;
};

}  // namespace csv
