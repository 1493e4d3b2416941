#include "db/ServerLink.h"
#include "jobs/frmJobs.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

// A database server that stops while a workstation works and starts again: the test runs a
// private server of its own (scripts/pg-test-server on a free port), so it can stop and start
// it; without PostgreSQL installed it is skipped.
class tst_reconnect : public QObject {
    Q_OBJECT

    QTemporaryDir state_;
    QString port_;

    bool server(const QString& command, QByteArray* out = nullptr) {
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VERDELL_TEST_PG_PORT", port_);
        env.insert("TMPDIR", state_.path());
        script.setProcessEnvironment(env);
        script.start(QStringLiteral(VERDELL_PG_TEST_SERVER), {command});
        const bool ok = script.waitForFinished(60000) &&
                        script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
        if (out) {
            *out = script.readAllStandardOutput().trimmed();
        }
        if (!ok) {
            qWarning("pg-test-server %s: %s", qPrintable(command),
                     script.readAllStandardError().constData());
        }
        return ok;
    }

    static int told(TestEnv& env) { return int(env.prompter.titles().count(ServerLink::title())); }

private Q_SLOTS:
    void initTestCase() {
        if (QDir(QStringLiteral("/usr/lib/postgresql")).isEmpty()) {
            QSKIP("PostgreSQL is not installed (scripts/install-deps --server)");
        }
        // The server runs as another user when the tests run as root: it must reach its folder.
        QFile::setPermissions(state_.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port_ = QString::number(probe.serverPort());
        probe.close();
        QByteArray url;
        QVERIFY(server(QStringLiteral("start"), &url));
        qputenv("VERDELL_TEST_ENGINE", "postgresql");
        qputenv("VERDELL_TEST_PG", url);
    }

    void cleanupTestCase() {
        if (!port_.isEmpty()) {
            server(QStringLiteral("stop"));
        }
    }

    // While the server is away the workstation says so once, refuses saves with the same
    // message, writes nothing and takes no number, and keeps what was typed; once the server
    // is back it reconnects by itself and the same save goes through.
    void aSaveWhileTheServerIsAwayWorksOnceItIsBack() {
        TestEnv env;
        env.openNewDatabase();
        AppState& app = env.app();
        app.DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
        frmJobs screen(app);
        screen.Form_Load();
        screen.show();
        QApplication::setActiveWindow(&screen);
        auto* name = screen.findChild<QLineEdit*>(QStringLiteral("txtCustName"));
        auto* save = screen.findChild<QPushButton*>(QStringLiteral("cmdSave"));
        screen.findChild<QPushButton*>(QStringLiteral("cmdNewJob"))->click();
        name->setFocus();
        QTest::keyClicks(name, "Before");
        save->click();
        QCOMPARE(app.DbConnection.scalar("SELECT WorkName FROM Jobs").toString(),
                 QString("Before"));
        app.changes.start();
        app.server.start();

        QTest::keyClicks(name, " and after");
        QVERIFY(server(QStringLiteral("pause")));
        QTRY_COMPARE(told(env), 1);
        save->click();
        QCOMPARE(told(env), 2);
        QVERIFY(!save->isHidden());
        QCOMPARE(name->text(), QString("Before and after"));
        JobFields another;
        another.WorkName = QStringLiteral("Another");
        QVERIFY(!testjobs::save(app, another, 0).ok);

        QVERIFY(server(QStringLiteral("resume")));
        QTRY_VERIFY_WITH_TIMEOUT(!app.DbConnection.serverAway(), 30000);
        save->click();
        QVERIFY(save->isHidden());
        QCOMPARE(told(env), 2);
        Database& db = app.DbConnection;
        QCOMPARE(db.scalar("SELECT WorkName FROM Jobs").toString(), QString("Before and after"));
        QCOMPARE(db.scalar("SELECT count(*) FROM Jobs").toInt(), 1);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 2);
    }

    // The server comes back while a save's refusal is still on the screen: the link reconnects
    // meanwhile, so the same save goes through as soon as the message is closed.
    void theServerBackWhileASaveIsRefusedIsReconnected() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        env.app().server.start();
        QVERIFY(server(QStringLiteral("pause")));
        QVERIFY(!db.exec("DELETE FROM Jobs"));
        QTRY_COMPARE(told(env), 1);
        bool backWhileShown = false;
        env.prompter.onCall = [&](const ScriptedPrompter::Call&) {
            if (server(QStringLiteral("resume"))) {
                backWhileShown = QTest::qWaitFor([&] { return !db.serverAway(); }, 30000);
            }
        };
        env.app().server.tellUser();  // as a screen refusing a save does
        QVERIFY(backWhileShown);
        QVERIFY(db.exec("DELETE FROM Jobs"));
    }

    // A try to reconnect that fails (the server still down, or starting up) leaves the next
    // try free: once the server answers, the connection opens and statements go through.
    void aFailedReconnectDoesNotHoldBackTheNext() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(server(QStringLiteral("pause")));
        QVERIFY(!db.exec("DELETE FROM Jobs"));
        QVERIFY(!db.reconnect());
        QVERIFY(server(QStringLiteral("resume")));
        QVERIFY(db.reconnect());
        QVERIFY(!db.serverAway());
        QVERIFY(db.exec("DELETE FROM Jobs"));
    }
};

QTEST_MAIN(tst_reconnect)
#include "tst_reconnect.moc"
