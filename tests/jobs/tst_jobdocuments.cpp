#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The job screen's Documents tab: creating, naming, listing, opening and removing documents.
class tst_jobdocuments : public QObject {
    Q_OBJECT

    // Job 5 on screen, the merge fixtures as templates, counters at 30 and 507.
    static std::unique_ptr<frmJobs> open(TestEnv& env) {
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
        writeJob(env.app(), job, 0, 5);
        env.app().AppSettings.SetValue("LastJob", "5");
        auto screen = std::make_unique<frmJobs>(env.app());
        screen->Form_Load();
        screen->show();
        return screen;
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
    void templateListLeavesOutLockFiles() {
        TestEnv env;
        auto screen = open(env);
        QCOMPARE(screen->comDocType->count(), 2);
        QCOMPARE(screen->comDocType->itemText(0), QString("every-token.dotx"));
        screen->comDocType->setCurrentIndex(1);
        screen->comDocType_Click();
        QCOMPARE(screen->labDocType->text(), QString("Excel"));
    }

    void creatingDocuments_data() {
        QTest::addColumn<int>("templateIndex");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariantList>("row");
        QTest::newRow("word processor, typed title")
            << 0 << "Survey letter"
            << QVariantList{"5", "30.doc", "Survey letter, every-token.dotx", "", ""};
        QTest::newRow("word processor, no title")
            << 0 << "" << QVariantList{"5", "30.doc", "every-token.dotx", "", ""};
        QTest::newRow("spreadsheet") << 1 << "Whatever"
                                     << QVariantList{"5", "507.XLSX", "Invoice 507.XLSX", "", ""};
    }
    void creatingDocuments() {
        QFETCH(int, templateIndex);
        QFETCH(QString, typed);
        QFETCH(QVariantList, row);
        TestEnv env;
        auto screen = open(env);
        screen->cmdNewDoc->click();
        QVERIFY(screen->panDocs->isVisible());
        QVERIFY(!screen->fraJobControlPanel->isEnabled());
        screen->comDocType->setCurrentIndex(templateIndex);
        screen->txtDocTitle->setText(typed);
        screen->cmdSaveDoc->click();
        QCOMPARE(document(env), row);
        QVERIFY(!screen->panDocs->isVisible());
        QVERIFY(screen->fraJobControlPanel->isEnabled());
        if (typed.isEmpty()) {
            QCOMPARE(screen->txtDocTitle->text(), QString("every-token.dotx"));
        }
        QCOMPARE(screen->fgDocs->model()->rowCount(), 1);
        QCOMPARE(screen->fgDocs->model()->index(0, 1).data().toString(), row[2].toString());
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/" + row[1].toString()));
        QCOMPARE(env.prompter.count(), 0);
    }

    void noDocumentWithoutAJob() {
        TestEnv env;
        auto screen = open(env);
        screen->LoadJob(99);
        screen->cmdNewDoc->click();
        screen->cmdSaveDoc_Click();
        screen->cmdNewJob->click();  // a new job has no number until it is saved
        screen->cmdSaveDoc_Click();
        QCOMPARE(env.prompter.count(), 3);
        for (const auto& call : env.prompter.calls()) {
            QCOMPARE(call.prompt,
                     QString("You have to load or create a job before assigning a document to "
                             "it!"));
            QCOMPARE(call.title, QString("No Job Loaded!"));
        }
        QCOMPARE(document(env), QVariantList());
        QVERIFY(!screen->panDocs->isVisible());
    }

    void printingTheJobSheet() {
        TestEnv env;
        auto screen = open(env);
        env.app().DbConnection.exec("DELETE FROM Templates");  // a new database names one
        screen->cmdPrintJobSheet->click();
        QCOMPARE(env.prompter.last().title, QString("No Default Template Specified"));
        QCOMPARE(document(env), QVariantList());
        env.app().DbConnection.exec(
            "INSERT INTO Templates (FileName, PrimaryDoc) VALUES ('every-token.dotx', 1)");
        screen->cmdPrintJobSheet->click();
        QCOMPARE(document(env)[1].toString(), QString("30.doc"));
        QCOMPARE(env.launcher.requests.last().action, QString("open"));
    }

    void openingAndRemoving() {
        TestEnv env;
        auto screen = open(env);
        screen->cmdNewDoc->click();
        screen->cmdSaveDoc->click();
        env.launcher.requests.clear();
        screen->fgDocs->selectRow(0);
        screen->cmdEditDoc->click();
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].target, env.dataFolder() + "/Docs/30.doc");

        screen->cmdDeleteDoc->click();  // answered Cancel
        QCOMPARE(env.prompter.last().prompt,
                 QString("Are you sure you want to remove this document?"));
        QCOMPARE(screen->fgDocs->model()->rowCount(), 1);
        env.prompter.answer(Prompter::Answer::Yes);
        screen->cmdDeleteDoc->click();
        QCOMPARE(screen->fgDocs->model()->rowCount(), 0);
        QCOMPARE(document(env), QVariantList());
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/30.doc"));  // the file stays

        env.app().DbConnection.exec(
            "INSERT INTO Docs (JobNumber, FileName, Title) VALUES (5, 'gone.doc', 'Gone')");
        screen->LoadJob(5);
        screen->fgDocs->selectRow(0);
        screen->cmdEditDoc->click();
        QCOMPARE(env.prompter.last().title, QString("Document Not Found"));
    }
};

QTEST_MAIN(tst_jobdocuments)
#include "tst_jobdocuments.moc"
