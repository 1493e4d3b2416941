#pragma once

#include "common/DateText.h"

#include <QHash>
#include <QString>
#include <array>

// A job as the job screen shows it: every value as the text in its box. Dates are in the display
// format; the price is shown with the currency symbol. Saving reads the texts back; merging a
// document reads them as they stand, unsaved edits included.
struct JobFields {
    QString JobNo;  // the number as the screen shows it; empty for a job not yet saved
    QString JobStatus;
    QString IntroducedBy;
    QString ClientRef;
    QString WorkName;
    QString HomeAddress;
    QString HomeNumbers;
    QString WorkDetails;
    QString WorkNotes;
    QString DateCreated;
    QString DateReceived;
    QString DateDue;
    QString DateQuoted;
    QString DateCompleted;
    QString CustRef;
    std::array<QString, 7> Unused;
    QString CliName;
    QString CliAddress;
    QString CliNumbers;
    QString CliNotes;
    // Invoicing: one of "", "Awaiting Invoicing", "Awaiting Payment", "Payment Received"; the
    // invoice date (field "Date"); the job's price.
    QString InvoiceStatus;
    QString InvoiceDate;
    QString Price;
    // The dates behind the date boxes, by the column that stores them ("DateCreated",
    // "DateReceived", "DateDue", "DateQuoted", "DateCompleted", and "Date" for the invoice
    // date): a save stores the date while its box still shows the text it was shown with, so a
    // date nobody touched is stored exactly as it was loaded.
    QHash<QString, datetext::Shown> shownDates;

    bool operator==(const JobFields&) const = default;
};

// The invoice states a job can be in.
inline const std::array<QString, 4>& invoiceStatuses() {
    static const std::array<QString, 4> states = {
        QString(), QStringLiteral("Awaiting Invoicing"), QStringLiteral("Awaiting Payment"),
        QStringLiteral("Payment Received")};
    return states;
}
