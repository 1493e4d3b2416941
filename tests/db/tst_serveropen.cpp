#include "db/Database.h"
#include "db/ServerAddress.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// What a workstation is told when a server's database cannot be used: the causes the server's
// client library keeps to itself, in plain words.
class tst_serveropen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aPasswordFileOthersCanReadIsNamed_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("named");
        QTest::newRow("readable by all") << 0644 << true;
        QTest::newRow("readable by the group") << 0640 << true;
        QTest::newRow("owner alone") << 0600 << false;
    }

    void aPasswordFileOthersCanReadIsNamed() {
        QFETCH(int, mode);
        QFETCH(bool, named);
        QTemporaryDir home;
        const QString path = home.filePath(".pgpass");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("db.example:5432:verdell:office:secret\n");
        file.close();
        QFileDevice::Permissions permissions;
        const QFileDevice::Permission bits[] = {
            QFileDevice::ExeOther,  QFileDevice::WriteOther, QFileDevice::ReadOther,
            QFileDevice::ExeGroup,  QFileDevice::WriteGroup, QFileDevice::ReadGroup,
            QFileDevice::ExeOwner,  QFileDevice::WriteOwner, QFileDevice::ReadOwner};
        for (int i = 0; i < 9; ++i) {
            if (mode & (1 << i)) {
                permissions |= bits[i];
            }
        }
        QVERIFY(file.setPermissions(permissions));
        qputenv("PGPASSFILE", path.toLocal8Bit());
        const QString problem = passwordFileProblem();
        qunsetenv("PGPASSFILE");
        QCOMPARE(problem.contains(path), named);
        QCOMPARE(problem.contains("chmod 600"), named);
    }

    void aDatabaseNotInUtf8IsRefusedInPlainWords() {
        if (!TestEnv::onServer()) {
            QSKIP("a database on the server");
        }
        Database db;
        QVERIFY(db.probe(TestEnv::testServer().connectionString()));
        QVERIFY(db.exec("DROP DATABASE IF EXISTS verdell_latin1"));
        QVERIFY(db.exec("CREATE DATABASE verdell_latin1 ENCODING 'LATIN1' LC_COLLATE 'C' "
                        "LC_CTYPE 'C' TEMPLATE template0"));
        ServerAddress latin1 = TestEnv::testServer();
        latin1.database = "verdell_latin1";
        Database other;
        QVERIFY(!other.open(latin1.connectionString()));
        QVERIFY2(other.lastError().message.contains("UTF8 encoding"),
                 qPrintable(other.lastError().message));
        QVERIFY(other.lastError().message.contains("LATIN1"));
        QVERIFY(db.exec("DROP DATABASE verdell_latin1"));
    }
};

QTEST_MAIN(tst_serveropen)
#include "tst_serveropen.moc"
