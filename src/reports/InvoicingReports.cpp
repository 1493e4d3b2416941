#include "reports/InvoicingReports.h"

#include "db/TextKeys.h"

namespace {

ReportRequest invoiceStatusReport(const char* layout, const QString& title,
                                  const QString& invoiceStatus) {
    ReportRequest r;
    r.layout = QString::fromLatin1(layout);
    r.command = QStringLiteral("Jobs");
    r.title = title;
    const textkeys::Condition status =
        textkeys::equals(QStringLiteral("InvoiceStatus"), invoiceStatus);
    r.sql = QStringLiteral("SELECT * FROM Jobs WHERE ") + status.sql +
            orderThenJobNumber(QStringLiteral("Jobs"), QStringLiteral("\"Date\""));
    r.params = {status.value};
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
