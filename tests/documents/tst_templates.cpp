#include "documents/TemplateTools.h"
#include "documents/TemplatesTab.h"
#include "support/ScreenControls.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

// The templates tab: listing, the default and estimate templates, pre-processing, the options.
class tst_templates : public QObject {
    Q_OBJECT

    static QString prepare(TestEnv& env) {
        env.openNewDatabase();
        const QString folder = templatefiles::install(env);
        TestEnv::writeFile(folder + "/~$ery-token.dotx", "lock file");
        TestEnv::writeFile(folder + "/notes.txt", "not a template");
        return folder;
    }

    static QStringList rows(Database& db, const QString& sql) {
        QStringList out;
        if (const auto r = db.query(sql)) {
            for (int i = 0; i < r->count(); ++i) {
                out << r->at(i, 0).toString();
            }
        }
        return out;
    }

private Q_SLOTS:
    // Listed when asked, without lock files ("~...") and other files, the first one chosen
    // (the order is the job screen's list's, tested there); the chosen one is edited, made the
    // estimate template or the one default template.
    void listedThenEditedAndMadeTheDefault() {
        TestEnv env;
        const QString folder = prepare(env);
        Database& db = env.app().DbConnection;
        TemplatesTab tab(env.app());
        auto* list = control<QComboBox>(&tab, "comDocType");
        QCOMPARE(list->count(), 0);
        QTest::mouseClick(control<QPushButton>(&tab, "cmdPopLetters"), Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0) + "," + list->itemText(1),
                 QString("every-token.dotx,every-token.xltx"));
        QCOMPARE(list->currentIndex(), 0);

        control<QPushButton>(&tab, "cmdEditJobSheet")->click();
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].action, QString("editTemplate"));
        QCOMPARE(env.launcher.requests[0].target, folder + "/every-token.dotx");
        control<QPushButton>(&tab, "cmdValidateMSWord")->click();
        QCOMPARE(env.launcher.requests.last().action, QString("open"));
        QVERIFY(env.launcher.requests.last().target.endsWith("every-token.docx"));
        control<QPushButton>(&tab, "cmdSetEstimateTemplate")->click();
        QCOMPARE(env.setting("EstimateDoc"), QString("every-token.dotx"));

        control<QPushButton>(&tab, "cmdSetDefault")->click();
        QCOMPARE(env.prompter.last().title, QString("Default Template is every-token.dotx"));
        list->setCurrentIndex(1);
        control<QPushButton>(&tab, "cmdSetDefault")->click();
        control<QPushButton>(&tab, "cmdSetDefault")->click();
        QCOMPARE(rows(db, "SELECT FileName FROM Templates WHERE PrimaryDoc <> 0"),
                 QStringList({"every-token.xltx"}));
        QCOMPARE(rows(db, "SELECT count(*) FROM Templates WHERE FileName = 'every-token.xltx'"),
                 QStringList({"1"}));
    }

    void validatingABrokenTemplate() {
        TestEnv env;
        const QString folder = prepare(env);
        TestEnv::writeFile(folder + "/broken.dotx", "not a zip at all");
        TemplatesTab tab(env.app());
        QTest::mouseClick(control<QPushButton>(&tab, "cmdPopLetters"), Qt::LeftButton);
        auto* list = control<QComboBox>(&tab, "comDocType");
        list->setCurrentIndex(list->findText("broken.dotx"));
        QTest::mouseClick(control<QPushButton>(&tab, "cmdValidateMSWord"), Qt::LeftButton);
        QCOMPARE(env.prompter.count(), 2);
        const auto first = env.prompter.calls()[0];
        QCOMPARE(first.title, QString("Word Installation Is Corrupt"));
        QVERIFY2(first.prompt.startsWith("Error 321\r\n"), qPrintable(first.prompt));
        QVERIFY(first.prompt.contains("broken.dotx"));
        QVERIFY(first.prompt.endsWith("\r\nPLEASE CHECK WITH MS FOR WORD UPDATES"));
        QCOMPARE(first.icon, Prompter::Icon::Information);
        QCOMPARE(env.prompter.last().title, QString("Ignoring Error"));
        QCOMPARE(env.prompter.last().prompt, QString("The program will attempt to continue"));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Information);
        QVERIFY(env.launcher.requests.isEmpty());

        // Pre-processing the same template names its own routine.
        QTest::mouseClick(control<QPushButton>(&tab, "cmdPreProcess"), Qt::LeftButton);
        QVERIFY(env.prompter.last().prompt.startsWith("PreProcessTemplate \r\n321\r\n"));
    }

    void nothingChosen_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("edit") << "cmdEditJobSheet" << "Please click 'Get Available Templates' first";
        QTest::newRow("default") << "cmdSetDefault" << "Please click 'Get Available Templates' first";
        QTest::newRow("pre-process") << "cmdPreProcess"
                                     << "You first need to select an available template";
        QTest::newRow("estimate") << "cmdSetEstimateTemplate"
                                  << "Please click 'Get Available Templates' first";
    }
    void nothingChosen() {
        QFETCH(QString, button);
        QFETCH(QString, prompt);
        TestEnv env;
        prepare(env);
        TemplatesTab tab(env.app());
        control<QPushButton>(&tab, button)->click();
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY(env.prompter.last().prompt.startsWith(prompt));
        QCOMPARE(env.prompter.last().title, QString("No Template Selected"));
        QVERIFY(env.launcher.requests.isEmpty());
    }

    void preProcessingOnceAndTheOptions() {
        TestEnv env;
        const QString folder = prepare(env);
        Database& db = env.app().DbConnection;
        for (int round = 0; round < 2; ++round) {
            const auto found = PreProcessTemplate(env.app(), folder + "/every-token.dotx");
            QVERIFY(found);
            QCOMPARE(found->size(), 33);  // every token, [CUSTREF] from the header
        }
        QCOMPARE(rows(db, "SELECT count(*) FROM TemplateFields WHERE Id = 'every-token.dotx'"),
                 QStringList({"33"}));
        QCOMPARE(rows(db, "SELECT FieldName FROM TemplateFields ORDER BY DummyId LIMIT 3"),
                 QStringList({"[ADDRESS]", "[SITEADDRESS]", "[CLIENTADDRESS]"}));
        QCOMPARE(env.prompter.last().title, QString("Pre-Process Completed"));

        QVERIFY(!PreProcessTemplate(env.app(), folder + "/every-token.xltx"));
        QCOMPARE(env.prompter.last().prompt, QString("Only MS Word Templates need Pre-Processing"));
        QCOMPARE(rows(db, "SELECT count(*) FROM TemplateFields WHERE Id = 'every-token.xltx'"),
                 QStringList({"0"}));

        // The print options are stored as soon as they are ticked.
        db.exec("UPDATE Counters SET Free3 = 129");  // bit 0 and a bit no option uses
        env.app().ForceDateValidation = true;
        TemplatesTab tab(env.app());
        control<QCheckBox>(&tab, "chkJustPrint")->click();
        QCOMPARE(db.scalar("SELECT Free3 FROM Counters").toInt(), 129 + 32);
        QVERIFY(env.app().JustPrint);
        control<QCheckBox>(&tab, "chkBackgroundPrinting")->click();
        control<QCheckBox>(&tab, "chkJustPrint")->click();
        QCOMPARE(db.scalar("SELECT Free3 FROM Counters").toInt(), 129 + 64);
    }
};

QTEST_MAIN(tst_templates)
#include "tst_templates.moc"
