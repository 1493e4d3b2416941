#pragma once

#include <QDate>
#include <QString>

class Database;

// A register the size of a busy business's, for measuring the program on realistic data: clients
// (agents, insurers, loss adjusters), their customers, engineers, years of jobs with their
// documents, and estimates with their lines and printings. The same seed and the same closing
// date always give the same rows.
namespace benchdata {

struct DataSize {
    int jobs = 100000;
    int customers = 20000;
    int clients = 5000;
    int engineers = 25;
    int estimates = 10000;
};

// What was written.
struct RowCounts {
    qint64 clients = 0;
    qint64 customers = 0;
    qint64 engineers = 0;
    qint64 jobs = 0;
    qint64 docs = 0;
    qint64 estimates = 0;
    qint64 estimateLines = 0;
    qint64 estimateDocs = 0;
    qint64 stock = 0;
    // The highest job number, 0 without jobs.
    qint64 lastJobNo = 0;
    // How long the text indexes took to build over the finished rows.
    double textIndexSeconds = 0;
};

// Fills an open database that was just made by schema::createDatabaseFile, in one transaction.
// The jobs and estimates are spread over the six years that end on `until`. Gives an empty text
// on success, otherwise the reason (and nothing is written).
QString fill(Database& db, const DataSize& size, quint32 seed, const QDate& until,
             RowCounts* counts = nullptr);

// A complete new database file holding the generated rows. Refuses a file that exists; the file
// appears only when it is complete. Gives an empty text on success, otherwise the reason.
QString createFile(const QString& file, const DataSize& size, quint32 seed, const QDate& until,
                   RowCounts* counts = nullptr);

}  // namespace benchdata
