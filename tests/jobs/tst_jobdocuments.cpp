#include "jobs/frmJobs.h"
#include "support/GridCells.h"
#include "support/JobRecords.h"
#include "support/JobScreen.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// The job screen's Documents tab: creating, naming, listing, opening and removing documents.
class tst_jobdocuments : public QObject {
    Q_OBJECT

    // Job 5 on screen, the merge fixtures as templates, counters at 30 and 507.
    static JobScreen open(TestEnv& env) {
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        db.exec("UPDATE Counters SET FileCounter = 30, Free2 = 507");
        const QString templates = env.dataFolder() + "/Templates";
        QDir().mkpath(templates);
        for (const char* name : {"every-token.dotx", "every-token.xltx"}) {
            QFile::copy(QStringLiteral(VERDELL_TEST_DATA "/merge/") + name, templates + "/" + name);
        }
        TestEnv::writeFile(templates + "/~lock.dotx", "x");
        env.app().TemplateFolder = templates;
        env.app().AppSettings.SetValue("DocPath", env.dataFolder() + "/Docs");
        JobFields job;
        job.WorkName = "Ann Lee";
        testjobs::save(env.app(), job, 0, 5);
        env.app().AppSettings.SetValue("LastJob", "5");
        return openJobScreen(env);
    }

    static void click(QWidget* screen, const QString& button) {
        QTest::mouseClick(control<QPushButton>(screen, button), Qt::LeftButton);
    }

    // Picks a template of the New Document panel by keyboard, as listed.
    static void chooseTemplate(QWidget* screen, int index) {
        auto* list = control<QComboBox>(screen, "comDocType");
        list->setFocus();
        while (list->currentIndex() < index) {
            QTest::keyClick(list, Qt::Key_Down);
        }
    }

    static QStringList listed(const QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            out << list->itemText(i);
        }
        return out;
    }

    static QVariantList document(TestEnv& env) {
        const auto rows = env.app().DbConnection.query(
            "SELECT JobNumber, FileName, Title, AddressType, DocType FROM Docs ORDER BY DummyId "
            "DESC LIMIT 1");
        if (!rows || rows->isEmpty()) {
            return {};
        }
        QVariantList out;
        for (int c = 0; c < 5; ++c) {
            out << rows->at(0, c).toString();
        }
        return out;
    }

private Q_SLOTS:
    void creatingDocuments_data() {
        QTest::addColumn<int>("templateIndex");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariantList>("row");
        QTest::newRow("word processor, typed title")
            << 0 << "Survey letter"
            << QVariantList{"5", "30.doc", "Survey letter, every-token.dotx", "", ""};
        QTest::newRow("word processor, no title")
            << 0 << "" << QVariantList{"5", "30.doc", "every-token.dotx", "", ""};
        QTest::newRow("spreadsheet")
            << 1 << "Whatever" << QVariantList{"5", "507.XLSX", "Invoice 507.XLSX", "", ""};
    }
    void creatingDocuments() {
        QFETCH(int, templateIndex);
        QFETCH(QString, typed);
        QFETCH(QVariantList, row);
        TestEnv env;
        auto screen = open(env);
        control<QPushButton>(screen, "cmdNewDoc")->click();
        QVERIFY(control<QWidget>(screen, "panDocs")->isVisible());
        QVERIFY(!control<QWidget>(screen, "fraJobControlPanel")->isEnabled());
        control<QComboBox>(screen, "comDocType")->setCurrentIndex(templateIndex);
        control<QLineEdit>(screen, "txtDocTitle")->setText(typed);
        control<QPushButton>(screen, "cmdSaveDoc")->click();
        QCOMPARE(document(env), row);
        QVERIFY(!control<QWidget>(screen, "panDocs")->isVisible());
        QVERIFY(control<QWidget>(screen, "fraJobControlPanel")->isEnabled());
        if (typed.isEmpty()) {
            QCOMPARE(control<QLineEdit>(screen, "txtDocTitle")->text(),
                     QString("every-token.dotx"));
        }
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->rowCount(), 1);
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->index(0, 1).data().toString(),
                 row[2].toString());
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/" + row[1].toString()));
        QCOMPARE(env.prompter.count(), 0);
    }

    void noDocumentWithoutAJob() {
        TestEnv env;
        auto screen = open(env);
        screen->LoadJob(99);
        control<QPushButton>(screen, "cmdNewDoc")->click();
        control<QComboBox>(screen, "comDocType")->setCurrentIndex(0);
        screen->cmdSaveDoc_Click();
        control<QPushButton>(screen, "cmdNewJob")
            ->click();  // a new job has no number until it is saved
        screen->cmdSaveDoc_Click();
        QCOMPARE(env.prompter.count(), 3);
        for (const auto& call : env.prompter.calls()) {
            QCOMPARE(call.prompt,
                     QString("You have to load or create a job before assigning a document to "
                             "it!"));
            QCOMPARE(call.title, QString("No Job Loaded!"));
        }
        QCOMPARE(document(env), QVariantList());
        QVERIFY(!control<QWidget>(screen, "panDocs")->isVisible());
    }

    void printingTheJobSheet() {
        TestEnv env;
        auto screen = open(env);
        env.app().DbConnection.exec("DELETE FROM Templates");  // a new database names one
        control<QPushButton>(screen, "cmdPrintJobSheet")->click();
        QCOMPARE(env.prompter.last().title, QString("No Default Template Specified"));
        QCOMPARE(document(env), QVariantList());
        env.app().DbConnection.exec(
            "INSERT INTO Templates (FileName, PrimaryDoc) VALUES ('every-token.dotx', 1)");
        control<QPushButton>(screen, "cmdPrintJobSheet")->click();
        QCOMPARE(document(env)[1].toString(), QString("30.doc"));
        QCOMPARE(env.launcher.requests.last().action, QString("open"));
    }

    void templatesListedByKindThenNameAndNoneChosen() {
        TestEnv env;
        auto screen = open(env);
        const QString folder = env.app().TemplateFolder;
        for (const char* name : {"zebra.xltx", "Letter.dot", "beta.dotx", "Alpha.xlt", "gamma.DOTX",
                                 "~$lpha.dotx", "apple.dot", "Quote.xltx"}) {
            TestEnv::writeFile(folder + "/" + name, "x");
        }
        QFile::remove(folder + "/every-token.xltx");
        QFile::remove(folder + "/every-token.dotx");
        auto reopened = openJobScreen(env);
        auto* list = control<QComboBox>(reopened, "comDocType");
        QCOMPARE(listed(list), QStringList({"apple.dot", "beta.dotx", "gamma.DOTX", "Letter.dot",
                                            "Alpha.xlt", "Quote.xltx", "zebra.xltx"}));
        click(reopened, "cmdNewDoc");
        QCOMPARE(list->currentIndex(), -1);
        chooseTemplate(reopened, 4);
        QCOMPARE(control<QLabel>(reopened, "labDocType")->text(), QString("Excel"));
        click(reopened, "cmdCancelDocs");
        click(reopened, "cmdNewDoc");
        QCOMPARE(list->currentIndex(), -1);
        click(reopened, "cmdSaveDoc");
        QCOMPARE(env.prompter.last().prompt,
                 QString("You must select a document type before pressing Create"));
        QCOMPARE(document(env), QVariantList());
    }

    void aDocumentThatCannotBeShownIsReported_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("justPrint");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        const QString word =
            "MS Word has been detected, however the may be a problem with the "
            "installation\r\nPlease check your Word installation is not corrupt"
            "\r\nIf this error continues please re-install MS Word";
        const QString excel =
            "Unable to communicate with MS Excel, please check your Excel "
            "Installation is not corrupt";
        QTest::newRow("print job sheet, just print")
            << "cmdPrintJobSheet" << true << "Unable To Communicate With MS Word" << word;
        QTest::newRow("create, shown")
            << "word" << false << "Unable To Communicate With MS Word" << word;
        QTest::newRow("create, just print")
            << "word" << true << "Unable To Communicate With MS Word" << word;
        QTest::newRow("spreadsheet")
            << "spreadsheet" << false << "Unable To Communicate With Excel" << excel;
    }
    void aDocumentThatCannotBeShownIsReported() {
        QFETCH(QString, how);
        QFETCH(bool, justPrint);
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        TestEnv env;
        auto screen = open(env);
        env.app().DbConnection.exec("UPDATE Templates SET FileName = 'every-token.dotx'");
        env.app().JustPrint = justPrint;
        env.launcher.succeed = false;  // no program takes the document
        if (how == "cmdPrintJobSheet") {
            click(screen, how);
        } else {
            click(screen, "cmdNewDoc");
            chooseTemplate(screen, how == "word" ? 0 : 1);
            click(screen, "cmdSaveDoc");
        }
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().prompt, prompt);
        QCOMPARE(env.prompter.last().title, title);
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Critical);
        // The document and its row stay, for Edit Document later.
        const QString file = document(env).value(1).toString();
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/" + file));
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->rowCount(), 1);
    }

    void theFirstDocumentIsCurrentOnceLoaded() {
        TestEnv env;
        auto screen = open(env);
        Database& db = env.app().DbConnection;
        for (const char* row : {"(5, '2.doc', 'Second', '2026-03-14 10:00:00')",
                                "(5, '1.doc', 'First', '2026-03-13 09:05:07')"}) {
            db.exec(QString("INSERT INTO Docs (JobNumber, FileName, Title, \"Date\") VALUES ") +
                    row);
        }
        TestEnv::writeFile(env.dataFolder() + "/Docs/1.doc", "x");
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        screen->LoadJob(5);
        control<QTabWidget>(screen, "tabJobs")->setCurrentIndex(2);
        click(screen, "cmdEditDoc");
        QCOMPARE(env.prompter.count(), 0);
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].target, env.dataFolder() + "/Docs/1.doc");

        // The whole date and time shows in its column.
        auto* grid = control<QTableView>(screen, "fgDocs");
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("13/03/2026, 09:05:07"));
        QCOMPARE(cutCells(grid, {0, 1}), QStringList());

        // A job without documents: Edit says what is missing.
        JobFields other;
        testjobs::save(env.app(), other, 0, 6);
        screen->LoadJob(6);
        click(screen, "cmdEditDoc");
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().prompt, QString("You must select a document first"));
        click(screen, "cmdDeleteDoc");
        QCOMPARE(env.prompter.count(), 1);
    }

    void openingAndRemoving() {
        TestEnv env;
        auto screen = open(env);
        control<QPushButton>(screen, "cmdNewDoc")->click();
        chooseTemplate(screen, 0);
        control<QPushButton>(screen, "cmdSaveDoc")->click();
        control<QTableView>(screen, "fgDocs")->selectRow(0);
        control<QPushButton>(screen, "cmdDeleteDoc")->click();  // answered Cancel
        QCOMPARE(env.prompter.last().prompt,
                 QString("Are you sure you want to remove this document?"));
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->rowCount(), 1);
        env.prompter.answer(Prompter::Answer::Yes);
        control<QPushButton>(screen, "cmdDeleteDoc")->click();
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->rowCount(), 0);
        QCOMPARE(document(env), QVariantList());
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/30.doc"));  // the file stays

        env.app().DbConnection.exec(
            "INSERT INTO Docs (JobNumber, FileName, Title) VALUES (5, 'gone.doc', 'Gone')");
        screen->LoadJob(5);
        control<QTableView>(screen, "fgDocs")->selectRow(0);
        control<QPushButton>(screen, "cmdEditDoc")->click();
        QCOMPARE(env.prompter.last().title, QString("Document Not Found"));
    }
};

QTEST_MAIN(tst_jobdocuments)
#include "tst_jobdocuments.moc"
