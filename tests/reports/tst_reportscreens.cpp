// The report screens, the reports menu, the main window's report entries and the preview window.

#include "ReportTestData.h"
#include "mainwindow/frmMain.h"
#include "reports/frmJobAge.h"
#include "reports/frmJobReport.h"
#include "reports/frmMarketingRpt.h"
#include "reports/frmReportPreview.h"
#include "reports/frmReports.h"
#include "support/ScreenControls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QPointer>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

template <typename Screen>
Screen* screen(ReportEnv& e, const char* name) {
    return qobject_cast<Screen*>(e.app().openScreen(QString::fromLatin1(name)));
}

// The report windows open on that layout.
QList<frmReportPreview*> previews(const char* layout) {
    QList<frmReportPreview*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* p = qobject_cast<frmReportPreview*>(w);
        if (p && p->isVisible() && p->objectName() == QLatin1String(layout)) {
            out << p;
        }
    }
    return out;
}

frmReportPreview* preview(const char* layout) {
    const QList<frmReportPreview*> open = previews(layout);
    return open.size() == 1 ? open.first() : nullptr;
}

void addManyJobs(ReportEnv& e, int count, const QString& invoiceStatus) {
    QList<QVariantList> jobs;
    for (int i = 1; i <= count; ++i) {
        jobs.append({i, QString("Job %1").arg(i), invoiceStatus, "2026-03-01 00:00:00",
                     i % 2 ? "Agent" : "Insurer", "Open"});
    }
    e.addJobs({"JobNo", "WorkName", "InvoiceStatus", "DateCreated", "IntroducedBy", "JobStatus"},
              jobs);
}

}  // namespace

class tst_reportscreens : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The menu's entries open their screens, one of each, and their reports.
    void mainWindowEntries() {
        ReportEnv e;
        addManyJobs(e, 3, "Awaiting Payment");
        frmMain main(e.app());
        main.Form_Load();
        auto entry = [&main](const char* name) { return main.findChild<QAction*>(name); };
        for (const char* name : {"UnderDevelopment", "ReportMorketing", "ReportAwaitingInvoicing",
                                 "ReportAwaitingPayment"}) {
            QVERIFY(entry(name)->isEnabled());
        }
        entry("UnderDevelopment")->trigger();
        entry("ReportMorketing")->trigger();
        main.HoverTool3_Click();
        QVERIFY(screen<frmJobReport>(e, "frmJobReport")->isVisible());
        QVERIFY(screen<frmMarketingRpt>(e, "frmMarketingRpt")->isVisible());
        QVERIFY(screen<frmReports>(e, "frmReports")->isVisible());

        entry("ReportAwaitingInvoicing")->trigger();
        entry("ReportAwaitingPayment")->trigger();
        frmReportPreview* invoicing = preview("drAwaitInvoice");
        frmReportPreview* payment = preview("drAwaitPayment");
        QVERIFY(invoicing && payment);
        QCOMPARE(invoicing->pages().rowCount(), 0);
        QCOMPARE(payment->pages().rowCount(), 3);
        QCOMPARE(invoicing->windowTitle(), QString("Verdell Standard [Jobs Awaiting Invoicing]"));
        QCOMPARE(e.env.prompter.count(), 0);
    }

    void reportsMenu() {
        ReportEnv e;
        frmReports menu(e.app());
        menu.Form_Load();
        QCOMPARE(control<QPushButton>(&menu, "cmdJobStatus")->text(),
                 QString("Produce Job Status /  report within a specified date range"));
        menu.cmdJobAge_Click();
        menu.cmdJobStatus_Click();
        auto* age = screen<frmJobAge>(e, "frmJobAge");
        QVERIFY(age && age->isVisible());
        menu.cmdJobAge_Click();
        QCOMPARE(screen<frmJobAge>(e, "frmJobAge"), age);
        QVERIFY(screen<frmMarketingRpt>(e, "frmMarketingRpt"));
    }

    // Lists as the screen opens them, grouping turning the sort list off, the days kept.
    void jobAgeScreen() {
        ReportEnv e;
        e.app().AppSettings.SetValue("JobAge", "45");
        addManyJobs(e, 4, "");
        frmJobAge form(e.app());
        form.Form_Load();
        QCOMPARE(control<QLineEdit>(&form, "txtDays")->text(), QString("45"));
        QCOMPARE(control<QComboBox>(&form, "cbDateTypes")->currentText(), e.caption(11));
        QCOMPARE(control<QComboBox>(&form, "cbJobStatus")->currentText(), QString("All"));
        QCOMPARE(control<QComboBox>(&form, "cbIntroducedBy")->currentText(), QString("All"));
        QCOMPARE(control<QComboBox>(&form, "cbSortBy")->currentText(), e.caption(6));
        QCOMPARE(control<QComboBox>(&form, "cbSortBy")
                     ->itemText(control<QComboBox>(&form, "cbSortBy")->count() - 1),
                 QString("Job Age"));
        QCOMPARE(control<QLabel>(&form, "Label7")->text(), "Group && Count " + e.caption(1));
        QVERIFY(!control<QComboBox>(&form, "cbSortBy")->isEnabled());

        control<QLineEdit>(&form, "txtDays")->setText("10");
        form.SSCommand2_Click();
        frmReportPreview* grouped = preview("drIntroducedGroup");
        QVERIFY(grouped);
        QCOMPARE(grouped->pages().groupCount(), 2);
        control<QComboBox>(&form, "cbGroup")->setCurrentText("No");
        QVERIFY(control<QComboBox>(&form, "cbSortBy")->isEnabled());
        form.SSCommand2_Click();
        QVERIFY(preview("drQuoteStatus"));
        QCOMPARE(preview("drQuoteStatus")->pages().rowCount(), 4);

        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        control<QLineEdit>(&form, "txtDays")->setFocus();
        control<QLineEdit>(&form, "txtDays")->setText("60");
        control<QComboBox>(&form, "cbGroup")->setFocus();
        QCOMPARE(e.app().AppSettings.GetValue("JobAge"), QString("60"));
    }

    // A bad From date is reported first, with the focus back in its box; a good range shows
    // the report, which stays open when the screen is closed.
    void marketingScreen() {
        ReportEnv e;
        addManyJobs(e, 5, "");
        frmMarketingRpt form(e.app());
        form.Form_Load();
        QCOMPARE(control<QLineEdit>(&form, "txtFrom")->text(), QString("01/03/2026"));
        QCOMPARE(control<QLineEdit>(&form, "txtTo")->text(), QString("14/03/2026"));
        QCOMPARE(control<QGroupBox>(&form, "SSFrame3")->title(), "Report On " + e.caption(3));
        QVERIFY(!control<QComboBox>(&form, "cbOrder")->isEnabled());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        control<QLineEdit>(&form, "txtFrom")->setText("32/13/2026");
        control<QLineEdit>(&form, "txtTo")->setText("nonsense");
        control<QPushButton>(&form, "cmdGenerateReport")->setFocus();
        e.env.prompter.clear();
        form.cmdGenerateReport_Click();
        QCOMPARE(e.env.prompter.prompts(),
                 QStringList{"The 'From' date you provided is not a valid date"});
        QCOMPARE(e.env.prompter.last().title, QString("Invalid Date 32/13/2026"));
        QCOMPARE(e.env.prompter.last().icon, Prompter::Icon::Information);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(&form, "txtFrom"));
        QVERIFY(previews("drjobGroup").isEmpty());

        control<QLineEdit>(&form, "txtFrom")->setText("01/03/2026");
        control<QLineEdit>(&form, "txtTo")->setText("14/03/2026");
        form.cmdGenerateReport_Click();
        QCOMPARE(preview("drjobGroup")->pages().rowCount(), 5);
        control<QComboBox>(&form, "cbGroup")->setCurrentText("No");
        form.cmdGenerateReport_Click();
        QPointer<frmReportPreview> flat = preview("drJobStatus");
        QVERIFY(flat);
        form.close();
        QApplication::processEvents();
        QVERIFY(flat && flat->isVisible());
    }

    void jobReportScreen() {
        ReportEnv e;
        addManyJobs(e, 2, "");
        frmJobReport form(e.app());
        form.Form_Load();
        QCOMPARE(control<QComboBox>(&form, "cbStatus")->currentText(), QString("All Current Jobs"));
        QVERIFY(control<QRadioButton>(&form, "optJobNo")->isChecked());
        control<QComboBox>(&form, "cbStatus")->lineEdit()->clear();
        QTest::keyClicks(control<QComboBox>(&form, "cbStatus")->lineEdit(), "Won't do");
        QCOMPARE(control<QComboBox>(&form, "cbStatus")->currentText(), QString("Won`t do"));
        control<QComboBox>(&form, "cbStatus")->setCurrentText("All Jobs");
        form.cmdGenerateReport_Click();
        frmReportPreview* shown = preview("drJobStatus");
        QVERIFY(shown);
        QCOMPARE(shown->pages().rowCount(), 2);
        QCOMPARE(shown->windowTitle(), QString("Verdell Standard [Advanced Report]"));
    }

    // Page through, change the paper, save as PDF; a file that cannot be written, a missing
    // printer and a closed database each get a message.
    void previewWindow() {
        ReportEnv e;
        addManyJobs(e, 200, "Awaiting Invoicing");
        frmMain main(e.app());
        main.DoAwaitingInvoicingReport();
        frmReportPreview* p = preview("drAwaitInvoice");
        QVERIFY(p && p->laidOut());
        const int pages = p->pages().pageCount();
        QVERIFY(pages >= 4);
        QCOMPARE(control<QLabel>(p, "labPages")->text(), QString("of %1").arg(pages));
        QVERIFY(!control<QPushButton>(p, "cmdPrevious")->isEnabled());
        p->cmdNext_Click();
        p->cmdNext_Click();
        QCOMPARE(p->currentPage(), 2);
        QCOMPARE(control<QSpinBox>(p, "txtPage")->value(), 3);
        p->cmdLast_Click();
        QCOMPARE(p->currentPage(), pages - 1);
        QVERIFY(!control<QPushButton>(p, "cmdNext")->isEnabled());
        control<QSpinBox>(p, "txtPage")->setValue(2);
        QCOMPARE(p->currentPage(), 1);

        control<QComboBox>(p, "cbPaper")->setCurrentText("Letter");
        p->cbPaper_Click();
        QTRY_VERIFY(p->laidOut());
        QCOMPARE(p->pages().pageLayout().pageSize().id(), QPageSize::Letter);
        QCOMPARE(p->pages().rowCount(), 200);
        QCOMPARE(p->currentPage(), 1);

        QTemporaryDir dir;
        e.env.prompter.chooseFile(dir.filePath("invoicing"));
        p->cmdExportPdf_Click();
        QVERIFY(QFileInfo(dir.filePath("invoicing.pdf")).size() > 1000);
        e.env.prompter.chooseFile(dir.filePath("no/such/folder/x.pdf"));
        e.env.prompter.clear();
        p->cmdExportPdf_Click();
        QCOMPARE(e.env.prompter.count(), 2);
        QVERIFY(e.env.prompter.last().prompt.startsWith("The report could not be saved as"));
        QCOMPARE(e.env.prompter.last().icon, Prompter::Icon::Critical);

        if (QPrinterInfo::availablePrinters().isEmpty()) {
            p->cmdPrint_Click();
            QCOMPARE(e.env.prompter.last().title, QString("No Printer"));
        }

        e.db().close();
        e.env.prompter.clear();
        main.DoAwaitPaymentReport();
        QCOMPARE(e.env.prompter.prompts(), QStringList{"There is no database connection"});
        QVERIFY(previews("drAwaitPayment").isEmpty());
    }

    // A long report opens on its first page while the rest is laid out; the page count shows
    // once every page is. Cancel stops it and closes the window.
    void aLongReportShowsItsFirstPageAtOnce() {
        ReportEnv e;
        {
            Transaction tx(e.db());
            addManyJobs(e, 1500, "Awaiting Payment");
            QVERIFY(tx.commit());
        }
        frmMain main(e.app());
        main.DoAwaitPaymentReport();
        main.DoAwaitPaymentReport();
        const QList<frmReportPreview*> open = previews("drAwaitPayment");
        QCOMPARE(open.size(), 2);
        for (frmReportPreview* p : open) {
            QVERIFY(!p->laidOut());
            QVERIFY(p->pages().pageCount() >= 1);
            QCOMPARE(control<QLabel>(p, "labPages")->text(), QString("of \u2026"));
            QVERIFY(!control<QPushButton>(p, "cmdExportPdf")->isEnabled());
        }
        QPointer<frmReportPreview> cancelled = open[0];
        frmReportPreview* kept = open[1];
        control<QPushButton>(cancelled, "cmdCancel")->click();
        QTRY_VERIFY(kept->laidOut());
        QTRY_VERIFY(!cancelled);
        const int pages = kept->pages().pageCount();
        QCOMPARE(kept->pages().rowCount(), 1500);
        QCOMPARE(control<QLabel>(kept, "labPages")->text(), QString("of %1").arg(pages));
        QVERIFY(control<QPushButton>(kept, "cmdExportPdf")->isEnabled());
        QVERIFY(!control<QPushButton>(kept, "cmdCancel")->isVisible());
    }
};

QTEST_MAIN(tst_reportscreens)
#include "tst_reportscreens.moc"
