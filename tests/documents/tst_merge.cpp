#include "documents/MergeEngine.h"
#include "documents/TextRoutines.h"
#include "documents/Workbook.h"
#include "documents/WordDocument.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Making a job's documents: every token's value, the found rule across document parts, the
// long-text rule, spreadsheets, printing, and the failures a user can meet.
class tst_merge : public QObject {
    Q_OBJECT

    static QString notes() {
        QString text;
        for (int i = 0; text.size() < 600; ++i) {
            text += QStringLiteral("%1 ").arg(i, 3, 10, QLatin1Char('0'));
        }
        return text.left(600);
    }

    static JobFields sampleJob() {
        JobFields f;
        f.JobNo = "1042";
        f.JobStatus = "Quoted";
        f.IntroducedBy = "Estate Agent";
        f.ClientRef = "Dave O'Neill";
        f.WorkName = "Ann Lee";
        f.HomeAddress = "14 Larkspur Close\nLeeds\nLS6 2QT";
        f.HomeNumbers = "0113 496 0421\n07700 900123";
        f.WorkDetails = "Replace valve\nTest pressure";
        f.WorkNotes = notes();
        f.DateCreated = "12/03/2026";
        f.DateReceived = "13/03/2026";
        f.DateDue = "20/03/2026";
        f.DateQuoted = "15/03/2026";
        f.DateCompleted = "12/03/2027";
        f.CustRef = "HE/1";
        f.Unused = {"u1", "u2", "u3", "u4", "u5", "u6", "u7"};
        f.CliName = "Harbour Estates";
        f.CliAddress = "2 The Quay\n\nLS1 4BT";
        f.CliNumbers = "0113 496 0001\n07700 900002";
        return f;
    }

    // A data folder whose templates folder holds the merge fixtures.
    static void prepare(TestEnv& env) {
        env.openNewDatabase();
        const QString templates = env.dataFolder() + "/Templates";
        QDir().mkpath(templates);
        for (const char* name : {"every-token.dotx", "every-token.xltx"}) {
            QFile::copy(QStringLiteral(VERDELL_TEST_DATA "/merge/") + name, templates + "/" + name);
        }
        env.app().AppSettings.SetValue("DocPath", env.dataFolder() + "/Docs");
        env.app().TemplateFolder = templates;
    }

    static QStringList paragraphs(const QString& file, WordDocument::StoryType type) {
        WordDocument doc;
        if (!doc.open(file)) {
            return {};
        }
        for (int i = 0; i < doc.storyCount(); ++i) {
            if (doc.storyType(i) == type) {
                return doc.storyText(i).split('\n');
            }
        }
        return {};
    }

private Q_SLOTS:
    void splitIntoChunks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("empty") << QString() << QList<int>{};
        QTest::newRow("short") << QString(10, 'a') << QList<int>{10};
        QTest::newRow("600 characters") << QString(600, 'a') << QList<int>{255, 255, 100};
        QTest::newRow("exactly two pieces") << QString(500, 'a') << QList<int>{255, 250};
        // The count comes from the length with the carriage returns, so a piece may be empty.
        QTest::newRow("carriage returns") << QString(250, 'a') + QString(10, '\r')
                                          << QList<int>{255, 0};
    }
    void splitIntoChunks() {
        QFETCH(QString, text);
        QFETCH(QList<int>, sizes);
        const QStringList pieces = SplitIntoChunks(text, 250);
        QList<int> actual;
        for (const QString& piece : pieces) {
            actual << int(piece.size());
        }
        QCOMPARE(actual, sizes);
        QString rebuilt = pieces.join(QString());
        QCOMPARE(rebuilt.remove(ChunkMarker), StripCarriageReturns(text));
    }

    void textRoutines() {
        QCOMPARE(GetFileExtension("Job Sheet.dotx"), QString("dotx"));
        QCOMPARE(GetFileExtension("noextension"), QString());
        QCOMPARE(FirstLine("one\r\ntwo"), QString("one"));
        QCOMPARE(FirstLine("one"), QString("one"));
        QCOMPARE(withCrLf("a\nb\r\nc\rd"), QString("a\r\nb\r\nc\r\nd"));
        QCOMPARE(ReplaceChar("a\nb", '\n', ", "), QString("a, b"));
        QCOMPARE(MinOf(3, 2), 2);
    }

    void everyTokenOfAWordTemplate() {
        TestEnv env;
        prepare(env);
        const JobFields job = sampleJob();
        const QString path = CreateDocument(env.app(), "507.doc", "every-token.dotx", job);
        QCOMPARE(path, env.dataFolder() + "/Docs/507.doc");
        QCOMPARE(env.prompter.count(), 0);
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].action, QString("open"));

        const QStringList main = paragraphs(path, WordDocument::StoryType::MainText);
        const QStringList expected = {
            "SPLIT=1042",
            "ADDRESS=2 The Quay", "", "LS1 4BT",
            "SITEADDRESS=14 Larkspur Close", "Leeds", "LS6 2QT",
            "CLIENTADDRESS=2 The Quay", "", "LS1 4BT",
            "HSITEADDRESS=14 Larkspur Close, Leeds, LS6 2QT",
            "HCLIENTADDRESS=2 The Quay, , LS1 4BT",
            "CLIENTTEL=0113 496 0001",
            "CUSTTEL=0113 496 0421",
            "INTROBY=Dave O'Neill",
            "HCLIENTTEL=0113 496 0001, 07700 900002",
            "HCUSTTEL=0113 496 0421, 07700 900123",
            "JOBNO=1042", "ENGINEER=Estate Agent", "CLIENTNAME=Harbour Estates",
            "CUSTNAME=Ann Lee", "DATE=12/03/2026", "DUEDATE=20/03/2026", "DATEDUE=20/03/2026",
            "DATERECEIVED=13/03/2026", "DATECREATED=12/03/2026", "DATEQUOTED=15/03/2026",
            "JOBDETAILS=Replace valve", "Test pressure",
            "COMMENTS=" + notes(),
            "FREE1=u1", "FREE2=u2", "FREE3=u3", "FREE4=u4", "FREE5=u5", "FREE6=u6", "FREE7=u7",
            "TELEPHONE=0113 496 0421", "DATEANNUAL=12/03/2027", "STATUS=Quoted"};
        QCOMPARE(main, expected);
        // [JOBNO] was replaced in the main text, so the header keeps it; [CUSTREF] first turned
        // up in the header.
        QCOMPARE(paragraphs(path, WordDocument::StoryType::Header),
                 QStringList({"HEADER JOBNO=[JOBNO] CUSTREF=HE/1"}));
    }

    void aPreProcessedTemplateMergesOnlyItsTokens() {
        TestEnv env;
        prepare(env);
        env.app().DbConnection.exec(
            "INSERT INTO TemplateFields (Id, FieldName) VALUES ('every-token.dotx', '[JOBNO]')");
        const QString path = CreateDocument(env.app(), "1.doc", "every-token.dotx", sampleJob());
        const QStringList main = paragraphs(path, WordDocument::StoryType::MainText);
        QVERIFY(main.contains("JOBNO=1042"));
        QVERIFY(main.contains("ADDRESS=[ADDRESS]"));
        QVERIFY(main.contains("JOBDETAILS=Replace valve"));  // always merged
    }

    void spreadsheetTokens() {
        TestEnv env;
        prepare(env);
        const QString path = CreateDocument(env.app(), "507.XLSX", "every-token.xltx", sampleJob());
        QCOMPARE(path, env.dataFolder() + "/Docs/507.XLSX");
        Workbook book;
        QVERIFY(book.open(path));
        const QList<std::pair<const char*, QString>> cells = {
            {"B1", "507"},
            {"B2", "14/03/2026"},
            {"B3", "12/03/2026"},
            {"B4", "1042"},
            {"B5", "Estate Agent"},
            {"B6", "Replace valve\nTest pressure"},
            {"B7", "u1"},
            {"B13", "u7"},
            {"B14", "HE/1"},
            {"B15", "Dear Ann Lee, thank you"},
            {"B16", "Printed on 14/03/2026"},
            {"B17", "1042"},
            // Addresses run down from the token's cell; an empty line takes no row.
            {"D1", "2 The Quay"},
            {"D2", "LS1 4BT"},
            {"D3", ""},
            {"F1", "14 Larkspur Close"},
            {"F3", "LS6 2QT"},
            {"H1", "2 The Quay"},
        };
        for (const auto& [cell, text] : cells) {
            QCOMPARE(book.cellText(cell), text);
        }
    }

    void justPrintPrintsInsteadOfShowing() {
        TestEnv env;
        prepare(env);
        env.app().JustPrint = true;
        const QString path = CreateDocument(env.app(), "9.doc", "every-token.dotx", sampleJob());
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].action, QString("print"));
        QCOMPARE(env.launcher.requests[0].target, path);
    }

    void failuresAreReportedAndLeaveNoDocument_data() {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("docPath");
        QTest::addColumn<QString>("message");
        QTest::newRow("template gone") << "vanished.dotx" << "" << "CreateDocument \r\n53\r\n";
        QTest::newRow("not a template") << "junk.dotx" << "" << "CreateDocument \r\n321\r\n";
        QTest::newRow("documents folder cannot be made") << "every-token.dotx" << "file"
                                                         << "CreateDocument \r\n75\r\n";
        QTest::newRow("old template without an office suite")
            << "old.dot" << "" << "MS Word has been detected";
    }
    void failuresAreReportedAndLeaveNoDocument() {
        QFETCH(QString, templateName);
        QFETCH(QString, docPath);
        QFETCH(QString, message);
        TestEnv env;
        prepare(env);
        TestEnv::writeFile(env.app().TemplateFolder + "/junk.dotx", "not a zip at all");
        TestEnv::writeFile(env.app().TemplateFolder + "/old.dot", "old binary template");
        if (docPath == "file") {
            TestEnv::writeFile(env.root() + "/afile", "x");
            env.app().AppSettings.SetValue("DocPath", env.root() + "/afile/Docs");
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");  // no office suite to convert old templates
        const QString made = CreateDocument(env.app(), "3.doc", templateName, sampleJob());
        qputenv("PATH", path);
        QCOMPARE(made, QString());
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY2(env.prompter.last().prompt.startsWith(message), qPrintable(env.prompter.last().prompt));
        QVERIFY(!QFile::exists(env.dataFolder() + "/Docs/3.doc"));
        QVERIFY(env.launcher.requests.isEmpty());
    }
};

QTEST_MAIN(tst_merge)
#include "tst_merge.moc"
