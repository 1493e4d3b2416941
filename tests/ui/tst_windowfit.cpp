#include "addressbook/frmAddressBook.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplash.h"
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
#include "support/JobScreen.h"
#include "support/MakeWindow.h"

#include <QTest>
#include <functional>
#include <memory>

// Every window opens inside the part of the screen the desktop leaves to windows, on the screens
// offices use: small and wide laptops, a desktop monitor, and screens scaled to 125% and 200%
// (their sizes in the pixels a window is laid out in), each with a taskbar at the bottom.
class tst_windowfit : public QObject {
    Q_OBJECT

    using Make = MakeWindow;

    struct Setting {
        const char* name;
        QSize screen;
        int taskbar;
    };
    static constexpr Setting kSettings[] = {{"1024x768", {1024, 768}, 40},
                                            {"1366x768", {1366, 768}, 40},
                                            {"1920x1080", {1920, 1080}, 40},
                                            {"1366x768 at 125%", {1093, 614}, 32},
                                            {"2560x1440 at 200%", {1280, 720}, 20}};

private Q_SLOTS:
    void opensInsideTheScreen_data() {
        QTest::addColumn<Make>("make");
        QTest::newRow("main window") << Make([](AppState& app) -> QWidget* {
            auto* main = new frmMain(app);
            main->Form_Load();
            return main;
        });
        QTest::newRow("jobs") << loaded<frmJobs>();
        QTest::newRow("estimates") << loaded<frmEstimate>();
        QTest::newRow("address book")
            << Make([](AppState& app) -> QWidget* { return new frmAddressBook(app); });
        QTest::newRow("job search") << Make([](AppState& app) -> QWidget* {
            auto* search = new frmSearchJobs(app, {});
            search->Form_Load();
            return search;
        });
        QTest::newRow("contact search")
            << Make([](AppState& app) -> QWidget* { return new frmSearch(app, false); });
        QTest::newRow("setup") << loaded<frmSetup>();
        QTest::newRow("job status list") << loaded<frmJobStatus>();
        QTest::newRow("introducer list") << loaded<frmIntroducedBy>();
        QTest::newRow("document type list") << loaded<frmDocType>();
        QTest::newRow("reports") << loaded<frmReports>();
        QTest::newRow("job age") << loaded<frmJobAge>();
        QTest::newRow("job report") << loaded<frmJobReport>();
        QTest::newRow("marketing") << loaded<frmMarketingRpt>();
        QTest::newRow("report preview") << Make(
            [](AppState& app) -> QWidget* { return ShowReport(app, awaitingInvoicingReport()); });
        QTest::newRow("locate database") << loaded<frmLocateDatabase>();
    }
    void opensInsideTheScreen() {
        QFETCH(Make, make);
        QStringList outside;
        for (const Setting& setting : kSettings) {
            TestEnv env;
            withJobFive(env);
            env.screen.set(setting.screen);
            const QRect area(QPoint(0, 0), setting.screen - QSize(0, setting.taskbar));
            env.screen.setAvailable(area);
            std::unique_ptr<QWidget> window(make(env.app()));
            window->show();
            QCoreApplication::processEvents();
            const QRect at = window->frameGeometry();
            if (qEnvironmentVariableIsSet("VERDELL_SHOW_WINDOW_SIZES")) {
                qInfo("%s | %s | %dx%d", QTest::currentDataTag(), setting.name, window->width(),
                      window->height());
            }
            if (!area.contains(at)) {
                outside << QStringLiteral("%1: %2x%3 at %4,%5")
                               .arg(QLatin1String(setting.name))
                               .arg(at.width())
                               .arg(at.height())
                               .arg(at.x())
                               .arg(at.y());
            }
        }
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(tst_windowfit)
#include "tst_windowfit.moc"
