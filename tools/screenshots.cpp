// Draws each screen into a PNG file, on a fresh data folder with test doubles.

#include <QTabWidget>
#include <QImage>
#include <QElapsedTimer>
#include <QPainter>
#include "addressbook/frmAddressBook.h"
#include "db/RowValues.h"
#include "documents/TemplatesTab.h"
#include "estimates/EstimateStore.h"
#include "estimates/frmEstimate.h"
#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplash.h"
#include "records/Captions.h"
#include "records/Options.h"
#include "reports/InvoicingReports.h"
#include "reports/ShowReport.h"
#include "reports/frmJobAge.h"
#include "reports/frmJobReport.h"
#include "reports/frmMarketingRpt.h"
#include "reports/frmReportPreview.h"
#include "reports/frmReports.h"
#include "search/frmSearch.h"
#include "search/frmSearchJobs.h"
#include "setup/NetworkTab.h"
#include "setup/frmListEditor.h"
#include "setup/frmSetup.h"
#include "startup/frmLocateDatabase.h"
#include "support/TestEnv.h"
#include "support/TestRegister.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// Waits for the label to show an answer ending so (at most a few seconds).
void waitFor(QLabel* answer, const QString& ending) {
    QEventLoop wait;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
        if (answer->text().endsWith(ending)) {
            wait.quit();
        }
    });
    QTimer::singleShot(5000, &wait, &QEventLoop::quit);
    poll.start(20);
    wait.exec();
}

// Types the text into the box key by key, as a user would, and waits for the label to show an
// answer.
void typeAndWait(QLineEdit* box, const QString& text, QLabel* answer, const QString& ending) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
    answer->clear();
    waitFor(answer, ending);
}

void save(QWidget& screen, const QString& folder, const QString& name) {
    screen.show();
    // Twice: what the first round lays out (grid columns) settles in the second.
    QApplication::processEvents();
    QApplication::processEvents();
    screen.grab().save(folder + u'/' + name + QStringLiteral(".png"));
    screen.hide();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    TestEnv env;
    env.openNewDatabase();
    // An optional second argument, WIDTHxHEIGHT, is the screen the windows are sized for.
    const QStringList size = argc > 2 ? QString::fromLatin1(argv[2]).split(u'x') : QStringList();
    const QSize screenSize = size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt())
                                              : QSize(1280, 1024);
    env.screen.set(screenSize);
    env.app().FieldCaptions.set(captionIndex(Caption::IntroducedBy), QStringLiteral("Engineer:"));
    {
        frmMain main(env.app());
        main.Form_Load();
        save(main, folder, QStringLiteral("frmMain-starting"));
        main.startupFinished();
        save(main, folder, QStringLiteral("frmMain"));
    }
    {
        // 200% scaling on a 1920 x 1080 screen: 960 x 540 logical pixels.
        env.screen.set({960, 540});
        frmMain main(env.app());
        main.Form_Load();
        main.startupFinished();
        save(main, folder, QStringLiteral("frmMain-small"));
        env.screen.set(screenSize);
    }
    {
        frmSplash about;
        save(about, folder, QStringLiteral("frmSplash"));
    }
    {
        frmLocateDatabase locator(env.app());
        locator.Form_Load();
        save(locator, folder, QStringLiteral("frmLocateDatabase"));
    }
    {
        env.app().DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
        env.app().CurrencySymbol = QString::fromUtf8("\u00A3");
        JobFields job;
        job.JobStatus = QStringLiteral("Awaiting Survey");
        job.IntroducedBy = QStringLiteral("Estate Agent");
        job.ClientRef = QStringLiteral("Dave O'Neill");
        job.WorkName = QStringLiteral("Mrs Zo\u00EB O'Brien");
        job.HomeAddress = QStringLiteral("14 Larkspur Close\nHeadingley\nLeeds\nLS6 2QT");
        job.HomeNumbers = QStringLiteral("0113 496 0421\n07700 900 123");
        job.WorkDetails = QStringLiteral(
            "Leaking valve under the kitchen sink. Replace valve, "
            "check pressure and inspect the boiler flue.");
        job.WorkNotes = QStringLiteral("12/03/2026, 09:14:02 : Called customer, access Tuesday.");
        job.DateCreated = QStringLiteral("12/03/2026");
        job.DateReceived = QStringLiteral("13/03/2026");
        job.DateDue = QStringLiteral("20/03/2026");
        job.CustRef = QStringLiteral("HE/2026/0412");
        job.Unused[0] = QStringLiteral("Key with neighbour");
        job.CliName = QStringLiteral("Harbour Estates Ltd");
        job.CliAddress = QStringLiteral("2 The Quay\nLeeds\nLS1 4BT");
        job.CliNumbers = QStringLiteral("0113 496 0001");
        job.InvoiceStatus = QStringLiteral("Awaiting Invoicing");
        job.Price = QStringLiteral("245.00");
        jobs::writeJob(env.app().DbConnection, jobs::jobFormat(env.app()), env.app().saveStamp(),
                       job, 0, 1042);
        env.app().AppSettings.SetValue(QStringLiteral("LastJob"), QStringLiteral("1042"));
        env.app().DbConnection.exec(
            QStringLiteral("INSERT INTO Docs (JobNumber, FileName, \"Date\", Title) VALUES "
                           "(1042, '30.doc', '2026-03-12 09:20:41', 'Survey letter, Letter.dotx'), "
                           "(1042, '507.XLSX', '2026-03-14 16:02:13', 'Invoice 507.XLSX')"));
        testregister::addCustomers(env.app().DbConnection, 300);
        frmJobs jobs(env.app());
        jobs.Form_Load();
        save(jobs, folder, QStringLiteral("frmJobs"));
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(1);
        save(jobs, folder, QStringLiteral("frmJobs-client"));
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(2);
        save(jobs, folder, QStringLiteral("frmJobs-documents"));
        {
            // Photos attached: their thumbnails are made off the screen's thread.
            QStringList photos;
            const QList<QColor> colours{Qt::darkGreen, Qt::darkBlue, Qt::darkRed};
            for (int i = 0; i < colours.size(); ++i) {
                QImage photo(640, 480, QImage::Format_RGB32);
                photo.fill(colours[i]);
                QPainter(&photo).fillRect(0, 0, 320, 120, Qt::yellow);
                photos << env.dataFolder() + QStringLiteral("/Kitchen %1.jpg").arg(i + 1);
                photo.save(photos.last(), "JPEG");
            }
            QDir().mkpath(env.dataFolder() + QStringLiteral("/Documents"));
            env.app().AppSettings.SetValue(QStringLiteral("DocPath"),
                                           env.dataFolder() + QStringLiteral("/Documents"));
            jobs.attachFiles(photos);
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 1500) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            }
            save(jobs, folder, QStringLiteral("frmJobs-attachments"));
        }
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(0);
        jobs.show();
        jobs.cmdChangeStatus_Click(0);
        save(jobs, folder, QStringLiteral("frmJobs-status"));
        jobs.SSCommand1_Click();
        jobs.show();
        jobs.cmdFindClient_Click(0);
        jobs.cmdSearchClient_Click();
        save(jobs, folder, QStringLiteral("frmJobs-find"));
        jobs.cmdCloseClient_Click();
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(2);
        jobs.show();
        jobs.cmdNewDoc_Click();
        save(jobs, folder, QStringLiteral("frmJobs-newdocument"));
        jobs.cmdCancelDocs_Click();
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(0);
        jobs.show();
        jobs.cmdFindEngineer_Click();
        save(jobs, folder, QStringLiteral("frmJobs-engineers"));
    }
    {
        // The system's long date format.
        env.app().DbConnection.exec(QStringLiteral("UPDATE Counters SET Free3 = 2"));
        frmJobs jobs(env.app());
        jobs.Form_Load();
        save(jobs, folder, QStringLiteral("frmJobs-longdates"));
        jobs.findChild<QTabWidget*>(QStringLiteral("tabJobs"))->setCurrentIndex(2);
        save(jobs, folder, QStringLiteral("frmJobs-longdates-documents"));
        env.app().DbConnection.exec(QStringLiteral("UPDATE Counters SET Free3 = 0"));
        LoadOptions(env.app());
    }
    {
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.findChild<QPushButton*>(QStringLiteral("cmdPopLetters"))->click();
        auto* tabs = setup.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        const char* names[] = {"network", "counters", "templates", "locations", "maintenance"};
        for (int i = 0; i < 5; ++i) {
            tabs->setCurrentIndex(i);
            save(setup, folder, QStringLiteral("frmSetup-") + QLatin1String(names[i]));
        }
        tabs->setCurrentIndex(0);
        setup.findChild<QRadioButton*>(QStringLiteral("optServer_2"))->click();
        setup.findChild<QLineEdit*>(QStringLiteral("txtDbHost"))->setText("officeserver");
        setup.findChild<QLineEdit*>(QStringLiteral("txtDbName"))->setText("verdell");
        setup.findChild<QLineEdit*>(QStringLiteral("txtDbUser"))->setText("anne");
        save(setup, folder, QStringLiteral("frmSetup-network-server"));
    }
    {
        frmJobStatus statuses(env.app());
        statuses.Form_Load();
        save(statuses, folder, QStringLiteral("frmJobStatus"));
    }
    {
        Database& db = env.app().DbConnection;
        for (const char* name : {"Mrs Zo\u00EB O'Brien", "Mr A Smith", "Smith & Daughters"}) {
            RowValues row(db.dialect(), QStringLiteral("customers"));
            row.set(QStringLiteral("Name"), QString::fromUtf8(name))
                .set(QStringLiteral("Address"),
                     QStringLiteral("14 Larkspur Close\nHeadingley\nLeeds\nLS6 2QT"))
                .set(QStringLiteral("Contact"), QString::fromUtf8("Zo\u00EB"))
                .set(QStringLiteral("Telephone"), QStringLiteral("0113 496 0421"))
                .set(QStringLiteral("Email"), QStringLiteral("zoe@example.org"));
            db.exec(row.insert(), row.values());
        }
        frmAddressBook book(env.app());
        save(book, folder, QStringLiteral("frmAddressBook"));
        frmSearch search(env.app(), false);
        search.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(QStringLiteral("o"));
        search.cmdGo_Click();
        save(search, folder, QStringLiteral("frmSearch"));
        book.cmdNew_Click();
        const auto box = [&book](const char* name) {
            return book.findChild<QLineEdit*>(QString::fromLatin1(name));
        };
        box("txtName")->setText(QStringLiteral("Mr A Smith"));
        book.findChild<QPlainTextEdit*>(QStringLiteral("txtAddress"))
            ->setPlainText(QStringLiteral("3 Mill Lane\nOtley\nLS21 1AA"));
        box("txtContacts")->setText(QStringLiteral("Alan"));
        box("txtTelephone")->setText(QStringLiteral("01943 496 000"));
        save(book, folder, QStringLiteral("frmAddressBook-editing"));
        book.resize(900, 700);
        save(book, folder, QStringLiteral("frmAddressBook-grown"));
    }
    {
        estimates::EstimateSave estimate;
        estimate.EstNo = 1042;
        estimate.customer = {QStringLiteral("Mrs Zo\u00EB O'Brien"), QStringLiteral("Zo\u00EB"),
                             QStringLiteral("14 Larkspur Close\nHeadingley\nLeeds\nLS6 2QT"),
                             QStringLiteral("0113 496 0421"), QStringLiteral("zoe@example.org")};
        estimate.Delivery = QStringLiteral("20");
        estimate.DateCreated = QStringLiteral("06/12/2026");
        estimates::SaveEstimate(
            env.app().DbConnection, estimate,
            {{QStringLiteral("2"), QStringLiteral("Thermostatic radiator valve"),
              QStringLiteral("10"), QStringLiteral("15")},
             {QStringLiteral("1"), QStringLiteral("Labour, half day"), QStringLiteral("50"),
              QStringLiteral("85")},
             {QStringLiteral("3"), QStringLiteral("Copper pipe, 2 m lengths"), QStringLiteral("4"),
              QStringLiteral("6.5")}});
        estimates::AddToTable(env.app().DbConnection, QStringLiteral("Labour, half day"));
        for (int i = 0; i < 200; ++i) {
            const testregister::Contact who = testregister::contact(i);
            estimate.EstNo = 20000 + i;
            estimate.CustomerID = -1;
            estimate.customer = {who.name, {}, who.address, who.telephone, {}};
            estimates::SaveEstimate(env.app().DbConnection, estimate,
                                    {{QStringLiteral("1"), QStringLiteral("Labour"),
                                      QStringLiteral("10"), QStringLiteral("20")}});
        }
        frmEstimate estimates(env.app());
        estimates.Form_Load();
        save(estimates, folder, QStringLiteral("frmEstimate-empty"));
        estimates.LoadFullEstimate(1042);
        save(estimates, folder, QStringLiteral("frmEstimate"));
        estimates::AddToEstimateList(env.app().DbConnection, 1042, 3,
                                     Money::fromText(QStringLiteral("134.50")),
                                     env.app().clock.now());
        auto* tabs = estimates.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        tabs->setCurrentIndex(1);
        save(estimates, folder, QStringLiteral("frmEstimate-documents"));
        tabs->setCurrentIndex(0);
        estimates.show();
        estimates.cmdAddItem_Click();
        save(estimates, folder, QStringLiteral("frmEstimate-additem"));
        estimates.cmdCloseAdd_Click();
        estimates.cmdNewEstimate_Click();
        estimates.cmdNewEstimate_Click();
        estimates.show();
        estimates.cmdFind_Click();
        estimates.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->clear();
        estimates.cmdGoSearch_Click();
        save(estimates, folder, QStringLiteral("frmEstimate-search"));
    }
    {
        captions::load(env.app().DbConnection, env.app().FieldCaptions);
        frmReports menu(env.app());
        menu.Form_Load();
        save(menu, folder, QStringLiteral("frmReports"));
        frmJobAge age(env.app());
        age.Form_Load();
        save(age, folder, QStringLiteral("frmJobAge"));
        frmJobReport jobReport(env.app());
        jobReport.Form_Load();
        save(jobReport, folder, QStringLiteral("frmJobReport"));
        frmMarketingRpt marketing(env.app());
        marketing.Form_Load();
        save(marketing, folder, QStringLiteral("frmMarketingRpt"));
        if (frmReportPreview* preview = ShowReport(env.app(), awaitingPaymentReport())) {
            save(*preview, folder, QStringLiteral("frmReportPreview"));
            preview->close();
        }
    }
    {
        // The job search as a user has it: a few hundred jobs, a name typed without Enter, and
        // the list of every job, read as the grid scrolls.
        Database& db = env.app().DbConnection;
        const char* names[] = {"Mrs Zo\u00EB O'Brien", "Harbour Estates", "Dave Ellis",
                               "Carol Dunn", "Acme Roofing", "Bell & Co", "Rose Cottage"};
        const char* streets[] = {"Larkspur Close", "Mill Lane", "High Street", "Rosebank Road"};
        Transaction adding(db);
        for (int i = 0; i < 400; ++i) {
            RowValues row(db.dialect(), QStringLiteral("Jobs"));
            row.set(QStringLiteral("JobNo"), 2000 + i)
                .set(QStringLiteral("JobStatus"), i % 3 ? QStringLiteral("New")
                                                        : QStringLiteral("Awaiting Survey"))
                .set(QStringLiteral("WorkName"),
                     i % 5 == 0 ? testregister::contact(i).name
                                : QString(QString::fromUtf8(names[i % 7]) +
                                          QStringLiteral(" %1").arg(i)))
                .set(QStringLiteral("HomeAddress"),
                     i % 2 ? testregister::contact(i).address
                           : QStringLiteral("%1 %2\nLeeds")
                                 .arg(1 + i % 90)
                                 .arg(QLatin1String(streets[i % 4])))
                .set(QStringLiteral("HomeNumbers"), QStringLiteral("0113 496 %1").arg(1000 + i))
                .set(QStringLiteral("DateCreated"), QStringLiteral("2026-02-%1 09:00:00")
                                                        .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            db.exec(row.insert(), row.values());
        }
        adding.commit();
        frmSearchJobs search(env.app(), captions::defaults());
        search.Form_Load();
        search.show();
        auto* box = search.findChild<QLineEdit*>(QStringLiteral("txtSearch"));
        auto* count = search.findChild<QLabel*>(QStringLiteral("labCount"));
        box->setFocus();
        typeAndWait(box, QStringLiteral("rose"), count, QStringLiteral("Matching Jobs"));
        save(search, folder, QStringLiteral("frmSearchJobs-typed"));
        search.show();
        box->clear();
        search.cmdSearch_Click();
        waitFor(count, QStringLiteral("Matching Jobs"));
        save(search, folder, QStringLiteral("frmSearchJobs-all"));
    }
    return 0;
}
