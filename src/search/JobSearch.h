#pragma once

#include "db/ResultExport.h"
#include "db/Rows.h"
#include "db/TextIndex.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class Database;

// Finding jobs for the search screen.

// The Jobs field the search is ordered by, from the text chosen in the "Order By" list: "Job
// Number", "Job Status", or the caption of the created (11), surveyed (0), due (5), customer
// reference (15) or name (2) label, compared exactly. Anything else orders by JobNo.
QString orderFieldFor(const QString& choice, const std::array<QString, 36>& captions);

// The jobs that hold the text (trimmed) in any of their name, address, numbers, details and
// reference fields, without regard to case, or whose number is the number the text begins
// with (a whole number the job number can be: "123 High St" finds job 123, "20004.5" and
// "07700900123" no job by its number); with an empty text every job that has a name. A status,
// when given, must match as well.
// Rows: DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, DateCreated,
// DateReceived, DateDue, CustRef, ordered by orderField and then JobNo. An orderField that is
// not one orderFieldFor gives is taken as JobNo. The texts are found through the text index
// unless through asks to read every row (the same rows, more slowly). Nothing on failure (see
// db.lastError()).
std::optional<Rows> searchJobs(Database& db, const QString& text, const QString& status,
                               const QString& orderField,
                               textindex::Through through = textindex::Through::Index);
// How many jobs searchJobs finds.
std::optional<qint64> countJobs(Database& db, const QString& text, const QString& status);
// limit of the rows searchJobs finds, from the offset-th on, ordered by orderField either way
// (rows without a value first going up, last going down), for a grid that reads as it scrolls.
std::optional<Rows> jobsBlock(Database& db, const QString& text, const QString& status,
                              const QString& orderField, Qt::SortOrder direction, qint64 offset,
                              int limit);

// The statement of the rows searchJobs finds, all of them, ordered by orderField either way.
resultexport::Statement jobsStatement(Database& db, const QString& text, const QString& status,
                                      const QString& orderField, Qt::SortOrder direction,
                                      textindex::Through through);

// The columns the search grid shows, in its order, with the job screen's captions (the
// user's) for the dates and the customer's reference.
QList<resultexport::Column> jobSearchColumns(const std::array<QString, 36>& captions);
// Every job the search finds written to a CSV file in those columns, in the grid's order.
resultexport::Outcome exportJobs(Database& db, const QString& file,
                                 const QList<resultexport::Column>& columns, const QString& text,
                                 const QString& status, const QString& orderField,
                                 Qt::SortOrder direction = Qt::AscendingOrder);

// A short text that changes whenever a job is added, saved or deleted (read from the jobs'
// identities and versions, not their rows), so a grid of found jobs knows when to search again.
QString jobsFingerprint(Database& db);
