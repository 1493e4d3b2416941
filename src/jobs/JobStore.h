#pragma once

#include "db/RowVersion.h"
#include "records/Counters.h"
#include "records/DateFormats.h"
#include "records/JobFields.h"
#include "records/SaveConflict.h"

#include <QString>
#include <optional>

class AppState;
class CaptionSet;
class Database;
class Prompter;

// Reading, numbering, saving and deleting jobs.

namespace jobs {

// How a job's dates and price are shown in its boxes and read back from them.
struct JobFormat {
    DateStyle dates;
    QString currencySymbol;
};
// The formats this workstation uses now.
JobFormat jobFormat(const AppState& app);

// Which stored row a screen shows, and the version it read. A job not stored has none.
struct JobRow {
    qint64 rowId = 0;  // DummyId
    RowVersion version;
};

// A job read for the screen: its fields in display form.
struct LoadedJob {
    enum class Outcome { Found, NotFound, Unreadable } outcome = Outcome::NotFound;
    JobFields fields;
    JobRow row;
    QString error;  // the engine's reason, when unreadable
};
LoadedJob readJob(Database& db, const JobFormat& format, qint32 jobNo);

// The version of the job's row as it is stored now: nothing when the row has gone (or could not
// be read: *failed).
std::optional<RowVersion> storedJobVersion(Database& db, qint64 rowId, bool* failed);

// Writes the job in one transaction with its client, customer and engineer. jobNo 0 saves a new
// job under the next number (from the counter, or manualNumber when given). A stored job is
// saved over the version it was read at (base): when another workstation has saved it since,
// nothing is written and the outcome says so, with the version stored now in row; when it has
// been deleted meanwhile, the same. With no version (an empty base) the job is written again
// under its number. Dates that are not valid dates, and a price that is not an amount, leave
// their fields as they were. A number that another job holds already (typed by hand, or of a
// job written again) is refused (numberHeldBy names that job) and nothing is written; the check
// and the write are one transaction. The versions written carry the stamp.
struct SavedJob {
    SaveOutcome outcome = SaveOutcome::Failed;
    bool ok = false;  // saved
    qint32 jobNo = 0;
    JobRow row;  // the row as saved, or as another workstation left it
    QString error;
    QString numberHeldBy;
};
SavedJob writeJob(Database& db, const JobFormat& format, const SaveStamp& stamp,
                  const JobFields& fields, qint32 jobNo,
                  std::optional<qint32> manualNumber = std::nullopt, const JobRow& base = {});

// The fields in which two versions of a job differ, by the screen's captions.
QList<conflicts::Difference> jobDifferences(const CaptionSet& captions, const JobFields& theirs,
                                            const JobFields& mine);

// Deletes the job and its document records in one transaction; the files stay.
bool deleteJob(Database& db, qint32 jobNo);

// The number of a new job. With manual numbering the user is asked until they type a whole number
// in range (each other answer is explained), and Cancel gives nothing; otherwise the number is
// taken from the counter (nothing when the counter cannot be taken).
std::optional<qint32> GetNewJobNumber(Database& db, Prompter& prompter, bool manualNumbering);

// "job 12 (Mrs Smith, Acme Lettings)": how a message names the job that holds a number, or an
// empty text when no job does.
QString jobHoldingNumber(Database& db, qint32 jobNo);

// Keep one row per name: the job's client, customer and engineer. A contact row that changes
// moves on to a new version, stamped.
bool UpdateClientTable(Database& db, const QString& sName, const QString& sAddress,
                       const QString& sContact, const SaveStamp& stamp = {});
bool UpdateCustomerTable(Database& db, const QString& sName, const QString& sAddress,
                         const QString& sContact, const SaveStamp& stamp = {});
bool SaveEngineer(Database& db, const QString& sEng);
bool DeleteEngineer(Database& db, const QString& sEng);

// The price typed in a box as an amount: the currency symbol and thousands separators are
// allowed. Nothing for an empty box; an invalid text sets *valid false.
std::optional<double> readPrice(const QString& text, const QString& currencySymbol, bool* valid);
QString formatPrice(double amount, const QString& currencySymbol);

}  // namespace jobs
