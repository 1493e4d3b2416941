#pragma once

#include "reports/ReportDefinition.h"

#include <QStringList>
#include <optional>

// The program's report definitions, by name: "drAwaitInvoice" and "drAwaitPayment" (jobs
// awaiting invoicing or payment), "drQuoteStatus" and "drIntroducedGroup" (the job age report,
// sorted and grouped by introducer), "drJobStatus" and "drjobGroup" (jobs within a date range,
// flat and grouped by introducer). Names compare without regard to case.
namespace reportlayouts {

std::optional<ReportDefinition> byName(const QString& name);
QStringList names();

}  // namespace reportlayouts
