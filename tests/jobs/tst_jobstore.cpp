#include "jobs/JobLists.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"

#include <QTest>
#include <optional>

Q_DECLARE_METATYPE(std::optional<qint32>)

// Saving, numbering, loading and deleting jobs, and the tables a save keeps.
Q_DECLARE_METATYPE(SaveOutcome)

class tst_jobstore : public QObject {
    Q_OBJECT

    static JobFields sampleJob() {
        JobFields f;
        f.JobStatus = "New";
        f.IntroducedBy = "Harbour Estates";
        f.ClientRef = "Dave O'Neill";
        f.WorkName = "Mrs Zo\u00EB O'Brien";
        f.HomeAddress = "1 High St\nLeeds\nLS1 1AA";
        f.HomeNumbers = "0113 496 0000";
        f.WorkDetails = "Replace valve; 100% \"tested\" _now_";
        f.WorkNotes = "Called";
        f.DateCreated = "01/02/2010";
        f.DateReceived = "030210";
        f.DateDue = "";
        f.DateQuoted = "31/02/2010";
        f.CustRef = "C-1";
        f.Unused = {"a", "b", "c", "d", "e", "f", "g"};
        f.CliName = "Harbour Estates";
        f.CliAddress = "2 Quay";
        f.CliNumbers = "0113 496 0001";
        f.CliNotes = "Pays late";
        f.InvoiceStatus = "Awaiting Payment";
        f.InvoiceDate = "05/03/2010";
        f.Price = "\u00A31,234.50";
        return f;
    }

    static QVariant field(Database& db, qint32 jobNo, const QString& name) {
        return db.scalar("SELECT " + name + " FROM Jobs WHERE JobNo = ?", {jobNo});
    }

    static void prepare(TestEnv& env) {
        env.openNewDatabase();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        env.app().CurrencySymbol = "\u00A3";
    }

private Q_SLOTS:
    void aNewJobTakesTheNextNumberAndRoundTrips() {
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        db.exec("UPDATE Counters SET JobCounter = 507");
        const JobFields job = sampleJob();
        const jobs::SavedJob saved = testjobs::save(env.app(), job, 0);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.jobNo, 507);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 508);
        QCOMPARE(field(db, 507, "DateCreated").toString(), QString("2010-02-01 00:00:00"));
        QCOMPARE(field(db, 507, "DateReceived").toString(), QString("2010-02-03 00:00:00"));
        QVERIFY(field(db, 507, "DateDue").isNull());     // empty box
        QVERIFY(field(db, 507, "DateQuoted").isNull());  // not a date
        QCOMPARE(field(db, 507, "Price").toDouble(), 1234.5);

        const jobs::LoadedJob loaded = testjobs::read(env.app(), 507);
        QCOMPARE(loaded.outcome, jobs::LoadedJob::Outcome::Found);
        JobFields expected = job;
        expected.JobNo = "507";
        expected.DateReceived = "03/02/2010";
        expected.DateQuoted = "";
        JobFields shown = loaded.fields;
        QCOMPARE(shown.shownDates.value("DateCreated"),
                 datetext::Shown({"01/02/2010", QDateTime(QDate(2010, 2, 1), QTime(0, 0))}));
        shown.shownDates.clear();
        QCOMPARE(shown, expected);

        // Saving it again changes the same job.
        JobFields changed = loaded.fields;
        changed.WorkDetails = QString(100000, 'w');
        QVERIFY(testjobs::save(env.app(), changed, 507, std::nullopt, loaded.row).ok);
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), 1);
        QCOMPARE(field(db, 507, "WorkDetails").toString().size(), 100000);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 508);
    }

    void boxesThatHoldNoValueKeepWhatIsStored_data() {
        QTest::addColumn<QString>("dateBox");
        QTest::addColumn<QString>("priceBox");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QVariant>("price");
        QTest::newRow("emptied") << ""
                                 << ""
                                 << "2010-02-01 00:00:00" << QVariant();
        QTest::newRow("nonsense") << "soon"
                                  << "lots"
                                  << "2010-02-01 00:00:00" << QVariant(10.0);
        QTest::newRow("new values") << "02/03/2011"
                                    << "12"
                                    << "2011-03-02 00:00:00" << QVariant(12.0);
    }
    void boxesThatHoldNoValueKeepWhatIsStored() {
        QFETCH(QString, dateBox);
        QFETCH(QString, priceBox);
        QFETCH(QString, date);
        QFETCH(QVariant, price);
        TestEnv env;
        prepare(env);
        JobFields job = sampleJob();
        job.DateDue = "01/02/2010";
        job.Price = "10";
        const jobs::SavedJob first = testjobs::save(env.app(), job, 0);
        const qint32 n = first.jobNo;
        job.DateDue = dateBox;
        job.Price = priceBox;
        QVERIFY(testjobs::save(env.app(), job, n, std::nullopt, first.row).ok);
        Database& db = env.app().DbConnection;
        QCOMPARE(field(db, n, "DateDue").toString(), date);
        const QVariant stored = field(db, n, "Price");
        QCOMPARE(stored.isNull() ? QVariant() : QVariant(stored.toDouble()), price);
    }

    // Another workstation saved or deleted the job since it was read: nothing is written and the
    // save says which, with the version stored now. Saved again over that version it goes
    // through; a deleted job is written again under its number, unless another job holds it.
    void aJobChangedOrDeletedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<SaveOutcome>("outcome");
        QTest::addColumn<bool>("savedAgain");
        QTest::newRow("changed") << "UPDATE Jobs SET WorkName = 'Theirs', RowVersion = "
                                    "RowVersion + 1, RowChangedBy = 'South'"
                                 << SaveOutcome::ChangedElsewhere << true;
        QTest::newRow("deleted") << "DELETE FROM Jobs" << SaveOutcome::DeletedElsewhere << true;
        QTest::newRow("deleted, number taken since")
            << "UPDATE Jobs SET DummyId = DummyId + 100, WorkName = 'Theirs'"
            << SaveOutcome::DeletedElsewhere << false;
    }
    void aJobChangedOrDeletedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(SaveOutcome, outcome);
        QFETCH(bool, savedAgain);
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        const jobs::SavedJob first = testjobs::save(env.app(), sampleJob(), 0);
        const qint32 n = first.jobNo;
        QVERIFY(db.exec(elsewhere));
        const QVariant before = field(db, n, "WorkName");
        JobFields mine = sampleJob();
        mine.WorkName = "Mine";

        const jobs::SavedJob refused = testjobs::save(env.app(), mine, n, std::nullopt, first.row);
        QCOMPARE(refused.outcome, outcome);
        QVERIFY(!refused.ok);
        QCOMPARE(field(db, n, "WorkName"), before);
        if (outcome == SaveOutcome::ChangedElsewhere) {
            QCOMPARE(refused.row.version.changedBy, QString("South"));
        }

        const jobs::SavedJob again = testjobs::save(env.app(), mine, n, std::nullopt, refused.row);
        QCOMPARE(again.ok, savedAgain);
        QCOMPARE(again.numberHeldBy.isEmpty(), savedAgain);
        QCOMPARE(field(db, n, "WorkName").toString(), savedAgain ? "Mine" : "Theirs");
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), 1);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), n + 1);
    }

    void contactsAndEngineersKeepOneRowPerName() {
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        JobFields job = sampleJob();
        QVERIFY(testjobs::save(env.app(), job, 0).ok);
        job.HomeAddress = "  9 New Rd  ";
        job.CliName = "";
        job.WorkName += "  ";  // typed with blanks after it: still the same customer
        QVERIFY(testjobs::save(env.app(), job, 0).ok);
        QVERIFY(testjobs::save(env.app(), job, 0).ok);
        QCOMPARE(db.scalar("SELECT count(*) FROM customers").toInt(), 1);
        QCOMPARE(db.scalar("SELECT Address FROM customers WHERE Name = ?", {job.WorkName.trimmed()})
                     .toString(),
                 QString("9 New Rd"));
        QCOMPARE(db.scalar("SELECT count(*) FROM clients").toInt(), 1);
        QCOMPARE(jobs::engineerNames(db), QStringList({"Dave O'Neill"}));
        QVERIFY(jobs::SaveEngineer(db, "   "));
        QCOMPARE(jobs::engineerNames(db).size(), 1);
        QVERIFY(jobs::DeleteEngineer(db, "Dave O'Neill"));
        QCOMPARE(jobs::engineerNames(db), QStringList());
    }

    // A counter at or beyond the highest number the columns hold gives no number, never a wrong
    // one, and the job is not saved. (One that is empty or too low is corrected upward.)
    void countersOutOfRangeStopTheSave_data() {
        QTest::addColumn<QVariant>("counter");
        QTest::newRow("beyond 32 bits") << QVariant(qint64(3000000000));
        QTest::newRow("the highest number") << QVariant(2147483647);
    }
    void countersOutOfRangeStopTheSave() {
        QFETCH(QVariant, counter);
        if (TestEnv::onServer() && counter.toLongLong() > 2147483647) {
            QSKIP("the server's column cannot hold the number at all");
        }
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        QVERIFY(db.exec("UPDATE Counters SET JobCounter = ?", {counter}));
        const jobs::SavedJob saved = testjobs::save(env.app(), sampleJob(), 0);
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains("Counters tab of Setup"), qPrintable(saved.error));
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), 0);
        const QVariant after = db.scalar("SELECT JobCounter FROM Counters");
        QCOMPARE(after.isNull(), counter.isNull());
        QCOMPARE(after.toLongLong(), counter.toLongLong());
        QVERIFY(!db.inTransaction());
    }

    void manualNumbersAreAskedForUntilValid_data() {
        QTest::addColumn<QStringList>("answers");  // a null entry cancels the box
        QTest::addColumn<std::optional<qint32>>("number");
        QTest::newRow("the first good answer")
            << QStringList{"", "abc", "0", "-3", "99999999999", "1.7", "12ab", " 12 "}
            << std::optional<qint32>(12);
        QTest::newRow("cancel") << QStringList{"1.7", QString()} << std::optional<qint32>();
    }
    void manualNumbersAreAskedForUntilValid() {
        QFETCH(QStringList, answers);
        QFETCH(std::optional<qint32>, number);
        TestEnv env;
        prepare(env);
        env.app().ManualNumbering = true;
        for (const QString& answer : answers) {
            if (answer.isNull()) {
                env.prompter.cancelInput();
            } else {
                env.prompter.type(answer);
            }
        }
        QCOMPARE(jobs::GetNewJobNumber(env.app().DbConnection, env.app().prompter,
                                       env.app().ManualNumbering),
                 number);
        // Each refused answer is explained before the box comes again.
        QCOMPARE(env.prompter.count(), 2 * answers.size() - 1);
        QCOMPARE(env.prompter.calls()[0].prompt,
                 QString("Please enter the new job reference number"));
        QCOMPARE(env.prompter.calls()[1].title, QString("New Job Number"));
        QCOMPARE(env.app().DbConnection.scalar("SELECT JobCounter FROM Counters").toInt(), 1);
    }

    void deletingAJobTakesItsDocumentsOnly() {
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        const qint32 twelve = testjobs::save(env.app(), sampleJob(), 0, 12).jobNo;
        testjobs::save(env.app(), sampleJob(), 0, 13);
        for (int job : {12, 12, 13}) {
            db.exec("INSERT INTO Docs (JobNumber, FileName) VALUES (?, 'x.doc')", {job});
        }
        QVERIFY(jobs::deleteJob(db, twelve));
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), 1);
        QCOMPARE(db.scalar("SELECT count(*) FROM Docs WHERE JobNumber = 13").toInt(), 1);
        QCOMPARE(db.scalar("SELECT count(*) FROM Docs").toInt(), 1);
    }

    void captionsAreRewrittenWhole() {
        TestEnv env;
        prepare(env);
        Database& db = env.app().DbConnection;
        std::array<QString, 36> captions;
        captions[11] = "  Booked: ";
        QVERIFY(jobs::saveCaptions(db, captions));
        QVERIFY(jobs::saveCaptions(db, captions));
        QCOMPARE(db.scalar("SELECT count(*) FROM labels").toInt(), 36);
        QCOMPARE(db.scalar("SELECT count(DISTINCT \"Index\") FROM labels").toInt(), 36);
        QCOMPARE(db.scalar("SELECT \"Text\" FROM labels WHERE \"Index\" = 11").toString(),
                 QString("Booked:"));
        QCOMPARE(db.scalar("SELECT count(*) FROM labels WHERE \"Text\" IS NULL").toInt(), 0);
    }

    void aLockedDatabaseCannotBeRead() {
        TestEnv env;
        env.openNewDatabase();
        testjobs::save(env.app(), sampleJob(), 0);
        QVERIFY(env.app().DbConnection.open(env.connectionString() + "Busy Timeout=50;"));
        Database holder;
        QVERIFY(holder.open(env.connectionString()));
        if (TestEnv::onServer()) {
            QVERIFY(holder.exec("BEGIN"));
            QVERIFY(holder.exec("LOCK TABLE Jobs IN ACCESS EXCLUSIVE MODE"));
        } else {
            QVERIFY(holder.exec("BEGIN EXCLUSIVE"));
        }
        QCOMPARE(testjobs::read(env.app(), 1).outcome, jobs::LoadedJob::Outcome::Unreadable);
        QCOMPARE(testjobs::read(env.app(), 99).outcome, jobs::LoadedJob::Outcome::Unreadable);
        holder.exec("ROLLBACK");
        QCOMPARE(testjobs::read(env.app(), 99).outcome, jobs::LoadedJob::Outcome::NotFound);
    }
};

QTEST_GUILESS_MAIN(tst_jobstore)
#include "tst_jobstore.moc"
