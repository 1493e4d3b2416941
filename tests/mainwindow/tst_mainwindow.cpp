#include "jobs/frmJobs.h"
#include "mainwindow/HoverButton.h"
#include "mainwindow/MainWindowStartup.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplash.h"
#include "records/RunDatabase.h"
#include "startup/Startup.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QUrl>

class tst_mainwindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMenuEntryInItsPlace_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("backup") << "File" << "FileBackup" << "&Backup";
        QTest::newRow("restore") << "File" << "FileRestore" << "&Restore";
        QTest::newRow("exit") << "File" << "FileExit" << "E&xit";
        QTest::newRow("cut") << "Edit" << "EditCut" << "Cut";
        QTest::newRow("copy") << "Edit" << "EditCopy" << "Copy";
        QTest::newRow("paste") << "Edit" << "EditPaste" << "Paste";
        QTest::newRow("job status") << "Options" << "OptionsJobStatus" << "Job Status";
        QTest::newRow("introducers") << "Options" << "OptionsIntroducedBy" << "Agents";
        QTest::newRow("address book") << "Options"
            << "ProgramClientCompanies" << "Client / Companies";
        QTest::newRow("jobs") << "" << "Jobs" << "&Jobs";
        QTest::newRow("job report") << "Reports" << "UnderDevelopment" << "Job Report";
        QTest::newRow("marketing") << "Reports" << "ReportMorketing" << "Marketing Report";
        QTest::newRow("invoicing") << "Reports"
            << "ReportAwaitingInvoicing" << "Awaiting Invoicing";
        QTest::newRow("payment") << "Reports" << "ReportAwaitingPayment" << "Awaiting Payment";
        QTest::newRow("setup") << "" << "Setup" << "&Setup";
        QTest::newRow("about") << "Help" << "HelpAbout" << "&About";
        QTest::newRow("help") << "Help" << "MailMerge" << "Creating Templates";
    }
    void everyMenuEntryInItsPlace() {
        QFETCH(QString, menu);
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        TestEnv env;
        env.app().FieldCaptions.set(1, "Agents");
        frmMain main(env.app());
        main.Form_Load();
        auto* action = main.findChild<QAction*>(entry);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        const QList<QAction*> where =
            menu.isEmpty() ? main.menuBar()->actions() : main.findChild<QMenu*>(menu)->actions();
        QVERIFY(where.contains(action));
    }

    void captionAndIntroducerEntry() {
        TestEnv env;
        frmMain main(env.app());
        main.Form_Load();
        QCOMPARE(main.windowTitle(), QString("Verdell Standard [Main]"));
        auto* introducers = main.findChild<QAction*>("OptionsIntroducedBy");
        QCOMPARE(introducers->text(), QString());  // no caption of the user's own
        env.app().FieldCaptions.set(1, "Agent:");   // renamed on the job screen
        Q_EMIT control<QMenu>(&main, "Options")->aboutToShow();
        QCOMPARE(introducers->text(), QString("Agent:"));

        // A database named on the command line is named in the caption.
        const QString other = env.makeDatabase(env.driveD() + "/jobs.mdb");
        QVERIFY(useDatabaseForThisRun(env.app(), other));
        main.Form_Load();
        QCOMPARE(main.windowTitle(), "Verdell Standard [Main] - " + other + " (this run only)");
    }

    // The picture fills an 800 x 600 screen, stands centred on a larger one, and where less is
    // left to windows it is scaled down whole: each button stands where it does in the
    // full-size picture, scaled the same.
    void windowFitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("area");  // what the screen leaves to windows
        QTest::addColumn<bool>("maximised");
        QTest::newRow("800 x 600") << QSize(800, 600) << QRect() << true;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << QRect(0, 0, 1024, 768) << false;
        // 200% scaling on a 1920 x 1080 screen leaves 960 x 540 logical pixels.
        QTest::newRow("scaled, whole screen") << QSize(960, 540) << QRect(0, 0, 960, 540) << false;
        QTest::newRow("scaled, below a panel") << QSize(960, 540) << QRect(0, 27, 960, 513) << false;
    }
    void windowFitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QRect, area);
        QFETCH(bool, maximised);
        TestEnv env;
        env.screen.set(screen);
        if (area.isValid()) {
            env.screen.setAvailable(area);
        }
        frmMain main(env.app());
        main.Form_Load();
        QCOMPARE(main.windowState().testFlag(Qt::WindowMaximized), maximised);
        if (maximised) {
            return;
        }
        QVERIFY(area.contains(main.frameGeometry()));
        const qreal scale = main.width() / 800.0;
        QVERIFY(qAbs(main.height() - 600 * scale) <= 1);
        if (screen.width() >= 1024) {
            QCOMPARE(main.geometry(), QRect(112, 84, 800, 600));
        }
        const std::pair<QWidget*, QRect> full[] = {
            {control(&main, "HoverTool1"), QRect(61, 220, 264, 66)},
            {control(&main, "HoverTool2"), QRect(58, 386, 199, 66)}};
        for (const auto& [button, at] : full) {
            const QRect g = button->geometry();
            QVERIFY(qAbs(g.x() - at.x() * scale) <= 1 && qAbs(g.y() - at.y() * scale) <= 1);
            QVERIFY(qAbs(g.width() - at.width() * scale) <= 1 &&
                    qAbs(g.height() - at.height() * scale) <= 1);
        }
    }

    // Tab goes down the buttons as they stand on the picture.
    void tabFollowsTheButtonsDown() {
        TestEnv env;
        env.openNewDatabase();
        frmMain main(env.app());
        main.Form_Load();
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        control(&main, "htEstimates")->setFocus();
        QStringList order{focused()};
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << focused();
        }
        QCOMPARE(order, (QStringList{"htEstimates", "HoverTool1", "HoverTool3", "HoverTool2"}));
    }

    void windowsOpenInsideTheScreen() {
        TestEnv env;
        env.openNewDatabase();
        env.screen.set({960, 540});
        frmJobs jobs(env.app());  // larger than the screen
        jobs.Form_Load();
        QVERIFY(jobs.x() >= 0 && jobs.y() >= 0);
    }

    void creatingTemplatesOpensTheHelpPage() {
        TestEnv env;
        frmMain main(env.app());
        main.Form_Load();
        main.findChild<QAction*>("MailMerge")->trigger();
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].action, QString("openUrl"));
        const QString page = QUrl(env.launcher.requests[0].target).toLocalFile();
        const QByteArray html = TestEnv::readFile(page);
        for (const char* token :
             {"[JOBNO]", "[CUSTNAME]", "[FREE7]", "[ESTNO]", "[AMOUNTDUE]", "starttable"}) {
            QVERIFY2(html.contains(token), token);
        }
        QCOMPARE(env.prompter.count(), 0);

        env.launcher.succeed = false;  // nothing on the computer shows web pages
        main.findChild<QAction*>("MailMerge")->trigger();
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY(env.prompter.last().prompt.contains(page));
    }

    void buttonsTakeTheirPlacesAtAnyDensity_data() {
        QTest::addColumn<int>("twipsPerPixel");
        QTest::addColumn<QRect>("jobs");
        QTest::addColumn<QRect>("exit");
        QTest::addColumn<QPoint>("version");
        QTest::newRow("96 dpi") << 15 << QRect(61, 220, 264, 66) << QRect(58, 386, 199, 66)
                                << QPoint(286, 6);
        QTest::newRow("120 dpi") << 12 << QRect(76, 275, 330, 83) << QRect(72, 483, 248, 83)
                                 << QPoint(358, 8);
    }
    void buttonsTakeTheirPlacesAtAnyDensity() {
        QFETCH(int, twipsPerPixel);
        QFETCH(QRect, jobs);
        QFETCH(QRect, exit);
        QFETCH(QPoint, version);
        TestEnv env;
        env.screen.set({1280, 1024}, twipsPerPixel);
        frmMain main(env.app());
        main.Form_Load();
        QWidget* jobsButton = control(&main, "HoverTool1");
        QWidget* exitButton = control(&main, "HoverTool2");
        QCOMPARE(jobsButton->geometry(), jobs);
        QCOMPARE(exitButton->geometry(), exit);
        QCOMPARE(control(&main, "labVersion")->pos(), version);
        QVERIFY(control(&main, "htEstimates")->geometry().bottom() < jobsButton->geometry().top());
        QVERIFY(jobsButton->geometry().bottom() < control(&main, "HoverTool3")->geometry().top());
        // The tuning boxes hold the exit button's place in twips; Enter applies them.
        auto* left = control<QLineEdit>(&main, "Text1");
        QCOMPARE(left->text(), QString::number(exit.left() * twipsPerPixel));
        left->setText("1500");
        QTest::keyClick(left, Qt::Key_Return);
        QCOMPARE(exitButton->x(), 1500 / twipsPerPixel);
    }

    void jobsAndReportsNeedAConnection() {
        TestEnv env;
        frmMain main(env.app());
        main.Form_Load();
        main.HoverTool1_Click();
        main.HoverTool3_Click();
        main.htEstimates_Click();
        QCOMPARE(env.prompter.count(), 2);
        for (const auto& call : env.prompter.calls()) {
            QCOMPARE(call.prompt, QString("There is no database connection"));
            QCOMPARE(call.title, QString("No Current Database Connection"));
            QCOMPARE(call.icon, Prompter::Icon::Critical);
        }
        env.openNewDatabase();
        main.HoverTool1_Click();
        QCOMPARE(env.prompter.count(), 2);
        auto* jobs = qobject_cast<QWidget*>(env.app().openScreen("frmJobs"));
        QVERIFY(jobs && jobs->isVisible());
        main.findChild<QAction*>("Jobs")->trigger();  // the same screen, brought forward
        QCOMPARE(qobject_cast<QWidget*>(env.app().openScreen("frmJobs")), jobs);
        jobs->close();
        QTRY_VERIFY(!env.app().openScreen("frmJobs"));
    }

    // The notice stays until start-up's last step says it is done.
    void pleaseWaitGoesOnceStartUpIsComplete() {
        TestEnv env;
        MainWindowStartup ui(env.app());
        ui.showMainWindow();
        auto* wait = control<QLabel>(ui.mainWindow(), "labPleaseWait");
        QCOMPARE(wait->text(), QString("Please wait while the software is initialised"));
        QVERIFY(wait->isVisible());
        LoadTemplateFolder(env.app(), ui);
        QVERIFY(env.app().StartupComplete);
        QVERIFY(!wait->isVisible());
        // A main window made after start-up shows no notice.
        frmMain later(env.app());
        later.show();
        QVERIFY(!control(&later, "labPleaseWait")->isVisible());
    }

    void buttonsLightUpUnderTheMouse() {
        TestEnv env;
        frmMain main(env.app());
        main.Form_Load();
        main.show();
        auto* jobs = control<HoverButton>(&main, "HoverTool1");
        QVERIFY(!jobs->isLit());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(jobs, &enter);
        QVERIFY(jobs->isLit());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(jobs, &leave);
        QVERIFY(!jobs->isLit());
    }

    void exitClosesTheReportsMenuAndTheWindow() {
        TestEnv env;
        frmMain main(env.app());
        QWidget reports;
        env.app().registerScreen("frmReports", &reports);
        main.show();
        reports.show();
        main.HoverTool2_Click();
        QVERIFY(!main.isVisible());
        QVERIFY(!reports.isVisible());
    }

    void aboutBox() {
        frmSplash about;
        QCOMPARE(control<QLabel>(&about, "lblProductName")->text(), QString("Verdell"));
        QCOMPARE(control<QLabel>(&about, "lblVersion")->text(), QString("Version 2.4.11"));
        QCOMPARE(control<QLabel>(&about, "lblPlatform")->text(),
                 QString("Platform:XP, Vista, Win 7"));
        about.show();
        QTest::keyClick(&about, Qt::Key_X);
        QVERIFY(!about.isVisible());
        about.show();
        QTest::mouseClick(control(&about, "Frame1"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
