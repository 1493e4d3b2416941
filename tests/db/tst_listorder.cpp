#include "jobs/JobLists.h"
#include "records/AppState.h"
#include "setup/PickList.h"
#include "support/TestEnv.h"

#include <QTest>

// The pick lists show their entries in the order they were added, whatever the engine does
// with the rows: the server moves a row when it is updated and reuses the room of deleted rows
// once the table is tidied.
class tst_listorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entriesKeepTheOrderTheyWereAddedIn_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("statuses") << "jobStatus" << "Status";
        QTest::newRow("introducers") << "IntroducedBy" << "IntroducedBy";
        QTest::newRow("engineers") << "engineers" << "Engineer";
    }

    void entriesKeepTheOrderTheyWereAddedIn() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        setupvalues::PickList list(db, table, field);
        QVERIFY(db.exec("DELETE FROM " + table));
        for (const char* entry : {"Alpha", "Bravo", "Charlie", "Delta"}) {
            QVERIFY(list.add(entry));
        }
        QVERIFY(list.remove("Alpha"));
        // What the text upkeep and the server's housekeeping do to the rows.
        QVERIFY(db.exec(QString("UPDATE %1 SET %2 = %2 WHERE %2 = 'Bravo'").arg(table, field)));
        if (db.onServer()) {
            QVERIFY(db.exec("VACUUM " + table));
        }
        QVERIFY(list.add("Echo"));
        const QStringList expected{"Bravo", "Charlie", "Delta", "Echo"};
        QCOMPARE(list.entries(), expected);
        const QStringList shown = table == "jobStatus"      ? jobs::jobStatuses(db)
                                  : table == "IntroducedBy" ? jobs::introducers(db)
                                                            : jobs::engineerNames(db);
        QCOMPARE(shown, expected);
    }
};

QTEST_MAIN(tst_listorder)
#include "tst_listorder.moc"
