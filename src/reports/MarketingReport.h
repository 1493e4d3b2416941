#pragma once

#include "records/DateFormats.h"
#include "reports/ReportRequest.h"

#include <optional>

class AppState;
class CaptionSet;

// The jobs whose chosen date lies within a From/To range, optionally of one status and one
// introducer, as a list sorted by a column or grouped and counted by introducer.

struct MarketingChoice {
    QString from;
    QString to;
    QString dateCaption;
    QString status = QStringLiteral("All");
    QString introducer = QStringLiteral("All");
    bool grouped = true;
    // The order list's caption; empty when the list is disabled (while grouping).
    QString orderCaption;
};

// What the screen offers when it opens: from the first of this month to today, by the created
// date, all statuses and introducers, grouped (ordered by the created date when not).
MarketingChoice defaultMarketingChoice(const AppState& app);

// Why the dates cannot make a report: the message and title to show, and which box to go back
// to.
struct DateRangeProblem {
    enum class Box { From, To } box;
    QString message;
    QString title;
};

struct MarketingReport {
    std::optional<DateRangeProblem> problem;
    ReportRequest request;
};

// Checks the dates (both must be dates in the user's format, To after From) and builds the
// report. The range takes in the whole of the To day.
MarketingReport marketingReport(const CaptionSet& captions, const DateStyle& dates,
                                const MarketingChoice& choice);

// The column headings of the flat date-range layout: the user's captions.
QList<QPair<QString, QString>> jobStatusLabels(const CaptionSet& captions);
