#include "OfficeTestFiles.h"
#include "documents/MergeEngine.h"
#include "documents/TextRoutines.h"
#include "documents/WordDocument.h"
#include "documents/Workbook.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// Making a job's documents: every token's value, the found rule across document parts, the
// long-text rule, spreadsheets, printing, and the failures a user can meet.
class tst_merge : public QObject {
    Q_OBJECT

    // Notes of 600 characters, one of two code units across the first cut into pieces.
    static QString notes() {
        QString text;
        for (int i = 0; text.size() < 600; ++i) {
            text += QStringLiteral("%1 ").arg(i, 3, 10, QLatin1Char('0'));
        }
        return text.left(249) + QString::fromUtf8("\U0001F600") + text.mid(251, 349);
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
        templatefiles::install(env);
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
        // The carriage returns go before the cutting, so they add no piece.
        QTest::newRow("carriage returns")
            << QString(250, 'a') + QString(10, '\r') << QList<int>{250};
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

    void splitIntoChunksKeepsCharactersWhole_data() {
        QTest::addColumn<QString>("text");
        const std::pair<const char*, const char*> specials[] = {
            {"emoji", "\U0001F600"},
            {"chinese", "\u6F22\u5B57"},
            {"joined emoji", "\U0001F468\u200D\U0001F469"}};
        for (const auto& [name, special] : specials) {
            for (int before : {248, 249, 250, 251, 498, 499, 500}) {
                QTest::addRow("%s after %d", name, before)
                    << QString(before, 'a') + QString::fromUtf8(special) + QString(300, 'b');
            }
        }
    }
    void splitIntoChunksKeepsCharactersWhole() {
        QFETCH(QString, text);
        const QStringList pieces = SplitIntoChunks(text, 250);
        QString rebuilt;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            QString piece = pieces[i];
            QCOMPARE(piece.endsWith(ChunkMarker), i + 1 < pieces.size());
            piece.chop(i + 1 < pieces.size() ? ChunkMarker.size() : 0);
            QVERIFY(!piece.isEmpty() && piece.size() <= 250);
            QVERIFY(!piece.front().isLowSurrogate() && !piece.back().isHighSurrogate());
            rebuilt += piece;
        }
        QCOMPARE(rebuilt, text);
    }

    void everyTokenOfAWordTemplateAndAWorkbook() {
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

        // Every token of a workbook: a number or a date alone in its cell stands there as a value,
        // other text as text; addresses run down from the token's cell, an empty line taking no
        // row.
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        const QString workbook =
            CreateDocument(env.app(), "507.XLSX", "every-token.xltx", sampleJob());
        QCOMPARE(workbook, env.dataFolder() + "/Docs/507.XLSX");
        const QByteArray sheet =
            testfiles::part(testfiles::read(workbook), "xl/worksheets/sheet1.xml");
        auto stored = [&sheet](const char* cell) {
            const QRegularExpression c(
                QStringLiteral("<c r=\"%1\"[^>]*>").arg(QLatin1String(cell)));
            const QString tag = c.match(QString::fromUtf8(sheet)).captured(0);
            return tag.contains(" t=\"") && !tag.contains(" t=\"n\"") ? "text" : "value";
        };
        Workbook book;
        QVERIFY(book.open(workbook));
        const QList<std::tuple<const char*, QString, const char*>> cells = {
            {"B1", "507", "value"},
            {"B2", "14/03/2026", "value"},
            {"B3", "12/03/2026", "value"},
            {"B4", "1042", "value"},
            {"B5", "Estate Agent", "text"},
            {"B6", "Replace valve\nTest pressure", "text"},
            {"B7", "u1", "text"},
            {"B13", "u7", "text"},
            {"B14", "HE/1", "text"},
            {"B15", "Dear Ann Lee, thank you", "text"},
            {"B16", "Printed on 14/03/2026", "text"},
            {"B17", "1042", "value"},
            {"D1", "2 The Quay", "text"},
            {"D2", "LS1 4BT", "text"},
            {"D3", "", ""},
            {"F1", "14 Larkspur Close", "text"},
            {"F3", "LS6 2QT", "text"},
            {"H1", "2 The Quay", "text"},
        };
        for (const auto& [cell, shown, kind] : cells) {
            QCOMPARE(book.cellText(cell), shown);
            if (*kind) {
                QCOMPARE(stored(cell), kind);
            }
        }
    }

    // A pre-processed template merges only its recorded tokens; with Just Print set the
    // document is printed instead of shown.
    void aPreProcessedTemplateMergesOnlyItsTokensAndJustPrints() {
        TestEnv env;
        prepare(env);
        TestEnv::addRow(env.app().DbConnection, "TemplateFields",
                        {{"Id", "every-token.dotx"}, {"FieldName", "[JOBNO]"}});
        env.app().JustPrint = true;
        const QString path = CreateDocument(env.app(), "1.doc", "every-token.dotx", sampleJob());
        const QStringList main = paragraphs(path, WordDocument::StoryType::MainText);
        QVERIFY(main.contains("JOBNO=1042"));
        QVERIFY(main.contains("ADDRESS=[ADDRESS]"));
        QVERIFY(main.contains("JOBDETAILS=Replace valve"));  // always merged
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
        QTest::newRow("workbook naming a part it lacks") << "lacking.xltx"
                                                         << ""
                                                         << "CreateDocument \r\n321\r\n";
    }
    void failuresAreReportedAndLeaveNoDocument() {
        QFETCH(QString, templateName);
        QFETCH(QString, docPath);
        QFETCH(QString, message);
        TestEnv env;
        prepare(env);
        TestEnv::writeFile(env.app().TemplateFolder + "/junk.dotx", "not a zip at all");
        TestEnv::writeFile(env.app().TemplateFolder + "/old.dot", "old binary template");
        const QByteArray workbook = testfiles::read(env.app().TemplateFolder + "/every-token.xltx");
        testfiles::write(env.app().TemplateFolder + "/lacking.xltx",
                         testfiles::withParts(workbook, {}, {"xl/sharedStrings.xml"}));
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

    void aWorkbookWithoutSharedStringsMerges() {
        TestEnv env;
        prepare(env);
        const QString folder = env.app().TemplateFolder;
        const QByteArray workbook = testfiles::read(folder + "/every-token.xltx");
        const QByteArray sheet =
            "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/"
            "spreadsheetml/2006/main\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\">"
            "<is><t>Job [JOBNO]</t></is></c></row></sheetData></worksheet>";
        const QString rels = "xl/_rels/workbook.xml.rels";
        const QString types = "[Content_Types].xml";
        testfiles::write(
            folder + "/plain.xltx",
            testfiles::withParts(
                workbook,
                {{"xl/worksheets/sheet1.xml", sheet},
                 {rels, testfiles::edited(testfiles::part(workbook, rels),
                                          "<Relationship Id=\"rId3\" Type=\"http://schemas."
                                          "openxmlformats.org/officeDocument/2006/relationships/"
                                          "sharedStrings\" Target=\"sharedStrings.xml\"/>",
                                          "")},
                 {types, testfiles::edited(testfiles::part(workbook, types),
                                           "<Override PartName=\"/xl/sharedStrings.xml\" "
                                           "ContentType=\"application/vnd.openxmlformats-"
                                           "officedocument.spreadsheetml.sharedStrings+xml\"/>",
                                           "")}},
                {"xl/sharedStrings.xml"}));
        const QString path = CreateDocument(env.app(), "508.XLSX", "plain.xltx", sampleJob());
        QCOMPARE(env.prompter.count(), 0);
        Workbook book;
        QVERIFY(book.open(path));
        QCOMPARE(book.cellText("A1"), QString("Job 1042"));
    }
};

QTEST_MAIN(tst_merge)
#include "tst_merge.moc"
