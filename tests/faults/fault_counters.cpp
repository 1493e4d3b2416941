// Numbers given twice: counters that are empty, not numbers or behind the numbers in use, Setup
// writing back a number another workstation has used meanwhile, an import of a file whose
// counters are not numbers, and a copy to a server taken while another program writes.

#include "FaultTests.h"
#include "Programs.h"
#include "records/Counters.h"
#include "setup/OlderDatabase.h"
#include "setup/frmSetup.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace {

// Puts a number of the kind in use: a job, a document, an invoice or an estimate.
bool useNumber(Database& db, counters::Kind kind, int number) {
    switch (kind) {
        case counters::Kind::Job:
            return db.exec("INSERT INTO Jobs (JobNo) VALUES (?)", {number});
        case counters::Kind::Document:
            return db.exec("INSERT INTO Docs (JobNumber, FileName) VALUES (1, ?)",
                           {QVariant(QString::number(number) + ".doc")});
        case counters::Kind::Invoice:
            return db.exec("INSERT INTO Docs (JobNumber, FileName) VALUES (1, ?)",
                           {QVariant(QString::number(number) + ".XLSX")});
        case counters::Kind::Estimate:
            return db.exec("INSERT INTO Estimate (EstNo) VALUES (?)", {number});
    }
    return false;
}

QVariant counter(Database& db, counters::Kind kind) {
    return db.scalar("SELECT " + counters::column(kind) + " FROM Counters");
}

}  // namespace

class CounterFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever the counter holds, the number taken is above every number of its kind in use.
    void everyNumberTakenIsAboveTheNumbersInUse_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("stored");
        const QPair<const char*, counters::Kind> kinds[] = {
            {"job", counters::Kind::Job},
            {"document", counters::Kind::Document},
            {"invoice", counters::Kind::Invoice},
            {"estimate", counters::Kind::Estimate}};
        for (const auto& [name, kind] : kinds) {
            for (const char* stored : {"NULL", "'twelve'", "0", "5", "no row"}) {
                QTest::addRow("%s, counter %s", name, stored) << int(kind) << QString(stored);
            }
        }
    }
    void everyNumberTakenIsAboveTheNumbersInUse() {
        QFETCH(int, kind);
        QFETCH(QString, stored);
        if (TestEnv::onServer() && stored.startsWith('\'')) {
            QSKIP("a number column on the server holds no text");
        }
        const auto k = counters::Kind(kind);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(useNumber(db, k, 15));
        QVERIFY(stored == "no row"
                    ? db.exec("DELETE FROM Counters")
                    : db.exec("UPDATE Counters SET " + counters::column(k) + " = " + stored));
        const counters::Taken taken = counters::take(db, k);
        QVERIFY2(taken, qPrintable(taken.error));
        QCOMPARE(*taken, 16);
        QCOMPARE(counter(db, k).toLongLong(), 17);
    }

    // Setup shows the counters as they were when it opened; a number typed below one that
    // another workstation has used since is not stored without a question, and never lowers the
    // counter below a number in use.
    void setupNeverLowersACounterBelowANumberInUse_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(Prompter::Answer::Yes);
        QTest::newRow("no") << int(Prompter::Answer::No);
    }
    void setupNeverLowersACounterBelowANumberInUse() {
        QFETCH(int, answer);
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        Database other;
        QVERIFY(other.open(env.connectionString()));
        for (int job = 1; job <= 15; ++job) {
            QVERIFY(useNumber(other, counters::Kind::Job, job));
        }
        QVERIFY(other.exec("UPDATE Counters SET JobCounter = 16"));
        control<QLineEdit>(&setup, "txtJobNo")->setText("12");
        env.prompter.answer(Prompter::Answer(answer));
        control<QAbstractButton>(&setup, "cmdApplyCounters")->click();
        const auto& asked = env.prompter.last();
        QCOMPARE(asked.buttons, Prompter::Buttons::YesNo);
        QVERIFY2(asked.prompt.contains("15"), qPrintable(asked.prompt));
        QCOMPARE(counter(other, counters::Kind::Job).toLongLong(), 16);
    }

    // The import checks the counters it brings: one that is not a number is corrected to follow
    // the numbers in use, and the import says so.
    void anImportCorrectsCountersThatAreNotNumbers() {
        if (TestEnv::onServer()) {
            QSKIP("the older file is an embedded one");
        }
        TestEnv env;
        env.openNewDatabase();
        const QString older = env.root() + "/job2009.cvn";
        makeOlderDatabase(older);
        {
            Database file;
            QVERIFY(file.open(connection::forFile(older)));
            QVERIFY(file.exec("UPDATE counters SET JobCounter = 'n/a', FileCounter = NULL"));
        }
        const AdminRun run = runAdmin({"import", older});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains("corrected"), qPrintable(run.out));
        Database& db = env.app().DbConnection;
        QCOMPARE(counter(db, counters::Kind::Job).toLongLong(), 1207);
        QCOMPARE(counter(db, counters::Kind::Document).toLongLong(), 310);
    }

    // verdell-admin check finds a counter that would give a number in use, corrects it and
    // says so; an empty Counters table is given its row.
    void checkCorrectsCountersAndSaysSo_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("behind the jobs") << "UPDATE Counters SET JobCounter = 2";
        QTest::newRow("no counters row") << "DELETE FROM Counters";
    }
    void checkCorrectsCountersAndSaysSo() {
        QFETCH(QString, damage);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        for (int job = 1; job <= 9; ++job) {
            QVERIFY(useNumber(db, counters::Kind::Job, job));
        }
        QVERIFY(db.exec(damage));
        const AdminRun run = runAdmin({"check"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains("JobCounter"), qPrintable(run.out));
        QCOMPARE(counter(db, counters::Kind::Job).toLongLong(), 10);
        QCOMPARE(db.scalar("SELECT count(*) FROM Counters").toInt(), 1);
    }

    // migrate --to copies one moment of the database: while another program is saving in it,
    // the copy is refused and the server's database stays empty.
    void migrateIsRefusedWhileAnotherProgramWrites() {
        if (TestEnv::onServer() || qEnvironmentVariableIsEmpty("VERDELL_TEST_PG")) {
            QSKIP("an embedded database and a server named in VERDELL_TEST_PG are needed");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        env.app().DbConnection.close();
        ServerAddress server = TestEnv::testServer();
        Database serverAdmin;
        QVERIFY(serverAdmin.probe(server.connectionString()));
        server.database = QString("verdell_fault_%1").arg(QCoreApplication::applicationPid());
        serverAdmin.exec("DROP DATABASE IF EXISTS " + server.database);
        QVERIFY(serverAdmin.exec("CREATE DATABASE " + server.database));
        QProcess writer;
        QVERIFY(startHolder(writer, file, "writing"));
        const AdminRun run = runAdmin({"migrate", "--to",
                                       QString("postgresql://%1@%2:%3/%4")
                                           .arg(server.user, server.host)
                                           .arg(server.port)
                                           .arg(server.database)});
        writer.closeWriteChannel();
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("verdell-test-holder"), qPrintable(run.err));
        {
            Database copy;
            QVERIFY(copy.probe(server.connectionString()));
            QVERIFY(copy.tables().isEmpty());
        }
        QVERIFY(serverAdmin.exec("DROP DATABASE " + server.database));
    }
};

VERDELL_FAULT_TEST(CounterFaults)
#include "fault_counters.moc"
