#include "support/JobRecords.h"
#include "support/JobScreen.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Two workstations on one database, each with its own connection: the job screen of the first
// ("North") against saves and deletions made at the second ("South").
class tst_workstations : public QObject {
    Q_OBJECT

    // The second workstation: its own connection to the test's database.
    struct South {
        AppState app;
        explicit South(TestEnv& env)
            : app(Services{env.prompter, env.launcher, env.clock, env.screen, env.roots, env.locale,
                           env.sharing}) {
            app.Workstation = QStringLiteral("South");
            app.DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
            if (!app.DbConnection.open(env.connectionString())) {
                qFatal("second connection: %s", qPrintable(app.DbConnection.lastError().message));
            }
        }
        // Saves the job with another customer name over the version it reads now.
        void rename(qint32 jobNo, const QString& name) {
            jobs::LoadedJob job = testjobs::read(app, jobNo);
            job.fields.WorkName = name;
            QVERIFY(testjobs::save(app, job.fields, jobNo, std::nullopt, job.row).ok);
        }
    };

    // North's job screen on job 5, as stored.
    static JobScreen openOnJobFive(TestEnv& env) {
        withJobFive(env).app().Workstation = QStringLiteral("North");
        return openJobScreen(env);
    }

    // Types a new customer name over the one shown, as the user would.
    static void typeName(QWidget* screen, const QString& name) {
        auto* box = control<QLineEdit>(screen, "txtCustName");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, name);
    }

    static QString storedName(TestEnv& env) {
        return env.app()
            .DbConnection.scalar("SELECT WorkName FROM Jobs WHERE JobNo = 5")
            .toString();
    }

private Q_SLOTS:
    // South saved job 5 after North opened it; North's save asks before it writes anything.
    void aSaveOverAnotherWorkstationsChangeAsksFirst_data() {
        QTest::addColumn<QList<int>>("picks");  // 0 see theirs, 1 keep mine, 2 cancel
        QTest::addColumn<QString>("stored");
        QTest::newRow("keep mine") << QList<int>{1} << "Mine";
        QTest::newRow("see theirs, then keep mine") << QList<int>{0, 1} << "Mine";
        QTest::newRow("cancel") << QList<int>{2} << "Theirs";
    }
    void aSaveOverAnotherWorkstationsChangeAsksFirst() {
        QFETCH(QList<int>, picks);
        QFETCH(QString, stored);
        TestEnv env;
        auto screen = openOnJobFive(env);
        South south(env);
        south.rename(5, "Theirs");

        typeName(screen, "Mine");
        for (int pick : picks) {
            env.prompter.pick(pick);
        }
        control<QPushButton>(screen, "cmdSave")->click();

        const auto& calls = env.prompter.calls();
        QCOMPARE(calls.first().kind, ScriptedPrompter::Call::Kind::Choice);
        QVERIFY2(calls.first().prompt.startsWith("Job 5 was changed at another workstation after "
                                                 "you opened it, by South at 09:30 on "
                                                 "14/03/2026."),
                 qPrintable(calls.first().prompt));
        if (picks.first() == 0) {
            QCOMPARE(calls[1].title, QString("Job 5: Their Version"));
            QVERIFY2(calls[1].prompt.endsWith("Name: \"Theirs\" (yours: \"Mine\")"),
                     qPrintable(calls[1].prompt));
        }
        QCOMPARE(storedName(env), stored);
        const bool kept = stored == "Mine";
        QCOMPARE(control<QPushButton>(screen, "cmdSave")->isHidden(), kept);
        QCOMPARE(control<QLineEdit>(screen, "txtCustName")->text(), QString("Mine"));
        QCOMPARE(control<QLabel>(screen, "labChangedElsewhere")->isHidden(), kept);
        QCOMPARE(env.app().DbConnection.scalar("SELECT RowChangedBy FROM Jobs").toString(),
                 kept ? "North" : "South");
    }

    // South deleted job 5: North's save offers to write it again under its own number.
    void aJobDeletedElsewhereIsSavedAgainOnlyWhenAsked_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::newRow("saved again") << Prompter::Answer::Yes;
        QTest::newRow("not saved") << Prompter::Answer::No;
    }
    void aJobDeletedElsewhereIsSavedAgainOnlyWhenAsked() {
        QFETCH(Prompter::Answer, answer);
        TestEnv env;
        auto screen = openOnJobFive(env);
        South south(env);
        QVERIFY(jobs::deleteJob(south.app.DbConnection, 5));

        typeName(screen, "Mine");
        env.prompter.answer(answer);
        control<QPushButton>(screen, "cmdSave")->click();

        QCOMPARE(env.prompter.titles(), QStringList{"Deleted At Another Workstation"});
        Database& db = env.app().DbConnection;
        const bool again = answer == Prompter::Answer::Yes;
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs WHERE JobNo = 5").toInt(), again ? 1 : 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), again ? 1 : 0);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 1);  // no number taken
        QCOMPARE(control<QLineEdit>(screen, "txtCustName")->text(), QString("Mine"));
        QCOMPARE(control<QPushButton>(screen, "cmdSave")->isHidden(), again);
    }

    // North's screen learns of South's save by itself: a job not being edited is shown as
    // stored, one being edited keeps the typing and gets a notice.
    void theScreenFollowsTheOtherWorkstation_data() {
        QTest::addColumn<bool>("editing");
        QTest::newRow("not editing") << false;
        QTest::newRow("editing") << true;
    }
    void theScreenFollowsTheOtherWorkstation() {
        QFETCH(bool, editing);
        TestEnv env;
        auto screen = openOnJobFive(env);
        env.app().changes.start();
        South south(env);
        if (editing) {
            typeName(screen, "Mine");
        }
        south.rename(5, "Theirs");

        auto* notice = control<QLabel>(screen, "labChangedElsewhere");
        QTRY_VERIFY(!notice->isHidden());
        QVERIFY2(notice->text().contains("by South at 09:30 on 14/03/2026"),
                 qPrintable(notice->text()));
        QCOMPARE(control<QLineEdit>(screen, "txtCustName")->text(), editing ? "Mine" : "Theirs");
        QCOMPARE(env.prompter.count(), 0);
    }
};

QTEST_MAIN(tst_workstations)
#include "tst_workstations.moc"
