#pragma once

#include "db/Rows.h"

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
// with; with an empty text every job that has a name. A status, when given, must match as well.
// Rows: DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, DateCreated,
// DateReceived, DateDue, CustRef, ordered by orderField and then JobNo. An orderField that is
// not one orderFieldFor gives is taken as JobNo. Nothing on failure (see db.lastError()).
std::optional<Rows> searchJobs(Database& db, const QString& text, const QString& status,
                               const QString& orderField);

// A short text that changes whenever a job is added, saved or deleted (read from the jobs'
// identities and versions, not their rows), so a grid of found jobs knows when to search again.
QString jobsFingerprint(Database& db);
