#pragma once

#include "db/ResultExport.h"
#include "reports/ReportDefinition.h"

#include <QList>
#include <QString>

class ReportPages;

// A report as a table for a spreadsheet: a column for each field of its rows' band, from left to
// right, headed by the column heading printed above it (the page header's, or the group
// header's where the headings repeat with each group), or by its field's name where none is;
// the field the report groups by comes first.
namespace reportexport {

QList<resultexport::Column> columns(const ReportDefinition& definition);

// The rows the report lays out, in its order, written to a CSV file in those columns.
resultexport::Outcome write(const ReportPages& report, const QString& file);

}  // namespace reportexport
