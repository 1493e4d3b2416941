#pragma once

#include "addressbook/frmAddressBook.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "mainwindow/frmMain.h"
#include "reports/InvoicingReports.h"
#include "reports/ShowReport.h"
#include "reports/frmJobAge.h"
#include "reports/frmJobReport.h"
#include "reports/frmMarketingRpt.h"
#include "reports/frmReportPreview.h"
#include "reports/frmReports.h"
#include "search/frmSearch.h"
#include "search/frmSearchJobs.h"
#include "setup/frmListEditor.h"
#include "setup/frmSetup.h"
#include "startup/frmLocateDatabase.h"
#include "support/MakeWindow.h"

#include <utility>

// The program's windows, made as it opens them, for the tests that go through all of them.
namespace windows {

inline MakeWindow addressBook() {
    return [](AppState& app) -> QWidget* { return new frmAddressBook(app); };
}
inline MakeWindow jobSearch() {
    return [](AppState& app) -> QWidget* {
        auto* search = new frmSearchJobs(app, {});
        search->Form_Load();
        return search;
    };
}
inline MakeWindow contactSearch() {
    return [](AppState& app) -> QWidget* { return new frmSearch(app, false); };
}
inline MakeWindow reportPreview() {
    return [](AppState& app) -> QWidget* { return ShowReport(app, awaitingInvoicingReport()); };
}

// Every window that works on the application state, each by a name for the test's rows.
inline QList<std::pair<const char*, MakeWindow>> every() {
    return {{"main window", loaded<frmMain>()},
            {"jobs", loaded<frmJobs>()},
            {"estimates", loaded<frmEstimate>()},
            {"address book", addressBook()},
            {"job search", jobSearch()},
            {"contact search", contactSearch()},
            {"setup", loaded<frmSetup>()},
            {"job status list", loaded<frmJobStatus>()},
            {"introducer list", loaded<frmIntroducedBy>()},
            {"document type list", loaded<frmDocType>()},
            {"reports", loaded<frmReports>()},
            {"job age", loaded<frmJobAge>()},
            {"job report", loaded<frmJobReport>()},
            {"marketing", loaded<frmMarketingRpt>()},
            {"report preview", reportPreview()},
            {"locate database", loaded<frmLocateDatabase>()}};
}

}  // namespace windows
