#pragma once

#include "jobs/JobFields.h"
#include "startup/Counters.h"

#include <QString>
#include <optional>

class AppState;
class Database;

// Reading, numbering, saving and deleting jobs.

// A job read for the screen: its fields in display form.
struct LoadedJob {
    enum class Outcome { Found, NotFound, Unreadable } outcome = Outcome::NotFound;
    JobFields fields;
    QString error;  // the engine's reason, when unreadable
};
LoadedJob readJob(AppState& app, qint32 jobNo);

// Writes the job in one transaction with its client, customer and engineer. jobNo 0 saves a new
// job under the next number (from the counter, or manualNumber when given); a job number that
// no longer exists is written again under that number. Dates that are not valid dates, and a
// price that is not an amount, leave their fields as they were. The job's number when saved.
// A manual number that another job holds already is refused (numberHeldBy names that job) and
// nothing is written; the check and the write are one transaction.
struct SavedJob {
    bool ok = false;
    qint32 jobNo = 0;
    QString error;
    QString numberHeldBy;
};
SavedJob writeJob(AppState& app, const JobFields& fields, qint32 jobNo,
                  std::optional<qint32> manualNumber = std::nullopt);

// Deletes the job and its document records in one transaction; the files stay.
bool deleteJob(Database& db, qint32 jobNo);

// The number of a new job. With manual numbering the user is asked until they type a whole number
// in range (each other answer is explained), and Cancel gives nothing; otherwise the number is
// taken from the counter (nothing when the counter cannot be taken).
std::optional<qint32> GetNewJobNumber(AppState& app);
// Takes the next value of a counter: 1 jobs, 2 documents, 3 invoices; any other type gives 0 and
// changes nothing. A counter out of range gives no number and the reason.
counters::Taken GetCounter(Database& db, int counterType);

// "job 12 (Mrs Smith, Acme Lettings)": how a message names the job that holds a number, or an
// empty text when no job does.
QString jobHoldingNumber(Database& db, qint32 jobNo);

// Keep one row per name: the job's client, customer and engineer.
bool UpdateClientTable(Database& db, const QString& sName, const QString& sAddress,
                       const QString& sContact);
bool UpdateCustomerTable(Database& db, const QString& sName, const QString& sAddress,
                         const QString& sContact);
bool SaveEngineer(Database& db, const QString& sEng);
bool DeleteEngineer(Database& db, const QString& sEng);

// The price typed in a box as an amount: the currency symbol and thousands separators are
// allowed. Nothing for an empty box; an invalid text sets *valid false.
std::optional<double> readPrice(const QString& text, const QString& currencySymbol, bool* valid);
QString formatPrice(double amount, const QString& currencySymbol);
