#include "db/LabelTexts.h"

namespace captions {

const std::array<QString, kLabelCount>& defaults() {
    static const std::array<QString, kLabelCount> texts = {
        QStringLiteral("Surveyed:"),                // 0  DateReceived
        QStringLiteral("Engineer:"),                // 1  IntroducedBy
        QStringLiteral("Name:"),                    // 2  WorkName
        QStringLiteral("Job Status:"),              // 3
        QStringLiteral("Home Address:"),            // 4
        QStringLiteral("Due:"),                     // 5
        QStringLiteral("Next Annual Maintenance:"), // 6  DateCompleted
        QStringLiteral("Contact Numbers:"),         // 7
        QStringLiteral("Introduced By:"),           // 8  ClientRef
        QStringLiteral("Job No:"),                  // 9
        QStringLiteral("Job Status:"),              // 10
        QStringLiteral("Created:"),                 // 11
        QStringLiteral("Job No:"),                  // 12
        QStringLiteral("&Search For"),              // 13
        QStringLiteral("Documents For This Job"),   // 14
        QStringLiteral("Customer Ref:"),            // 15
        QStringLiteral("To print a job sheet, Click New Document"),  // 16
        QStringLiteral("&Title"),                   // 17
        QStringLiteral("&Address"),                 // 18
        QStringLiteral("Document Type"),            // 19
        QStringLiteral("Quote Sent:"),              // 20
        QStringLiteral("Work Details"),             // 21
        QStringLiteral("Unused:"),                  // 22 Unused1
        QStringLiteral("Notes: (Press F2 to insert the date and time)"),  // 23
        QStringLiteral("Unused:"),                  // 24 Unused2
        QStringLiteral("Unused:"),                  // 25 Unused3
        QStringLiteral("Unused:"),                  // 26 Unused4
        QStringLiteral("Unused:"),                  // 27 Unused5
        QStringLiteral("Clients Address"),          // 28
        QStringLiteral("Contact Numbers:"),         // 29
        QStringLiteral("Notes: (press F2 to insert the date and time)"),  // 30
        QStringLiteral("Contact Name:"),            // 31
        QStringLiteral("Job No:"),                  // 32
        QStringLiteral("Job Status:"),              // 33
        QStringLiteral("Unused:"),                  // 34 Unused6
        QStringLiteral("Unused:"),                  // 35 Unused7
    };
    return texts;
}

}  // namespace captions
