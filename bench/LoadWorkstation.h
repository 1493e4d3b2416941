#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QTextStream>

struct BenchApplication;

// One workstation of the load test: a process of its own that works on the shared database as
// the screens do, one operation after another, and writes a line for each to its log:
//
//   operation <TAB> outcome <TAB> milliseconds <TAB> key <TAB> version <TAB> marker
//
// operation: new-job, save-job, save-contact, save-estimate, search, report, document.
// outcome:   done; kept (a conflict of a save, settled by saving over the other version);
//            cancelled (a conflict of a save, settled by saving nothing); refused (the server
//            was away: nothing written); error (anything else, with the reason as marker).
// key:       the job number, contact identity, estimate number or document file; version: the
//            version a save wrote; marker: a text unique to the operation, written with it.
namespace load {

// What the driver seeds before the workstations start.
inline constexpr int kSharedJobs = 20;
inline constexpr int kSharedContacts = 10;
inline constexpr qint64 kFirstEstimate = 1000;
inline constexpr int kSharedEstimates = 5;
inline const QString kTemplate = QStringLiteral("Job Sheet.dotx");

class Workstation {
public:
    Workstation(BenchApplication& bench, int index, QTextStream& log);

    // Runs the operations; false when the server stayed away past the deadline.
    bool run(int operations, qint64 deadlineMs);
    // How often the server link told the user the server was away, by itself.
    int toldAway() const;

private:
    void newJob(const QString& marker);
    void saveJob(const QString& marker);
    void saveContact(const QString& marker);
    void saveEstimate(const QString& marker);
    void search(const QString& marker);
    void report(const QString& marker);
    void document(const QString& marker);

    // A conflict is settled as a user would: keeping theirs half the time.
    bool keepMine() { return random_.bounded(2) == 0; }
    // Logs an operation that did not go through: refused when the server was away.
    void failed(const QString& operation, qint64 ms, const QString& reason);
    void write(const QString& operation, const QString& outcome, qint64 ms, const QString& key,
               qint64 version, const QString& marker);
    // Waits until the server link has reconnected, working its events as the program would.
    bool waitForServer(qint64 deadlineMs);

    BenchApplication& bench_;
    int index_;
    QTextStream& log_;
    QRandomGenerator random_;
};

}  // namespace load
