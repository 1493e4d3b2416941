#pragma once

#include "db/Rows.h"

#include <QStringList>
#include <array>

class Database;

// The lists the job screen offers, and the captions it saves.

namespace jobs {

// The job statuses, introducers and engineers (non-empty, trimmed), in table order.
QStringList jobStatuses(Database& db);
QStringList introducers(Database& db);
QStringList engineerNames(Database& db);

// Clients or customers whose name begins with the text, in name order: Name, Address, Contact,
// DummyId. An empty text lists them all.
Rows findContacts(Database& db, bool clients, const QString& nameStart);

// The documents of a job, oldest first: Date, Title, DummyId, FileName.
Rows jobDocuments(Database& db, qint32 jobNo);

// Rewrites the labels table with one row per caption, in one transaction.
template <size_t N>
bool saveCaptions(Database& db, const std::array<QString, N>& captions);
bool saveCaptionList(Database& db, const QStringList& captions);

template <size_t N>
bool saveCaptions(Database& db, const std::array<QString, N>& captions) {
    return saveCaptionList(db, QStringList(captions.begin(), captions.end()));
}

}  // namespace jobs
