#pragma once

#include "records/JobFields.h"

// What the concurrency test and the workstation program it starts agree on: the two complete
// versions of one job that two workstations save at once, and how the program is told what to do.
//
//   verdell-test-workstation CONNECTION numbers COUNT
//       takes COUNT job numbers, writing each to standard output on a line of its own;
//   verdell-test-workstation CONNECTION save JOBNO VERSION COUNT
//       reads the job and saves its version (0 or 1) over the one read, COUNT times, writing
//       "saved", or "conflict" when the other workstation saved in between, for each.
// The program ends with status 0 when every number was taken and every save succeeded.
namespace workstation {

inline QString dateFormat() { return QStringLiteral("dd/mm/yyyy"); }
inline QString currency() { return QStringLiteral("\u00A3"); }

// Every field differs between the two versions, so a row made of parts of both shows.
inline JobFields version(int which) {
    const QString tag = which == 0 ? QStringLiteral("North") : QStringLiteral("South");
    auto t = [&](const char* field) { return QStringLiteral("%1 %2").arg(tag, QLatin1String(field)); };
    JobFields f;
    f.JobStatus = t("status");
    f.IntroducedBy = t("introducer");
    f.ClientRef = t("engineer");
    f.WorkName = t("customer");
    f.HomeAddress = QStringLiteral("%1\nLeeds").arg(t("street"));
    f.HomeNumbers = t("phone");
    f.WorkDetails = t("details");
    f.WorkNotes = t("notes");
    f.DateCreated = which == 0 ? QStringLiteral("01/02/2010") : QStringLiteral("11/12/2011");
    f.DateReceived = which == 0 ? QStringLiteral("02/02/2010") : QStringLiteral("12/12/2011");
    f.DateDue = which == 0 ? QStringLiteral("03/02/2010") : QStringLiteral("13/12/2011");
    f.DateQuoted = which == 0 ? QStringLiteral("04/02/2010") : QStringLiteral("14/12/2011");
    f.DateCompleted = which == 0 ? QStringLiteral("05/02/2010") : QStringLiteral("15/12/2011");
    f.CustRef = t("reference");
    for (size_t i = 0; i < f.Unused.size(); ++i) {
        f.Unused[i] = QStringLiteral("%1%2").arg(tag).arg(i);
    }
    // The same client for both, so the two also contend for the client's row.
    f.CliName = QStringLiteral("Harbour Estates");
    f.CliAddress = t("quay");
    f.CliNumbers = t("office");
    f.CliNotes = t("client notes");
    f.InvoiceStatus = which == 0 ? QStringLiteral("Awaiting Payment")
                                 : QStringLiteral("Payment Received");
    f.InvoiceDate = which == 0 ? QStringLiteral("06/02/2010") : QStringLiteral("16/12/2011");
    f.Price = which == 0 ? QStringLiteral("\u00A31,234.50") : QStringLiteral("\u00A3987.65");
    return f;
}

}  // namespace workstation
