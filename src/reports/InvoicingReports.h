#pragma once

#include "reports/ReportRequest.h"

// The jobs waiting for an invoice, or for payment of one: every job whose invoice status is
// exactly that text, oldest date first, with the total of their prices and their number.
ReportRequest awaitingInvoicingReport();
ReportRequest awaitingPaymentReport();
