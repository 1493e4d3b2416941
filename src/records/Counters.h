#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Database;
class Prompter;

// The numbers the program hands out from the Counters row: jobs, documents, invoices and
// estimates. Every number is one the number columns hold on both engines (1 to 2147483647).
namespace counters {

enum class Kind { Job, Document, Invoice, Estimate };

inline constexpr qint64 kLowest = 1;
inline constexpr qint64 kHighest = 2147483647;

// The Counters column that holds the next number of a kind, and how the user names it.
QString column(Kind kind);
QString caption(Kind kind);  // "job number", "document number", ...

// A number taken, or why none could be: the engine's reason, or a counter out of range.
struct Taken {
    std::optional<qint32> number;
    QString error;
    QString corrected;  // how the counter was corrected before the number was taken, if it was

    explicit operator bool() const { return number.has_value(); }
    qint32 operator*() const { return *number; }
};

// Takes the next number of a kind and moves the counter past it, in its own transaction (or the
// caller's). Writing first takes the write lock, so two workstations never take the same number.
// A counter that is missing, not a number, or not above the highest number of its kind in use
// is corrected first (see correct). A counter above the range gives no number and says so, and
// the counter stays as it was.
Taken take(Database& db, Kind kind);

// A counter checked against the numbers in use (jobs' and estimates' numbers, the numbers of the
// documents' and invoices' file names): one that is missing, not a whole number or not above the
// highest in use is set to the number after it. What was corrected, for the user, or the
// engine's reason; both empty when the counter was right. Runs in the caller's transaction.
struct Correction {
    QString message;
    QString error;
};
Correction correct(Database& db, Kind kind);

// The highest number of a kind that a record holds (0 when none does), or nothing when it
// cannot be read.
std::optional<qint64> highestInUse(Database& db, Kind kind);

// Every counter checked and corrected in one transaction.
struct Corrections {
    QStringList messages;
    QString error;
};
Corrections correctAll(Database& db);

// Whether a number typed as the next one of a kind is in range; the reason, naming the text
// typed, when it is not.
QString checkNext(Kind kind, qint64 value, const QString& typed);

// A number typed by the user: a whole number within the range, or nothing ("1.7", "12ab",
// "3000000000" and "" are not numbers a record can have).
std::optional<qint32> readWholeNumber(const QString& text);

// Asks the user for a number of a kind until they type one in range (blanks inside are passed
// over), explaining each answer refused; nothing when they cancel.
std::optional<qint32> askNumber(Prompter& prompter, Kind kind, const QString& prompt,
                                const QString& title);

}  // namespace counters

// Takes the next value of a counter: 1 jobs, 2 documents, 3 invoices; any other type gives 0 and
// changes nothing. A counter out of range gives no number and the reason.
counters::Taken GetCounter(Database& db, int counterType);
