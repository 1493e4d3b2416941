#pragma once

#include "reports/ReportRequest.h"

#include <QDate>

class AppState;
class CaptionSet;
class Database;

// The jobs that have been in the system for at least a number of days, counted from one of
// their dates, sorted by a column or grouped and counted by introducer.

// What the job age screen asks: the days as typed, the captions chosen in its lists, and the
// status and introducer ("All" for any).
struct JobAgeChoice {
    QString days;
    QString dateCaption;
    QString status = QStringLiteral("All");
    QString introducer = QStringLiteral("All");
    QString sortCaption;
    bool grouped = true;
};

// What the screen offers when it opens: the days last typed, the created date, all statuses
// and introducers, the first sort column, grouped.
JobAgeChoice defaultJobAgeChoice(AppState& app);

// The days typed, as the report counts them: the number the text begins with, rounded to a
// whole number (halves to even), without its sign; 0 when there is none.
qint64 jobAgeDays(const QString& text);

// Rebuilds the jobsreport table, which belongs to this workstation's connection alone, from the
// jobs of the status and introducer ("All" for any), each with its age in days from the date
// the caption names to today (0 when the job has no such date), in one statement and one
// transaction. False, with the table as it was, when the database refuses.
bool UpdateAgeTable(Database& db, const CaptionSet& captions, const QDate& today,
                    const QString& sJobStatus, const QString& sIntroducedBy,
                    const QString& sDateType);

// The report of the rebuilt table, sorted by the chosen column (the job number when the
// caption names none), or grouped by introducer.
ReportRequest sortedJobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice);
ReportRequest groupedJobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice);
// The one the choice asks for.
ReportRequest jobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice);
