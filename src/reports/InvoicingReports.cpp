#include "reports/InvoicingReports.h"

namespace {

ReportRequest invoiceStatusReport(const char* layout, const QString& title,
                                  const QString& invoiceStatus) {
    ReportRequest r;
    r.layout = QString::fromLatin1(layout);
    r.command = QStringLiteral("Jobs");
    r.title = title;
    r.sql = QStringLiteral("SELECT * FROM Jobs WHERE InvoiceStatus = ? ORDER BY \"Date\", JobNo");
    r.params = {invoiceStatus};
    return r;
}

}  // namespace

ReportRequest awaitingInvoicingReport() {
    return invoiceStatusReport("drAwaitInvoice", QStringLiteral("Jobs Awaiting Invoicing"),
                               QStringLiteral("Awaiting Invoicing"));
}

ReportRequest awaitingPaymentReport() {
    return invoiceStatusReport("drAwaitPayment", QStringLiteral("Jobs Awaiting Payment"),
                               QStringLiteral("Awaiting Payment"));
}
