#include "db/RowsModel.h"
#include "jobs/frmJobs.h"
#include "search/TypingSearch.h"
#include "search/frmSearchJobs.h"
#include "support/GridCells.h"
#include "support/JobRecords.h"
#include "support/JobScreen.h"
#include "support/ScreenText.h"
#include "support/TestEnv.h"
#include "support/TestRegister.h"

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

    static JobScreen open(TestEnv& env) { return openJobScreen(env); }

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
        auto s = open(withJobFive(env));
        QCOMPARE(s->windowTitle(), QString("Verdell Standard [Jobs]"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(textOf(s, QString("labJobNumber_%1").arg(i)), QString("5"));
            QCOMPARE(textOf(s, QString("labJobStatus_%1").arg(i)), QString("Quoted"));
        }
        QCOMPARE(textOf(s, "txtCustName"), QString("Mrs O'Brien"));
        QCOMPARE(textOf(s, "txtDateDue"), QString("01/02/2010"));
        QVERIFY(s->jobLoaded());
        QVERIFY(onView(s, "cmdNewJob") && !onView(s, "cmdSave"));
        QVERIFY(control<QListWidget>(s, "lstJobStatus")->count() > 0);
        QCOMPARE(control<QComboBox>(s, "comDocAddress")->count(), 3);

        // A job that does not exist leaves the fields, but nothing can be typed.
        QCOMPARE(s->LoadJob(77), 1);
        QCOMPARE(textOf(s, "txtCustName"), QString("Mrs O'Brien"));
        QVERIFY(!s->jobLoaded());
        QCOMPARE(env.setting("LastJob"), QString("77"));
    }

    void typingIsRefusedWithoutAJob() {
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("LastJob", "none");
        auto s = open(env);
        QVERIFY(!s->jobLoaded());
        typeInto(s, "txtCustName", "x");
        typeInto(s, "txtWorkDetails", "y");
        QCOMPARE(textOf(s, "txtCustName"), QString());
        QCOMPARE(textOf(s, "txtWorkDetails"), QString());
        QCOMPARE(env.prompter.count(), 2);
        QCOMPARE(env.prompter.last().prompt,
                 QString("If you are trying to create a new job you need to press 'New Job' "
                         "first"));
        QCOMPARE(env.prompter.last().title, QString("No Job Loaded"));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Exclamation);
        press(s, "cmdChangeStatus_1");
        QCOMPARE(env.prompter.count(), 3);
        QVERIFY(!onView(s, "panNewStatus"));
    }

    void aNewJobIsNumberedWhenSaved() {
        TestEnv env;
        env.openNewDatabase();
        env.app().DbConnection.exec("UPDATE Counters SET JobCounter = 1042");
        auto s = open(env);
        press(s, "cmdNewJob");
        QCOMPARE(textOf(s, "labJobStatus_2"), QString("New"));
        QCOMPARE(textOf(s, "txtDateCreated"), QString("14/03/2026"));
        QVERIFY(onView(s, "cmdSave") && !control<QPushButton>(s, "cmdSearch")->isEnabled());
        typeInto(s, "txtCustName", "Ann Lee");
        typeInto(s, "txtWorkDetails", "Fix gutter");
        control<QComboBox>(s, "comInvoiceStatus")->setCurrentIndex(1);
        control<QLineEdit>(s, "txtPrice")->setFocus();
        typeInto(s, "txtPrice", "1234.5");
        control<QLineEdit>(s, "txtCustRef")->setFocus();
        QCOMPARE(textOf(s, "txtPrice"), QString::fromUtf8("\u00A31,234.50"));
        QVERIFY(s->cmdSave_Click());
        QCOMPARE(textOf(s, "labJobNumber_0"), QString("1042"));
        QCOMPARE(env.setting("LastJob"), QString("1042"));
        QVERIFY(onView(s, "cmdNewJob") && !s->changesPending());
        QVERIFY(s->cmdSave_Click());
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
        auto s = open(env);
        press(s, "cmdNewJob");
        typeInto(s, "txtCustName", "Ann");
        control<QLineEdit>(s, "txtCliName")->setText("Harbour Estates");
        env.app().DbConnection.exec("DROP TABLE customers");
        QVERIFY(!s->cmdSave_Click());
        QVERIFY(env.prompter.last().prompt.startsWith("The job could not be saved."));
        QVERIFY(env.prompter.last().prompt.contains("customers"));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Critical);
        QVERIFY(onView(s, "cmdSave"));
        QVERIFY(s->changesPending());
        QCOMPARE(textOf(s, "labJobNumber_0"), QString());
        QCOMPARE(textOf(s, "txtCustName"), QString("Ann"));
        // Nothing of the job is written, and its number is not taken.
        Database& db = env.app().DbConnection;
        QCOMPARE(jobs(env), 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM clients").toInt(), 0);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 1);
        QVERIFY(!db.inTransaction());
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
        auto s = open(env);
        press(s, "cmdNewJob");
        env.prompter.answer(answer);
        press(s, "cmdExit");
        QCOMPARE(env.prompter.last().prompt,
                 QString("Would you like to save your changes before "));
        QCOMPARE(env.prompter.last().title, QString("Save Changes"));
        QCOMPARE(env.prompter.last().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(!s->isVisible(), closed);
        QCOMPARE(jobs(env), saved);
    }

    void tabLeavesEveryMultiLineBox_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("previous");
        const auto row = [](const char* name, const char* box, const char* next, const char* prev) {
            QTest::newRow(name) << QString(box) << QString(next) << QString(prev);
        };
        row("home address", "txtHomeAddress", "txtCustContactNos", "txtCustName");
        row("contact numbers", "txtCustContactNos", "cmdFindClient_0", "txtHomeAddress");
        row("work details", "txtWorkDetails", "txtDateCreated", "cmdFindClient_0");
        row("notes", "txtNotes", "", "txtUnused1_6");
        row("client address", "txtCliAddress", "txtCliNumbers", "txtCliName");
        row("client numbers", "txtCliNumbers", "cmdFindClient_1", "txtCliAddress");
        row("client notes", "txtCliNotes", "", "cmdFindClient_1");
    }
    void tabLeavesEveryMultiLineBox() {
        QFETCH(QString, box);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        TestEnv env;
        auto s = open(withJobFive(env));
        auto* text = control<QPlainTextEdit>(s, box);
        control<QTabWidget>(s, "tabJobs")->setCurrentIndex(box.startsWith("txtCli") ? 1 : 0);
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
        QVERIFY(!onView(s, "cmdSave"));
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
        auto s = open(withJobFive(env));
        control<QTabWidget>(s, "tabJobs")->setCurrentIndex(box.startsWith("txtCli") ? 1 : 0);
        dropText(control(s, box), "dropped");
        QVERIFY(onView(s, "cmdSave"));
        QVERIFY(!onView(s, "cmdNewJob"));
        // Changes to a stored job alone close the screen without a question.
        s->close();
        QVERIFY(!s->isVisible());
        QCOMPARE(env.prompter.count(), 0);
    }

    // A long line is laid out again at every change of size and cursor: the box shows it in
    // short paragraphs, and what is saved is the text as typed, without their breaks.
    void aLongLineShowsInShortParagraphsAndSavesWhole_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("work details, one line")
            << QString("txtWorkDetails") << QString("WorkDetails") << QString() << QString();
        QTest::newRow("notes, among short lines") << QString("txtNotes") << QString("WorkNotes")
                                                  << QString("Called\n") << QString("\nPaid");
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
        auto s = open(env);
        auto* shown = control<QPlainTextEdit>(s, box);
        for (QTextBlock b = shown->document()->begin(); b.isValid(); b = b.next()) {
            QVERIFY2(b.length() <= 2001, qPrintable(QString::number(b.length())));
        }
        shown->setFocus();
        QTest::keyClick(shown, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(shown, "X");
        QVERIFY(s->cmdSave_Click());
        QCOMPARE(
            env.app()
                .DbConnection.scalar(QString("SELECT %1 FROM Jobs WHERE JobNo = 5").arg(column))
                .toString(),
            "X" + text);
    }

    void statusChangeAndCancel() {
        TestEnv env;
        auto s = open(withJobFive(env));
        press(s, "cmdChangeStatus_0");
        QVERIFY(onView(s, "panNewStatus"));
        QVERIFY(s->changesPending());
        // The list starts on the job's own status.
        QCOMPARE(control<QListWidget>(s, "lstJobStatus")->currentItem()->text(), QString("Quoted"));
        control<QListWidget>(s, "lstJobStatus")->setCurrentRow(-1);
        press(s, "cmdChange");
        QCOMPARE(env.prompter.last().prompt,
                 QString("You have to select a new status before pressing 'Change Status'"));
        QCOMPARE(env.prompter.last().title, QString("No Status Selected"));
        QVERIFY(onView(s, "panNewStatus"));
        const auto found =
            control<QListWidget>(s, "lstJobStatus")->findItems("CLOSED", Qt::MatchExactly);
        control<QListWidget>(s, "lstJobStatus")->setCurrentItem(found.first());
        press(s, "cmdChange");
        QVERIFY(!onView(s, "panNewStatus"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QLabel>(s, QString("labJobStatus_%1").arg(i))->text(),
                     QString("CLOSED"));
        }
        // Cancelling, answered No, keeps the change; answered Yes, puts back the stored status.
        env.prompter.answer(Prompter::Answer::No);
        press(s, "cmdCancel");
        QCOMPARE(textOf(s, "labJobStatus_0"), QString("CLOSED"));
        QCOMPARE(env.prompter.last().title, QString("Cancel Job 5"));
        env.prompter.answer(Prompter::Answer::Yes);
        press(s, "cmdCancel");
        QCOMPARE(textOf(s, "labJobStatus_0"), QString("Quoted"));
        QVERIFY(onView(s, "cmdNewJob"));
    }

    void deleting() {
        TestEnv env;
        withJobFive(env);
        env.app().DbConnection.exec("INSERT INTO Docs (JobNumber, FileName) VALUES (5, '1.doc')");
        auto s = open(env);
        QCOMPARE(control<QTableView>(s, "fgDocs")->model()->rowCount(), 1);
        press(s, "cmdDelete");  // answered Cancel
        QCOMPARE(env.prompter.last().prompt, QString("Do you really want to delete this job?"));
        QCOMPARE(env.prompter.last().title, QString("Delete Job 5"));
        QCOMPARE(jobs(env), 1);
        env.prompter.answer(Prompter::Answer::Yes);
        press(s, "cmdDelete");
        QCOMPARE(jobs(env), 0);
        QCOMPARE(env.app().DbConnection.scalar("SELECT count(*) FROM Docs").toInt(), 0);
        QCOMPARE(textOf(s, "labJobNumber_0"), QString());
        QVERIFY(!s->jobLoaded());

        env.prompter.clear();
        press(s, "cmdNewJob");
        s->cmdDelete_Click();  // a job not yet saved: nothing at all
        QCOMPARE(env.prompter.count(), 0);
    }

    void stampsAndDates() {
        TestEnv env;
        withJobFive(env);
        env.clock.set(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)));
        auto s = open(env);
        control<QPlainTextEdit>(s, "txtNotes")->setFocus();
        QTest::keyClick(control<QPlainTextEdit>(s, "txtNotes"), Qt::Key_F2);
        QCOMPARE(textOf(s, "txtNotes"), QString("06/12/2026, 09:05:07 :"));
        s->LoadJob(99);  // no job: the client notes still take a stamp, the notes do not
        control<QPlainTextEdit>(s, "txtNotes")->clear();
        QTest::keyClick(control<QPlainTextEdit>(s, "txtNotes"), Qt::Key_F2);
        QCOMPARE(textOf(s, "txtNotes"), QString());
        QTest::keyClick(control<QPlainTextEdit>(s, "txtCliNotes"), Qt::Key_F2);
        QVERIFY(control<QPlainTextEdit>(s, "txtCliNotes")
                    ->toPlainText()
                    .endsWith("06/12/2026, 09:05:07 :"));

        s->LoadJob(5);
        control<QLineEdit>(s, "txtDateReceived")->setFocus();
        typeInto(s, "txtDateReceived", "010210");
        control<QLineEdit>(s, "txtCustRef")->setFocus();
        QCOMPARE(textOf(s, "txtDateReceived"), QString("01/02/2010"));
        QCOMPARE(control<QLineEdit>(s, "txtCustRef")->palette().color(QPalette::Base),
                 QColor(0xC0, 0xC0, 0xFF));
        QCOMPARE(control<QLineEdit>(s, "txtDateReceived")->palette().color(QPalette::Base),
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
        auto s = open(env);
        QCOMPARE(textOf(s, "txtQuoteDate"), QString("01/03/31"));
        control<QLineEdit>(s, "txtDateDue")->setFocus();
        control<QLineEdit>(s, "txtDateDue")->selectAll();
        typeInto(s, "txtDateDue", "15/06/2030");
        control<QLineEdit>(s, "txtQuoteDate")
            ->setFocus();  // passing through a loaded date changes nothing
        control<QLineEdit>(s, "txtCustRef")->setFocus();
        QCOMPARE(textOf(s, "txtDateDue"), QString("15/06/30"));
        typeInto(s, "txtCustRef", "R1");
        QVERIFY(s->cmdSave_Click());
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
        auto s = open(withJobFive(env));
        env.app().ManualNumbering = true;
        press(s, "cmdNewJob");
        typeInto(s, "txtCustName", "Ann Lee");
        env.prompter.type("5");
        env.prompter.cancelInput();
        QVERIFY(!s->cmdSave_Click());
        QCOMPARE(env.prompter.calls()[1].prompt,
                 QString("The number 5 is already used by job 5 (Mrs O'Brien, Harbour "
                         "Estates).\r\nPlease enter another number."));
        QCOMPARE(env.prompter.calls()[1].title, QString("Job Number In Use"));
        QCOMPARE(env.prompter.count(), 3);  // asked again, then cancelled
        QCOMPARE(jobs(env), 1);
        QCOMPARE(env.app()
                     .DbConnection.scalar("SELECT count(*) FROM customers WHERE Name = 'Ann Lee'")
                     .toInt(),
                 0);
        QCOMPARE(textOf(s, "txtCustName"), QString("Ann Lee"));
        QVERIFY(onView(s, "cmdSave") && s->changesPending());

        env.prompter.type("6");
        QVERIFY(s->cmdSave_Click());
        QCOMPARE(textOf(s, "labJobNumber_0"), QString("6"));
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
        auto s = open(env);
        press(s, "cmdFindClient_0");
        QVERIFY(onView(s, "panFindClient"));
        typeInto(s, "txtFindClient", "sm");
        QTest::keyClick(control<QLineEdit>(s, "txtFindClient"), Qt::Key_Return);
        QCOMPARE(textOf(s, "labClientCount"), QString("Found 2 matching customers"));
        typeInto(s, "txtFindClient", "%");
        press(s, "cmdSearchClient");
        QCOMPARE(textOf(s, "labClientCount"), QString("Found 0 matching customers"));
        control<QLineEdit>(s, "txtFindClient")->setText("50%");
        press(s, "cmdSearchClient");
        QCOMPARE(textOf(s, "labClientCount"), QString("Found 1 matching customers"));
        s->fgFindClient_DblClick();
        QCOMPARE(textOf(s, "txtCustName"), QString("50% Off Ltd"));
        QCOMPARE(textOf(s, "txtHomeAddress"), QString("Addr"));
        QVERIFY(!onView(s, "panFindClient"));
        QVERIFY(onView(s, "cmdSave"));

        // Closed while a typed search waits: the list it was for stays as it was.
        press(s, "cmdFindClient_0");
        const QString before = textOf(s, "labClientCount");
        typeInto(s, "txtFindClient", "sm");
        press(s, "cmdCloseClient");
        QTest::qWait(TypingSearch::kPauseMs * 4);
        QCOMPARE(textOf(s, "labClientCount"), before);

        s->LoadJob(99);
        press(s, "cmdFindClient_1");
        control<QPushButton>(s, "cmdSearchClient")->click();  // clients: the one job five added
        QCOMPARE(textOf(s, "labClientCount"), QString("Found 1 matching clients"));
        s->fgFindClient_DblClick();
        QCOMPARE(textOf(s, "txtCliName"), QString("Harbour Estates"));
        QCOMPARE(env.prompter.last().title, QString("No Job Loaded"));
    }

    // Every name and address of a register reads whole in the lookup at the screen's size.
    void theLookupShowsNamesAndAddressesWhole() {
        TestEnv env;
        withJobFive(env);
        testregister::addCustomers(env.app().DbConnection, 300);
        auto s = open(env);
        press(s, "cmdFindClient_0");
        press(s, "cmdSearchClient");
        auto* grid = control<QTableView>(s, "fgFindClient");
        QCOMPARE(textOf(s, "labClientCount"), QString("Found 301 matching customers"));
        QCOMPARE(cutCells(grid, {0, 1}), QStringList());
    }

    void aChosenContactLeavesTheFocusOnItsOwnTab_data() {
        QTest::addColumn<QString>("finder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("tab");
        // The customer has no numbers; the client (saved with job five) has only a name.
        QTest::newRow("customer") << QString("cmdFindClient_0") << QString("Smith")
                                  << QString("txtCustContactNos") << 0;
        QTest::newRow("client") << QString("cmdFindClient_1") << QString("Harbour")
                                << QString("txtCliAddress") << 1;
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
        auto s = open(env);
        auto* tabs = control<QTabWidget>(s, "tabJobs");
        tabs->setCurrentIndex(tab);
        QTest::mouseClick(control<QPushButton>(s, finder), Qt::LeftButton);
        QTest::keyClicks(control(s, "txtFindClient"), name);
        QTest::keyClick(control(s, "txtFindClient"), Qt::Key_Return);
        auto* grid = control<QTableView>(s, "fgFindClient");
        const QPoint row = grid->visualRect(grid->model()->index(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(focused(), focus);
        QCOMPARE(tabs->currentIndex(), tab);
        QVERIFY(control(s, focus)->isVisible());
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
        auto s = open(env);
        for (const char* name : {"txtDateCreated", "txtDateReceived", "txtDateDue", "txtQuoteDate",
                                 "txtDateCompleted"}) {
            auto* box = control<QLineEdit>(s, name);
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

    void engineers() {
        TestEnv env;
        withJobFive(env);
        Database& db = env.app().DbConnection;
        for (const char* name : {"Bob", "", "Alice"}) {
            TestEnv::addRow(db, "engineers", {{"Engineer", QString::fromUtf8(name)}});
        }
        env.app().FieldCaptions.set(8, "Engineers");
        auto s = open(env);
        QTest::mouseClick(control<QPushButton>(s, "cmdFindEngineer"), Qt::LeftButton);
        QStringList headings;  // one heading only
        for (QLabel* label : control(s, "panEngineers")->findChildren<QLabel*>()) {
            if (label->isVisible()) {
                headings << label->text();
            }
        }
        QCOMPARE(headings, QStringList({"Introduced By:"}));
        QCOMPARE(control<QListWidget>(s, "lstEngineers")->count(), 2);
        control<QListWidget>(s, "lstEngineers")->setCurrentRow(1);
        s->lstEngineers_RightClick();  // answered No
        QCOMPARE(env.prompter.last().title, QString("Remove Alice"));
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers").toInt(), 3);
        s->lstEngineers_DblClick();
        QCOMPARE(textOf(s, "txtClientRef"), QString("Alice"));
        QVERIFY(!onView(s, "panEngineers"));
        press(s, "cmdFindEngineer");
        control<QListWidget>(s, "lstEngineers")->setCurrentRow(0);
        env.prompter.answer(Prompter::Answer::Yes);
        s->lstEngineers_RightClick();
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers WHERE Engineer = 'Bob'").toInt(), 0);
    }

    void renamingACaption() {
        TestEnv env;
        withJobFive(env);
        {
            auto s = open(env);
            QTest::mouseDClick(control<QLabel>(s, "Label1_0"), Qt::LeftButton);
            QVERIFY(onView(s, "panLabels"));
            QCOMPARE(textOf(s, "txtLabel"), QString("Surveyed:"));
            control<QLineEdit>(s, "txtLabel")->setText("  Inspected: ");
            QTest::keyClick(control<QLineEdit>(s, "txtLabel"), Qt::Key_Return);
            QVERIFY(!onView(s, "panLabels"));
            QCOMPARE(textOf(s, "Label1_0"), QString("Inspected:"));
            QCOMPARE(env.app().FieldCaptions[0], QString("Inspected:"));  // shared at once

            QTest::mouseDClick(control<QLabel>(s, "Label1_5"), Qt::LeftButton);
            control<QLineEdit>(s, "txtLabel")->setText("Deadline");
            press(s, "cmdCloseLabels");
            QCOMPARE(textOf(s, "Label1_5"), QString("Due:"));
        }
        auto reopened = open(env);
        QCOMPARE(control<QLabel>(reopened, "Label1_0")->text(), QString("Inspected:"));
        QCOMPARE(env.app().FieldCaptions[0], QString("Inspected:"));
    }

    void searchingLoadsTheChosenJob() {
        TestEnv env;
        withJobFive(env);
        JobFields other;
        other.WorkName = "Mr Smith";
        testjobs::save(env.app(), other, 0, 9);
        auto s = open(env);
        s->LoadJob(99);
        control<QLineEdit>(s, "txtSearch")->setText("smith");
        QTimer::singleShot(0, [] {
            auto* search = qobject_cast<frmSearchJobs*>(QApplication::activeModalWidget());
            QVERIFY(search);
            QCOMPARE(textOf(search, "txtSearch"), QString("smith"));
            press(search, "cmdSearch");
            control<QTableView>(search, "fgSearch")->selectRow(0);
            press(search, "cmdLoadJob");
        });
        QTest::keyClick(control<QLineEdit>(s, "txtSearch"), Qt::Key_Return);
        QCOMPARE(textOf(s, "labJobNumber_0"), QString("9"));
        QVERIFY(s->jobLoaded());
    }
};

QTEST_MAIN(tst_jobscreen)
#include "tst_jobscreen.moc"
