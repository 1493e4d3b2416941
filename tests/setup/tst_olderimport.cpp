// The import of an older database: every step's mapping, the duplicates of a second import, the
// skipped steps, and files that are not what they claim, through the setup screen and the logic.

#include "FakeSource.h"
#include "OlderDatabase.h"
#include "setup/MaintenanceTab.h"
#include "setup/OlderImport.h"
#include "setup/Progress.h"
#include "setup/frmSetup.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

qint64 count(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
}

// Every table's row count, to show that nothing changed.
QMap<QString, qint64> counts(Database& db) {
    QMap<QString, qint64> out;
    for (const QString& t : db.tables()) {
        out.insert(t.toLower(), count(db, t));  // the server names its tables in lower case
    }
    return out;
}

class RecordingProgress : public Progress {
public:
    void status(const QString& caption) override { captions << caption; }
    void progress(qint64, qint64) override {}
    void beep() override { ++beeps; }
    QStringList captions;
    int beeps = 0;
};

}  // namespace

class tst_olderimport : public QObject {
    Q_OBJECT

    // Runs the import from the setup screen, its questions answered as given (both Yes unless
    // told otherwise).
    QString importThroughScreen(TestEnv& env, const QString& file,
                                const QList<Prompter::Answer>& answers = {Prompter::Answer::Yes,
                                                                          Prompter::Answer::Yes}) {
        frmSetup setup(env.app());
        setup.Form_Load();
        control<QLineEdit>(&setup, "txtOldDataPath")->setText(file);
        for (const Prompter::Answer answer : answers) {
            env.prompter.answer(answer);
        }
        control<QPushButton>(&setup, "cmdUpdate")->click();
        return control<QLabel>(&setup, "labStatus")->text();
    }

private Q_SLOTS:
    // No to either question changes nothing; Yes to both copies every table, and a second
    // import duplicates only what it appends.
    void copiesEveryTableWithItsMapping() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const QString older = env.root() + QStringLiteral("/job2009.cvn");
        makeOlderDatabase(older);
        const auto before = counts(db);
        for (int yesAnswers : {0, 1}) {
            env.prompter.clear();
            QList<Prompter::Answer> answers(yesAnswers, Prompter::Answer::Yes);
            importThroughScreen(env, older, answers << Prompter::Answer::No);
            QCOMPARE(env.prompter.count(), yesAnswers + 1);
            QCOMPARE(env.prompter.calls().first().title, QString("Update Database"));
            QCOMPARE(env.prompter.calls().first().buttons, Prompter::Buttons::YesNoCancel);
            QCOMPARE(counts(db), before);
        }
        const qint64 customersBefore = count(db, QStringLiteral("customers"));

        const QString status = importThroughScreen(env, older);
        QCOMPARE(status, QString("Update Complete"));
        QCOMPARE(env.prompter.last().prompt, QString("Update Complete"));

        auto rows = db.query("SELECT Name, Address, Telephone, Contact, Notes, Email FROM clients "
                             "WHERE Name = ?", {"Harbour Lettings"});
        QCOMPARE(rows->text(0, "Address"), QString("1 Quay St\r\nPoole"));
        QCOMPARE(rows->text(0, "Telephone"), QString("01202 111"));
        QCOMPARE(rows->text(0, "Notes"), QString("pays late"));
        QVERIFY(!rows->isNull(0, "Email"));  // set empty, never null
        rows = db.query("SELECT Address FROM clients WHERE Name = ?", {"Søren & Co"});
        QVERIFY(!rows->isNull(0, "Address"));  // an older null arrives as an empty text

        rows = db.query("SELECT JobCounter, FileCounter, Free2, Free3 FROM Counters");
        QCOMPARE(rows->count(), 1);
        QCOMPARE(rows->integer(0, "JobCounter"), 1207);
        QCOMPARE(rows->integer(0, "FileCounter"), 310);
        QCOMPARE(rows->integer(0, "Free3"), 5);

        QCOMPARE(count(db, "customers"), customersBefore + 4);
        rows = db.query("SELECT Contact, TypeID, ClientID FROM customers WHERE Name = ?", {"Mrs Dale"});
        QCOMPARE(rows->text(0, "Contact"), QString("07700 900"));
        QCOMPARE(rows->integer(0, "TypeID"), 1);
        // The first and third older lists give four address lines, an empty second line kept;
        // the second list gives three.
        rows = db.query("SELECT Address, TypeID, ClientID, Telephone FROM customers WHERE Name = ?",
                        {"Mr Quill"});
        QCOMPARE(rows->text(0, "Address"), QString("3 Oak Way\r\n\r\nWimborne\r\nBH21 1AA"));
        QCOMPARE(rows->integer(0, "TypeID"), 0);
        QCOMPARE(rows->integer(0, "ClientID"), 7);
        QCOMPARE(rows->text(0, "Telephone"), QString("01202 222"));
        rows = db.query("SELECT Address FROM customers WHERE Name = ?", {"Dr Marbeck"});
        QCOMPARE(rows->text(0, "Address"), QString("5 Yew Ln\r\nVerwood\r\nBH31 3CC"));
        rows = db.query("SELECT Address FROM customers WHERE Name = ?", {"Ms Pendry"});
        QCOMPARE(rows->text(0, "Address"), QString("4 Ash Cl\r\nFlat 2\r\nFerndown\r\nBH22 2BB"));

        rows = db.query("SELECT \"Date\", FileName FROM Docs WHERE JobNumber = 1206");
        QCOMPARE(rows->text(0, "Date"), QString("2009-03-02 10:15:00"));

        rows = db.query("SELECT * FROM Jobs WHERE JobNo = 1205");
        QCOMPARE(rows->text(0, "WorkNotes"), QString("Line one\r\nLine two"));
        QCOMPARE(rows->text(0, "DateReceived"), QString("2009-02-01 00:00:00"));
        QVERIFY(rows->isNull(0, "DateDue"));
        QCOMPARE(rows->text(0, "CliName"), QString("Harbour Lettings"));
        QVERIFY(!rows->isNull(0, "CustRef"));
        // A date the older row held as text that is no date is left out, not refused.
        rows = db.query("SELECT DateReceived, DateDue, WorkNotes FROM Jobs WHERE JobNo = 1206");
        QVERIFY(rows->isNull(0, "DateReceived"));
        QCOMPARE(rows->text(0, "DateDue"), QString("2009-04-01 00:00:00"));
        QVERIFY(!rows->isNull(0, "WorkNotes"));

        QCOMPARE(db.query("SELECT Status FROM jobStatus")->count(), 3);
        QCOMPARE(env.app().FieldCaptions[1], QString("Agent:"));
        QCOMPARE(count(db, "labels"), 2);

        // The second time, through the logic alone.
        QString error;
        auto source = openTableSource(older, &error);
        QVERIFY2(source, qPrintable(error));
        SilentProgress quiet;
        olderimport::UpdateDatabase(db, *source, quiet);
        QCOMPARE(count(db, "Jobs"), 4);
        QCOMPARE(db.query("SELECT * FROM Jobs WHERE JobNo = 1205")->count(), 2);
        QCOMPARE(db.query("SELECT * FROM clients WHERE Name = ?", {"Harbour Lettings"})->count(),
                 2);
        QCOMPARE(count(db, "jobStatus"), 3);
        QCOMPARE(count(db, "labels"), 2);
        QCOMPARE(count(db, "Counters"), 1);
    }

    // A file of a still earlier version lacks columns: its rows come all the same, those fields
    // empty (a counter keeps its value), and the closing message names what the file lacked.
    void aMissingColumnLeavesItsFieldEmpty() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const QString older = env.root() + QStringLiteral("/job2004.cvn");
        makeOlderDatabase(older,
                          {{"Jobs", "DateQuoted"}, {"clients", "Notes"}, {"counters", "Free2"}});
        const qint64 clientsBefore = count(db, "clients");
        const qint64 free2 = db.scalar("SELECT Free2 FROM Counters").toLongLong();

        importThroughScreen(env, older);
        QCOMPARE(count(db, "Jobs"), 2);
        auto rows = db.query("SELECT DateQuoted, CliName FROM Jobs WHERE JobNo = 1205");
        QVERIFY(rows->isNull(0, "DateQuoted"));
        QCOMPARE(rows->text(0, "CliName"), QString("Harbour Lettings"));
        QCOMPARE(count(db, "clients"), clientsBefore + 2);
        rows = db.query("SELECT Notes, Telephone FROM clients WHERE Name = ?", {"Harbour Lettings"});
        QVERIFY(!rows->isNull(0, "Notes"));
        QCOMPARE(rows->text(0, "Notes"), QString());
        QCOMPARE(rows->text(0, "Telephone"), QString("01202 111"));
        rows = db.query("SELECT JobCounter, Free2 FROM Counters");
        QCOMPARE(rows->integer(0, "JobCounter"), 1207);
        QCOMPARE(rows->integer(0, "Free2"), free2);

        const auto& message = env.prompter.last();
        QVERIFY(message.prompt.startsWith("Update Complete"));
        for (const char* lacking : {"Jobs: 2 rows copied without the column DateQuoted",
                                    "clients: 2 rows copied without the column Notes",
                                    "counters: 1 row copied without the column Free2"}) {
            QVERIFY2(message.prompt.contains(lacking), qPrintable(message.prompt));
        }
        QCOMPARE(message.icon, Prompter::Icon::Exclamation);
    }

    // A step whose table is missing or of another form is skipped with its caption and a beep;
    // a table that breaks off part way leaves none of that step's rows.
    void skipsWhatItCannotReadWhole() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        FakeSource older;
        older.add("IntroducedBy", textColumns({"IntroducedBy"}), {{"One"}, {"Two"}, {"Three"}});
        older.table("IntroducedBy").failAfter = 2;
        older.add("DocType", textColumns({"Kind"}), {{"Survey"}});
        older.add("JobStatus", textColumns({"Status"}), {{"Open"}});
        const auto before = counts(db);
        RecordingProgress progress;
        const auto steps = olderimport::UpdateDatabase(db, older, progress);

        QCOMPARE(steps.size(), 12);
        QCOMPARE(progress.captions.first(), QString("Updating Clients"));
        QCOMPARE(progress.captions.last(), QString("Updating Labels"));
        QCOMPARE(progress.beeps, 11);
        QVERIFY(steps[4].skipped);  // DocType without its column
        QVERIFY(steps[4].reason.contains("DocType"));
        QVERIFY(steps[8].skipped);  // the introducers broke off
        QCOMPARE(count(db, "IntroducedBy"), before["introducedby"]);
        QVERIFY(!steps[10].skipped);
        QCOMPARE(db.query("SELECT Status FROM jobStatus")->text(0, "Status"), QString("Open"));
        QCOMPARE(count(db, "jobStatus"), 1);
        QVERIFY(!olderimport::nothingImported(steps));
    }

    // Real files of the earlier engine with other schemas: read without harm, nothing written.
    void jetFilesOfOtherSchemasChangeNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("Jet 3") << "nwind.mdb";
        QTest::newRow("Jet 4") << "DateTestDatabase.mdb";
        QTest::newRow("ACE") << "ASampleDatabase.accdb";
    }
    void jetFilesOfOtherSchemasChangeNothing() {
        QFETCH(QString, file);
        TestEnv env;
        env.openNewDatabase();
        const auto before = counts(env.app().DbConnection);
        importThroughScreen(env, QStringLiteral(VERDELL_JET_FIXTURES) + u'/' + file);
        QVERIFY(env.prompter.last().prompt.startsWith("Nothing was imported"));
        QCOMPARE(counts(env.app().DbConnection), before);
    }

    void filesThatAreNoDatabaseAreRefused_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text") << QByteArray("Name,Address\nA,B\n") << "is not a database";
        QTest::newRow("empty") << QByteArray() << "is not a database";
        QFile nwind(QStringLiteral(VERDELL_JET_FIXTURES "/nwind.mdb"));
        nwind.open(QIODevice::ReadOnly);
        QTest::newRow("truncated Jet") << nwind.read(6000) << "cannot be read";
        QTest::newRow("missing") << QByteArray("-") << "does not exist";
    }
    void filesThatAreNoDatabaseAreRefused() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        TestEnv env;
        env.openNewDatabase();
        const QString file = env.root() + QStringLiteral("/job.cvn");
        if (contents != "-") {
            TestEnv::writeFile(file, contents);
        }
        const auto before = counts(env.app().DbConnection);
        importThroughScreen(env, file);
        QVERIFY2(env.prompter.last().prompt.contains(reason), qPrintable(env.prompter.last().prompt));
        QVERIFY(env.prompter.last().prompt.contains("Nothing has been changed"));
        QCOMPARE(counts(env.app().DbConnection), before);
    }
};

QTEST_MAIN(tst_olderimport)
#include "tst_olderimport.moc"
