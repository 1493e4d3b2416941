#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Database;

// The system-wide settings the setup screen edits: the Counters row and the date formats.
namespace setupvalues {

struct Counters {
    qint64 jobCounter = 0;   // JobCounter
    qint64 fileCounter = 0;  // FileCounter
    qint64 invoice = 0;      // Free2
    qint64 estimate = 0;     // Estimate
    qint64 options = 0;      // Free3, the option bits
    QString currencySign;
    QString taxDesc;

    bool operator==(const Counters&) const = default;
};

// The first Counters row; nothing when there is none or it cannot be read.
std::optional<Counters> readCounters(Database& db);
// Stores in the Counters row the values that differ from those read when the screen opened,
// adding the row when there is none; the option bits in optionMask are the ones compared, every
// other bit of Free3 is kept. A value another workstation changed meanwhile and the user did not
// is left as the other workstation wrote it. False when it could not be written (see the last
// error).
bool writeCounters(Database& db, const Counters& values, const Counters& loaded,
                   qint64 optionMask);

// The date formats in alphabetical order, each once, and the one marked as default.
struct DateFormats {
    QStringList formats;
    QString defaultFormat;
};
DateFormats LoadDateFormats(Database& db);
// Marks the format as the one in force; a format without a row leaves none marked.
bool SaveDateFormat(Database& db, const QString& sDateFormat);

}  // namespace setupvalues
