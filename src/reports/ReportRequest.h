#pragma once

#include "reports/ReportFormat.h"
#include "reports/ReportPages.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariantList>

class AppState;
class CaptionSet;
enum class Caption : int;
class Database;

// One report to produce: the definition that lays it out, the command of the report data that
// feeds it, its title, the statement that selects its rows (every value bound), and the texts
// its column labels get at run time.
struct ReportRequest {
    QString layout;
    QString command;
    QString title;
    QString sql;
    QVariantList params;
    QList<QPair<QString, QString>> labels;

    // The text given to a label, or a null text when the request gives it none.
    QString label(const QString& name) const;
};

// A report ready to be laid out: its definition with the title and label texts given, its
// rows, and a page of the paper in the definition's orientation.
struct PreparedReport {
    bool ok = false;
    QString error;  // why it cannot be produced, for the user
    ReportDefinition definition;
    Rows rows;
    QPageLayout page;
};
PreparedReport prepareReport(Database& db, const ReportRequest& request,
                             QPageSize::PageSizeId paper);

struct ProducedReport {
    bool ok = false;
    QString error;  // why it was not produced, for the user
    ReportPages pages;
};

// The report produced as every report is: the definition, its title and label texts, the
// statement run, and the rows laid out on pages of the given paper in the definition's
// orientation.
ProducedReport produceReport(Database& db, const ReportRequest& request,
                             const ReportContext& context, QPageSize::PageSizeId paper);

// When and how the report is printed: now, in the user's date format and month names.
ReportContext reportContext(const AppState& app);

// The texts of the labels a report shows as column headings: each label with the user's
// caption of that index.
QList<QPair<QString, QString>> captionLabels(const CaptionSet& captions,
                                             const QList<QPair<const char*, Caption>>& labels);

// " ORDER BY " the column (by its sort key where it has one; none when empty), then the job
// number and the row's identity, rows without a value first: every report's rows come in the
// same order on both engines. Dates are named quoted where they must be ("\"Date\"").
QString orderThenJobNumber(const QString& table, const QString& column = {});
