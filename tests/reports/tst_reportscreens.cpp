// The report screens, the reports menu, the main window's report entries and the preview window.

#include "ReportTestData.h"
#include "mainwindow/frmMain.h"
#include "reports/frmJobAge.h"
#include "reports/frmJobReport.h"
#include "reports/frmMarketingRpt.h"
#include "reports/frmReportPreview.h"
#include "reports/frmReports.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

template <typename Screen>
Screen* screen(ReportEnv& e, const char* name) {
    return qobject_cast<Screen*>(e.app().openScreen(QString::fromLatin1(name)));
}

frmReportPreview* preview(ReportEnv& e, const char* layout) {
    return screen<frmReportPreview>(e, layout);
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
    // The menu's entries open their screens, one of each; each report definition has a window
    // of its own.
    void mainWindowEntries() {
        ReportEnv e;
        addManyJobs(e, 3, "Awaiting Payment");
        frmMain main(e.app());
        main.Form_Load();
        for (QAction* a : {main.UnderDevelopment, main.ReportMorketing,
                           main.ReportAwaitingInvoicing, main.ReportAwaitingPayment}) {
            QVERIFY(a->isEnabled());
        }
        main.UnderDevelopment->trigger();
        main.ReportMorketing->trigger();
        main.HoverTool3_Click();
        QVERIFY(screen<frmJobReport>(e, "frmJobReport")->isVisible());
        QVERIFY(screen<frmMarketingRpt>(e, "frmMarketingRpt")->isVisible());
        QVERIFY(screen<frmReports>(e, "frmReports")->isVisible());

        main.ReportAwaitingInvoicing->trigger();
        main.ReportAwaitingPayment->trigger();
        frmReportPreview* invoicing = preview(e, "drAwaitInvoice");
        frmReportPreview* payment = preview(e, "drAwaitPayment");
        QVERIFY(invoicing && payment && invoicing != payment);
        QVERIFY(invoicing->isVisible() && payment->isVisible());
        QCOMPARE(invoicing->pages().rowCount(), 0);
        QCOMPARE(payment->pages().rowCount(), 3);
        QCOMPARE(invoicing->windowTitle(), QString("Verdell Standard [Jobs Awaiting Invoicing]"));
        main.DoAwaitPaymentReport();
        QCOMPARE(preview(e, "drAwaitPayment"), payment);
        QCOMPARE(e.env.prompter.count(), 0);
    }

    void reportsMenu() {
        ReportEnv e;
        frmReports menu(e.app());
        menu.Form_Load();
        QCOMPARE(menu.cmdJobStatus->text(),
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
        QCOMPARE(form.txtDays->text(), QString("45"));
        QCOMPARE(form.cbDateTypes->currentText(), e.caption(11));
        QCOMPARE(form.cbJobStatus->currentText(), QString("All"));
        QCOMPARE(form.cbIntroducedBy->currentText(), QString("All"));
        QCOMPARE(form.cbSortBy->currentText(), e.caption(6));
        QCOMPARE(form.cbSortBy->itemText(form.cbSortBy->count() - 1), QString("Job Age"));
        QCOMPARE(form.Label7->text(), "Group && Count " + e.caption(1));
        QVERIFY(!form.cbSortBy->isEnabled());

        form.txtDays->setText("10");
        form.SSCommand2_Click();
        frmReportPreview* grouped = preview(e, "drIntroducedGroup");
        QVERIFY(grouped);
        QCOMPARE(grouped->pages().groupCount(), 2);
        form.cbGroup->setCurrentText("No");
        QVERIFY(form.cbSortBy->isEnabled());
        form.SSCommand2_Click();
        QVERIFY(preview(e, "drQuoteStatus"));
        QCOMPARE(preview(e, "drQuoteStatus")->pages().rowCount(), 4);

        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.txtDays->setFocus();
        form.txtDays->setText("60");
        form.cbGroup->setFocus();
        QCOMPARE(e.app().AppSettings.GetValue("JobAge"), QString("60"));
    }

    // A bad From date is reported first, with the focus back in its box; a good range shows
    // the report; closing the screen takes the flat report with it.
    void marketingScreen() {
        ReportEnv e;
        addManyJobs(e, 5, "");
        frmMarketingRpt form(e.app());
        form.Form_Load();
        QCOMPARE(form.txtFrom->text(), QString("01/03/2026"));
        QCOMPARE(form.txtTo->text(), QString("14/03/2026"));
        QCOMPARE(form.SSFrame3->title(), "Report On " + e.caption(3));
        QVERIFY(!form.cbOrder->isEnabled());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.txtFrom->setText("32/13/2026");
        form.txtTo->setText("nonsense");
        form.cmdGenerateReport->setFocus();
        e.env.prompter.clear();
        form.cmdGenerateReport_Click();
        QCOMPARE(e.env.prompter.prompts(),
                 QStringList{"The 'From' date you provided is not a valid date"});
        QCOMPARE(e.env.prompter.last().title, QString("Invalid Date 32/13/2026"));
        QCOMPARE(e.env.prompter.last().icon, Prompter::Icon::Information);
        QCOMPARE(QApplication::focusWidget(), form.txtFrom);
        QVERIFY(!preview(e, "drjobGroup"));

        form.txtFrom->setText("01/03/2026");
        form.txtTo->setText("14/03/2026");
        form.cmdGenerateReport_Click();
        QCOMPARE(preview(e, "drjobGroup")->pages().rowCount(), 5);
        form.cbGroup->setCurrentText("No");
        form.cmdGenerateReport_Click();
        QPointer<frmReportPreview> flat = preview(e, "drJobStatus");
        QVERIFY(flat);
        form.close();
        QApplication::processEvents();
        QVERIFY(!flat || !flat->isVisible());
    }

    void jobReportScreen() {
        ReportEnv e;
        addManyJobs(e, 2, "");
        frmJobReport form(e.app());
        form.Form_Load();
        QCOMPARE(form.cbStatus->currentText(), QString("All Current Jobs"));
        QVERIFY(form.optJobNo->isChecked());
        form.cbStatus->lineEdit()->clear();
        QTest::keyClicks(form.cbStatus->lineEdit(), "Won't do");
        QCOMPARE(form.cbStatus->currentText(), QString("Won`t do"));
        form.cbStatus->setCurrentText("All Jobs");
        form.cmdGenerateReport_Click();
        frmReportPreview* shown = preview(e, "drJobStatus");
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
        frmReportPreview* p = preview(e, "drAwaitInvoice");
        const int pages = p->pages().pageCount();
        QVERIFY(pages >= 4);
        QCOMPARE(p->labPages->text(), QString("of %1").arg(pages));
        QVERIFY(!p->cmdPrevious->isEnabled());
        p->cmdNext_Click();
        p->cmdNext_Click();
        QCOMPARE(p->currentPage(), 2);
        QCOMPARE(p->txtPage->value(), 3);
        p->cmdLast_Click();
        QCOMPARE(p->currentPage(), pages - 1);
        QVERIFY(!p->cmdNext->isEnabled());
        p->txtPage->setValue(2);
        QCOMPARE(p->currentPage(), 1);

        p->cbPaper->setCurrentText("Letter");
        p->cbPaper_Click();
        QCOMPARE(p->pages().pageLayout().pageSize().id(), QPageSize::Letter);
        QCOMPARE(p->pages().rowCount(), 200);

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
        QVERIFY(!preview(e, "drAwaitPayment"));
    }
};

QTEST_MAIN(tst_reportscreens)
#include "tst_reportscreens.moc"
