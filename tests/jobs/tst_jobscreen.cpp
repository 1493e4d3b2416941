#include "db/RowsModel.h"
#include "jobs/frmJobs.h"
#include "search/frmSearchJobs.h"
#include "support/JobRecords.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

// The job screen driven through its controls, with every message answered from a script.
class tst_jobscreen : public QObject {
    Q_OBJECT

    // A database with job 5 saved and remembered as the last job shown.
    static void withJobFive(TestEnv& env) {
        env.openNewDatabase();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        JobFields job;
        job.JobStatus = "Quoted";
        job.WorkName = "Mrs O'Brien";
        job.DateDue = "01/02/2010";
        job.CliName = "Harbour Estates";
        QVERIFY(testjobs::save(env.app(), job, 0, 5).ok);
        env.app().AppSettings.SetValue("LastJob", "5");
    }

    static std::unique_ptr<frmJobs> open(TestEnv& env) {
        auto jobs = std::make_unique<frmJobs>(env.app());
        jobs->Form_Load();
        jobs->show();
        QApplication::setActiveWindow(jobs.get());  // so that focus moves raise focus events
        return jobs;
    }

    // Text dragged from elsewhere and dropped on a box, as the mouse does it.
    static void dropText(QWidget* box, const QString& text) {
        QWidget* target = qobject_cast<QPlainTextEdit*>(box)
                              ? static_cast<QPlainTextEdit*>(box)->viewport()
                              : box;
        QMimeData data;
        data.setText(text);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }

    static int jobs(TestEnv& env) {
        return env.app().DbConnection.scalar("SELECT count(*) FROM Jobs").toInt();
    }

private Q_SLOTS:
    void opensOnTheLastJob() {
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        QCOMPARE(screen->windowTitle(), QString("Verdell Standard [Jobs]"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QLabel>(screen.get(), QString("labJobNumber_%1").arg(i))->text(),
                     QString("5"));
            QCOMPARE(control<QLabel>(screen.get(), QString("labJobStatus_%1").arg(i))->text(),
                     QString("Quoted"));
        }
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString("Mrs O'Brien"));
        QCOMPARE(control<QLineEdit>(screen.get(), "txtDateDue")->text(), QString("01/02/2010"));
        QVERIFY(screen->jobLoaded());
        QVERIFY(control<QPushButton>(screen.get(), "cmdNewJob")->isVisible() &&
                !control<QPushButton>(screen.get(), "cmdSave")->isVisible());
        QVERIFY(control<QListWidget>(screen.get(), "lstJobStatus")->count() > 0);
        QCOMPARE(control<QComboBox>(screen.get(), "comDocAddress")->count(), 3);

        // A job that does not exist leaves the fields, but nothing can be typed.
        QCOMPARE(screen->LoadJob(77), 1);
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString("Mrs O'Brien"));
        QVERIFY(!screen->jobLoaded());
        QCOMPARE(env.setting("LastJob"), QString("77"));
    }

    void typingIsRefusedWithoutAJob() {
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("LastJob", "none");
        auto screen = open(env);
        QVERIFY(!screen->jobLoaded());
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustName"), "x");
        QTest::keyClicks(control<QPlainTextEdit>(screen.get(), "txtWorkDetails"), "y");
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString());
        QCOMPARE(control<QPlainTextEdit>(screen.get(), "txtWorkDetails")->toPlainText(), QString());
        QCOMPARE(env.prompter.count(), 2);
        QCOMPARE(env.prompter.last().prompt,
                 QString("If you are trying to create a new job you need to press 'New Job' "
                         "first"));
        QCOMPARE(env.prompter.last().title, QString("No Job Loaded"));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Exclamation);
        control<QPushButton>(screen.get(), "cmdChangeStatus_1")->click();
        QCOMPARE(env.prompter.count(), 3);
        QVERIFY(!control<QWidget>(screen.get(), "panNewStatus")->isVisible());
    }

    void aNewJobIsNumberedWhenSaved() {
        TestEnv env;
        env.openNewDatabase();
        env.app().DbConnection.exec("UPDATE Counters SET JobCounter = 1042");
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdNewJob")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labJobStatus_2")->text(), QString("New"));
        QCOMPARE(control<QLineEdit>(screen.get(), "txtDateCreated")->text(), QString("14/03/2026"));
        QVERIFY(control<QPushButton>(screen.get(), "cmdSave")->isVisible() &&
                !control<QPushButton>(screen.get(), "cmdSearch")->isEnabled());
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustName"), "Ann Lee");
        QTest::keyClicks(control<QPlainTextEdit>(screen.get(), "txtWorkDetails"), "Fix gutter");
        control<QComboBox>(screen.get(), "comInvoiceStatus")->setCurrentIndex(1);
        control<QLineEdit>(screen.get(), "txtPrice")->setFocus();
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtPrice"), "1234.5");
        control<QLineEdit>(screen.get(), "txtCustRef")->setFocus();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtPrice")->text(),
                 QString::fromUtf8("\u00A31,234.50"));
        QVERIFY(screen->cmdSave_Click());
        QCOMPARE(control<QLabel>(screen.get(), "labJobNumber_0")->text(), QString("1042"));
        QCOMPARE(env.setting("LastJob"), QString("1042"));
        QVERIFY(control<QPushButton>(screen.get(), "cmdNewJob")->isVisible() &&
                !screen->changesPending());
        QVERIFY(screen->cmdSave_Click());
        QCOMPARE(jobs(env), 1);
        Database& db = env.app().DbConnection;
        QCOMPARE(db.scalar("SELECT WorkDetails FROM Jobs WHERE JobNo = 1042").toString(),
                 QString("Fix gutter"));
        QCOMPARE(db.scalar("SELECT InvoiceStatus FROM Jobs").toString(),
                 QString("Awaiting Invoicing"));
        QCOMPARE(db.scalar("SELECT Price FROM Jobs").toDouble(), 1234.5);
        QCOMPARE(db.scalar("SELECT count(*) FROM customers WHERE Name = 'Ann Lee'").toInt(), 1);
    }

    void aRefusedSaveKeepsTheScreenEditing() {
        TestEnv env;
        env.openNewDatabase();
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdNewJob")->click();
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustName"), "Ann");
        env.app().DbConnection.exec("DROP TABLE customers");
        QVERIFY(!screen->cmdSave_Click());
        QVERIFY(env.prompter.last().prompt.startsWith("The job could not be saved."));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Critical);
        QVERIFY(control<QPushButton>(screen.get(), "cmdSave")->isVisible());
        QVERIFY(screen->changesPending());
        QCOMPARE(control<QLabel>(screen.get(), "labJobNumber_0")->text(), QString());
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString("Ann"));
        QCOMPARE(jobs(env), 0);
    }

    void closingAsksToSave_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("saved");
        QTest::newRow("yes") << Prompter::Answer::Yes << true << 1;
        QTest::newRow("no") << Prompter::Answer::No << true << 0;
        QTest::newRow("cancel") << Prompter::Answer::Cancel << false << 0;
    }
    void closingAsksToSave() {
        QFETCH(Prompter::Answer, answer);
        QFETCH(bool, closed);
        QFETCH(int, saved);
        TestEnv env;
        env.openNewDatabase();
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdNewJob")->click();
        env.prompter.answer(answer);
        control<QPushButton>(screen.get(), "cmdExit")->click();
        QCOMPARE(env.prompter.last().prompt,
                 QString("Would you like to save your changes before "));
        QCOMPARE(env.prompter.last().title, QString("Save Changes"));
        QCOMPARE(env.prompter.last().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(!screen->isVisible(), closed);
        QCOMPARE(jobs(env), saved);
    }

    void tabLeavesEveryMultiLineBox_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("previous");
        QTest::newRow("home address") << "txtHomeAddress"
                                      << "txtCustContactNos"
                                      << "txtCustName";
        QTest::newRow("contact numbers") << "txtCustContactNos"
                                         << "cmdFindClient_0"
                                         << "txtHomeAddress";
        QTest::newRow("work details") << "txtWorkDetails"
                                      << "txtDateCreated"
                                      << "cmdFindClient_0";
        QTest::newRow("notes") << "txtNotes"
                               << ""
                               << "txtUnused1_6";
        QTest::newRow("client address") << "txtCliAddress"
                                        << "txtCliNumbers"
                                        << "txtCliName";
        QTest::newRow("client numbers") << "txtCliNumbers"
                                        << "cmdFindClient_1"
                                        << "txtCliAddress";
        QTest::newRow("client notes") << "txtCliNotes"
                                      << ""
                                      << "cmdFindClient_1";
    }
    void tabLeavesEveryMultiLineBox() {
        QFETCH(QString, box);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        auto* text = control<QPlainTextEdit>(screen.get(), box);
        control<QTabWidget>(screen.get(), "tabJobs")
            ->setCurrentIndex(box.startsWith("txtCli") ? 1 : 0);
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Tab);
        QVERIFY(focused() != box);
        if (!next.isEmpty()) {
            QCOMPARE(focused(), next);
        }
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), previous);
        QVERIFY(!text->toPlainText().contains('\t'));
        QVERIFY(!control(screen.get(), "cmdSave")->isVisible());
    }

    void anyChangeOfTextStartsEditing_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("several lines") << "txtWorkDetails";
        QTest::newRow("one line") << "txtCustRef";
        QTest::newRow("client notes") << "txtCliNotes";
    }
    void anyChangeOfTextStartsEditing() {
        QFETCH(QString, box);
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        control<QTabWidget>(screen.get(), "tabJobs")
            ->setCurrentIndex(box.startsWith("txtCli") ? 1 : 0);
        dropText(control(screen.get(), box), "dropped");
        QVERIFY(control(screen.get(), "cmdSave")->isVisible());
        QVERIFY(!control(screen.get(), "cmdNewJob")->isVisible());
    }

    // A long line is laid out again at every change of size and cursor: the box shows it in
    // short paragraphs, and what is saved is the text as typed, without their breaks.
    void aLongLineShowsInShortParagraphsAndSavesWhole_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("work details, one line") << "txtWorkDetails"
                                                << "WorkDetails"
                                                << ""
                                                << "";
        QTest::newRow("notes, among short lines") << "txtNotes"
                                                  << "WorkNotes"
                                                  << "Called\n"
                                                  << "\nPaid";
    }
    void aLongLineShowsInShortParagraphsAndSavesWhole() {
        QFETCH(QString, box);
        QFETCH(QString, column);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QString line;
        for (int i = 0; line.size() < 300000; ++i) {
            line += QString("word%1 ").arg(i % 97);
        }
        line += QString(5000, u'x');  // and a stretch without a blank
        const QString text = before + line + after;
        TestEnv env;
        withJobFive(env);
        env.app().DbConnection.exec(QString("UPDATE Jobs SET %1 = ? WHERE JobNo = 5").arg(column),
                                    {text});
        auto screen = open(env);
        auto* shown = control<QPlainTextEdit>(screen.get(), box);
        for (QTextBlock b = shown->document()->begin(); b.isValid(); b = b.next()) {
            QVERIFY2(b.length() <= 2001, qPrintable(QString::number(b.length())));
        }
        shown->setFocus();
        QTest::keyClick(shown, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(shown, "X");
        QVERIFY(screen->cmdSave_Click());
        QCOMPARE(
            env.app()
                .DbConnection.scalar(QString("SELECT %1 FROM Jobs WHERE JobNo = 5").arg(column))
                .toString(),
            "X" + text);
    }

    void typingAloneClosesWithoutAQuestion() {
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustRef"), "R");
        QVERIFY(control<QPushButton>(screen.get(), "cmdSave")->isVisible());
        screen->close();
        QVERIFY(!screen->isVisible());
        QCOMPARE(env.prompter.count(), 0);
    }

    void statusChangeAndCancel() {
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdChangeStatus_0")->click();
        QVERIFY(control<QWidget>(screen.get(), "panNewStatus")->isVisible());
        QVERIFY(screen->changesPending());
        control<QPushButton>(screen.get(), "cmdChange")->click();
        QCOMPARE(env.prompter.last().prompt,
                 QString("You have to select a new status before pressing 'Change Status'"));
        QCOMPARE(env.prompter.last().title, QString("No Status Selected"));
        QVERIFY(control<QWidget>(screen.get(), "panNewStatus")->isVisible());
        const auto found = control<QListWidget>(screen.get(), "lstJobStatus")
                               ->findItems("CLOSED", Qt::MatchExactly);
        control<QListWidget>(screen.get(), "lstJobStatus")->setCurrentItem(found.first());
        control<QPushButton>(screen.get(), "cmdChange")->click();
        QVERIFY(!control<QWidget>(screen.get(), "panNewStatus")->isVisible());
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QLabel>(screen.get(), QString("labJobStatus_%1").arg(i))->text(),
                     QString("CLOSED"));
        }
        // Cancelling, answered No, keeps the change; answered Yes, puts back the stored status.
        env.prompter.answer(Prompter::Answer::No);
        control<QPushButton>(screen.get(), "cmdCancel")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labJobStatus_0")->text(), QString("CLOSED"));
        QCOMPARE(env.prompter.last().title, QString("Cancel Job 5"));
        env.prompter.answer(Prompter::Answer::Yes);
        control<QPushButton>(screen.get(), "cmdCancel")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labJobStatus_0")->text(), QString("Quoted"));
        QVERIFY(control<QPushButton>(screen.get(), "cmdNewJob")->isVisible());
    }

    void deleting() {
        TestEnv env;
        withJobFive(env);
        env.app().DbConnection.exec("INSERT INTO Docs (JobNumber, FileName) VALUES (5, '1.doc')");
        auto screen = open(env);
        QCOMPARE(control<QTableView>(screen.get(), "fgDocs")->model()->rowCount(), 1);
        control<QPushButton>(screen.get(), "cmdDelete")->click();  // answered Cancel
        QCOMPARE(env.prompter.last().prompt, QString("Do you really want to delete this job?"));
        QCOMPARE(env.prompter.last().title, QString("Delete Job 5"));
        QCOMPARE(jobs(env), 1);
        env.prompter.answer(Prompter::Answer::Yes);
        control<QPushButton>(screen.get(), "cmdDelete")->click();
        QCOMPARE(jobs(env), 0);
        QCOMPARE(env.app().DbConnection.scalar("SELECT count(*) FROM Docs").toInt(), 0);
        QCOMPARE(control<QLabel>(screen.get(), "labJobNumber_0")->text(), QString());
        QVERIFY(!screen->jobLoaded());

        env.prompter.clear();
        control<QPushButton>(screen.get(), "cmdNewJob")->click();
        screen->cmdDelete_Click();  // a job not yet saved: nothing at all
        QCOMPARE(env.prompter.count(), 0);
    }

    void stampsAndDates() {
        TestEnv env;
        withJobFive(env);
        env.clock.set(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)));
        auto screen = open(env);
        control<QPlainTextEdit>(screen.get(), "txtNotes")->setFocus();
        QTest::keyClick(control<QPlainTextEdit>(screen.get(), "txtNotes"), Qt::Key_F2);
        QCOMPARE(control<QPlainTextEdit>(screen.get(), "txtNotes")->toPlainText(),
                 QString("06/12/2026, 09:05:07 :"));
        screen->LoadJob(99);  // no job: the client notes still take a stamp, the notes do not
        control<QPlainTextEdit>(screen.get(), "txtNotes")->clear();
        QTest::keyClick(control<QPlainTextEdit>(screen.get(), "txtNotes"), Qt::Key_F2);
        QCOMPARE(control<QPlainTextEdit>(screen.get(), "txtNotes")->toPlainText(), QString());
        QTest::keyClick(control<QPlainTextEdit>(screen.get(), "txtCliNotes"), Qt::Key_F2);
        QVERIFY(control<QPlainTextEdit>(screen.get(), "txtCliNotes")
                    ->toPlainText()
                    .endsWith("06/12/2026, 09:05:07 :"));

        screen->LoadJob(5);
        control<QLineEdit>(screen.get(), "txtDateReceived")->setFocus();
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtDateReceived"), "010210");
        control<QLineEdit>(screen.get(), "txtCustRef")->setFocus();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtDateReceived")->text(),
                 QString("01/02/2010"));
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustRef")->palette().color(QPalette::Base),
                 QColor(0xC0, 0xC0, 0xFF));
        QCOMPARE(
            control<QLineEdit>(screen.get(), "txtDateReceived")->palette().color(QPalette::Base),
            QColor(Qt::white));
    }

    // With two-digit years on screen, a save stores the date typed and keeps every date nobody
    // touched exactly as it was loaded.
    void twoDigitYearsKeepTheirCentury() {
        TestEnv env;
        withJobFive(env);
        Database& db = env.app().DbConnection;
        QVERIFY(
            db.exec("UPDATE Jobs SET DateQuoted = '2031-03-01 00:00:00', "
                    "DateCompleted = '1968-07-04 00:00:00' WHERE JobNo = 5"));
        env.app().DefaultDateFormat = "dd/mm/yy";
        auto screen = open(env);
        QCOMPARE(control<QLineEdit>(screen.get(), "txtQuoteDate")->text(), QString("01/03/31"));
        control<QLineEdit>(screen.get(), "txtDateDue")->setFocus();
        control<QLineEdit>(screen.get(), "txtDateDue")->selectAll();
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtDateDue"), "15/06/2030");
        control<QLineEdit>(screen.get(), "txtQuoteDate")
            ->setFocus();  // passing through a loaded date changes nothing
        control<QLineEdit>(screen.get(), "txtCustRef")->setFocus();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtDateDue")->text(), QString("15/06/30"));
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustRef"), "R1");
        QVERIFY(screen->cmdSave_Click());
        auto stored = [&](const char* column) {
            return db.scalar(QString("SELECT %1 FROM Jobs WHERE JobNo = 5").arg(column)).toString();
        };
        QCOMPARE(stored("DateDue"), QString("2030-06-15 00:00:00"));
        QCOMPARE(stored("DateQuoted"), QString("2031-03-01 00:00:00"));
        QCOMPARE(stored("DateCompleted"), QString("1968-07-04 00:00:00"));
    }

    // A number typed by hand that another job holds is refused, and Cancel keeps the typing.
    void manualNumbersThroughTheScreen() {
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        env.app().ManualNumbering = true;
        control<QPushButton>(screen.get(), "cmdNewJob")->click();
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtCustName"), "Ann Lee");
        env.prompter.type("5");
        env.prompter.cancelInput();
        QVERIFY(!screen->cmdSave_Click());
        QCOMPARE(env.prompter.calls()[1].prompt,
                 QString("The number 5 is already used by job 5 (Mrs O'Brien, Harbour "
                         "Estates).\r\nPlease enter another number."));
        QCOMPARE(env.prompter.calls()[1].title, QString("Job Number In Use"));
        QCOMPARE(env.prompter.count(), 3);  // asked again, then cancelled
        QCOMPARE(jobs(env), 1);
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString("Ann Lee"));
        QVERIFY(control<QPushButton>(screen.get(), "cmdSave")->isVisible() &&
                screen->changesPending());

        env.prompter.type("6");
        QVERIFY(screen->cmdSave_Click());
        QCOMPARE(control<QLabel>(screen.get(), "labJobNumber_0")->text(), QString("6"));
        QCOMPARE(
            env.app().DbConnection.scalar("SELECT WorkName FROM Jobs WHERE JobNo = 6").toString(),
            QString("Ann Lee"));
    }

    void customerAndClientLookup() {
        TestEnv env;
        withJobFive(env);
        Database& db = env.app().DbConnection;
        for (const char* name : {"Smith", "smythe", "Jones", "50% Off Ltd"}) {
            TestEnv::addRow(
                db, "customers",
                {{"Name", QString::fromUtf8(name)}, {"Address", "Addr"}, {"Contact", "Tel"}});
        }
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdFindClient_0")->click();
        QVERIFY(control<QWidget>(screen.get(), "panFindClient")->isVisible());
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtFindClient"), "sm");
        QTest::keyClick(control<QLineEdit>(screen.get(), "txtFindClient"), Qt::Key_Return);
        QCOMPARE(control<QLabel>(screen.get(), "labClientCount")->text(),
                 QString("Found 2 matching customers"));
        QTest::keyClicks(control<QLineEdit>(screen.get(), "txtFindClient"), "%");
        control<QPushButton>(screen.get(), "cmdSearchClient")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labClientCount")->text(),
                 QString("Found 0 matching customers"));
        control<QLineEdit>(screen.get(), "txtFindClient")->setText("50%");
        control<QPushButton>(screen.get(), "cmdSearchClient")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labClientCount")->text(),
                 QString("Found 1 matching customers"));
        screen->fgFindClient_DblClick();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCustName")->text(), QString("50% Off Ltd"));
        QCOMPARE(control<QPlainTextEdit>(screen.get(), "txtHomeAddress")->toPlainText(),
                 QString("Addr"));
        QVERIFY(!control<QWidget>(screen.get(), "panFindClient")->isVisible());
        QVERIFY(control<QPushButton>(screen.get(), "cmdSave")->isVisible());

        screen->LoadJob(99);
        control<QPushButton>(screen.get(), "cmdFindClient_1")->click();
        control<QPushButton>(screen.get(), "cmdSearchClient")
            ->click();  // clients: the one job five added
        QCOMPARE(control<QLabel>(screen.get(), "labClientCount")->text(),
                 QString("Found 1 matching clients"));
        screen->fgFindClient_DblClick();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtCliName")->text(),
                 QString("Harbour Estates"));
        QCOMPARE(env.prompter.last().title, QString("No Job Loaded"));
    }

    void aChosenContactLeavesTheFocusOnItsOwnTab_data() {
        QTest::addColumn<QString>("finder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("tab");
        // The customer has no numbers; the client (saved with job five) has only a name.
        QTest::newRow("customer") << "cmdFindClient_0"
                                  << "Smith"
                                  << "txtCustContactNos" << 0;
        QTest::newRow("client") << "cmdFindClient_1"
                                << "Harbour"
                                << "txtCliAddress" << 1;
    }
    void aChosenContactLeavesTheFocusOnItsOwnTab() {
        QFETCH(QString, finder);
        QFETCH(QString, name);
        QFETCH(QString, focus);
        QFETCH(int, tab);
        TestEnv env;
        withJobFive(env);
        TestEnv::addRow(env.app().DbConnection, "customers",
                        {{"Name", "Smith"}, {"Address", "1 High St"}, {"Contact", ""}});
        auto screen = open(env);
        auto* tabs = control<QTabWidget>(screen.get(), "tabJobs");
        tabs->setCurrentIndex(tab);
        QTest::mouseClick(control<QPushButton>(screen.get(), finder), Qt::LeftButton);
        QTest::keyClicks(control(screen.get(), "txtFindClient"), name);
        QTest::keyClick(control(screen.get(), "txtFindClient"), Qt::Key_Return);
        auto* grid = control<QTableView>(screen.get(), "fgFindClient");
        const QPoint row = grid->visualRect(grid->model()->index(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(focused(), focus);
        QCOMPARE(tabs->currentIndex(), tab);
        QVERIFY(control(screen.get(), focus)->isVisible());
    }

    void dateBoxesShowTheWholeDate() {
        TestEnv env;
        withJobFive(env);
        JobFields job;
        for (QString* date : {&job.DateCreated, &job.DateReceived, &job.DateDue, &job.DateQuoted,
                              &job.DateCompleted}) {
            *date = "30/09/2026";  // "Wednesday, 30 September 2026"
        }
        QVERIFY(testjobs::save(env.app(), job, 0, 6).ok);
        env.app().DbConnection.exec("UPDATE Counters SET Free3 = 2");  // the system's long date
        env.app().AppSettings.SetValue("LastJob", "6");
        auto screen = open(env);
        for (const char* name : {"txtDateCreated", "txtDateReceived", "txtDateDue", "txtQuoteDate",
                                 "txtDateCompleted"}) {
            auto* box = control<QLineEdit>(screen.get(), name);
            QCOMPARE(box->text(), QString("Wednesday, 30 September 2026"));
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth =
                box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
            const QRect inside =
                box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) + 4 <= inside.width(), name);
        }
    }

    void theEngineersPanelHasOneHeading() {
        TestEnv env;
        withJobFive(env);
        auto screen = open(env);
        QTest::mouseClick(control<QPushButton>(screen.get(), "cmdFindEngineer"), Qt::LeftButton);
        auto* panel = control(screen.get(), "panEngineers");
        QVERIFY(panel->isVisible());
        QStringList headings;
        for (QLabel* label : panel->findChildren<QLabel*>()) {
            if (label->isVisible()) {
                headings << label->text();
            }
        }
        QCOMPARE(headings, QStringList({"Introduced By:"}));
    }

    void engineers() {
        TestEnv env;
        withJobFive(env);
        Database& db = env.app().DbConnection;
        for (const char* name : {"Bob", "", "Alice"}) {
            TestEnv::addRow(db, "engineers", {{"Engineer", QString::fromUtf8(name)}});
        }
        env.app().FieldCaptions.set(8, "Engineers");
        auto screen = open(env);
        control<QPushButton>(screen.get(), "cmdFindEngineer")->click();
        QCOMPARE(control<QLabel>(screen.get(), "labEngineers")->text(), QString("Introduced By:"));
        QCOMPARE(control<QListWidget>(screen.get(), "lstEngineers")->count(), 2);
        control<QListWidget>(screen.get(), "lstEngineers")->setCurrentRow(1);
        screen->lstEngineers_RightClick();  // answered No
        QCOMPARE(env.prompter.last().title, QString("Remove Alice"));
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers").toInt(), 3);
        screen->lstEngineers_DblClick();
        QCOMPARE(control<QLineEdit>(screen.get(), "txtClientRef")->text(), QString("Alice"));
        QVERIFY(!control<QWidget>(screen.get(), "panEngineers")->isVisible());
        control<QPushButton>(screen.get(), "cmdFindEngineer")->click();
        control<QListWidget>(screen.get(), "lstEngineers")->setCurrentRow(0);
        env.prompter.answer(Prompter::Answer::Yes);
        screen->lstEngineers_RightClick();
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers WHERE Engineer = 'Bob'").toInt(), 0);
    }

    void renamingACaption() {
        TestEnv env;
        withJobFive(env);
        {
            auto screen = open(env);
            QTest::mouseDClick(control<QLabel>(screen.get(), "Label1_0"), Qt::LeftButton);
            QVERIFY(control<QWidget>(screen.get(), "panLabels")->isVisible());
            QCOMPARE(control<QLineEdit>(screen.get(), "txtLabel")->text(), QString("Surveyed:"));
            control<QLineEdit>(screen.get(), "txtLabel")->setText("  Inspected: ");
            QTest::keyClick(control<QLineEdit>(screen.get(), "txtLabel"), Qt::Key_Return);
            QVERIFY(!control<QWidget>(screen.get(), "panLabels")->isVisible());
            QCOMPARE(control<QLabel>(screen.get(), "Label1_0")->text(), QString("Inspected:"));
            QCOMPARE(env.app().FieldCaptions[0], QString("Inspected:"));  // shared at once

            QTest::mouseDClick(control<QLabel>(screen.get(), "Label1_5"), Qt::LeftButton);
            control<QLineEdit>(screen.get(), "txtLabel")->setText("Deadline");
            control<QPushButton>(screen.get(), "cmdCloseLabels")->click();
            QCOMPARE(control<QLabel>(screen.get(), "Label1_5")->text(), QString("Due:"));
        }
        Database& db = env.app().DbConnection;
        QCOMPARE(db.scalar("SELECT count(*) FROM labels").toInt(), 36);
        auto reopened = open(env);
        QCOMPARE(control<QLabel>(reopened.get(), "Label1_0")->text(), QString("Inspected:"));
        QCOMPARE(env.app().FieldCaptions[0], QString("Inspected:"));
    }

    void searchingLoadsTheChosenJob() {
        TestEnv env;
        withJobFive(env);
        JobFields other;
        other.WorkName = "Mr Smith";
        testjobs::save(env.app(), other, 0, 9);
        auto screen = open(env);
        screen->LoadJob(99);
        control<QLineEdit>(screen.get(), "txtSearch")->setText("smith");
        QTimer::singleShot(0, [] {
            auto* search = qobject_cast<frmSearchJobs*>(QApplication::activeModalWidget());
            QVERIFY(search);
            QCOMPARE(control<QLineEdit>(search, "txtSearch")->text(), QString("smith"));
            control<QPushButton>(search, "cmdSearch")->click();
            control<QTableView>(search, "fgSearch")->selectRow(0);
            control<QPushButton>(search, "cmdLoadJob")->click();
        });
        QTest::keyClick(control<QLineEdit>(screen.get(), "txtSearch"), Qt::Key_Return);
        QCOMPARE(control<QLabel>(screen.get(), "labJobNumber_0")->text(), QString("9"));
        QVERIFY(screen->jobLoaded());
    }
};

QTEST_MAIN(tst_jobscreen)
#include "tst_jobscreen.moc"
