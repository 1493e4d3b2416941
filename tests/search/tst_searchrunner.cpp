#include "db/BlockRowsModel.h"
#include "db/Database.h"
#include "search/JobSearch.h"
#include "search/SearchRunner.h"
#include "support/TestEnv.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QList<qint64> jobNumbers(const Rows& rows) {
    QList<qint64> out;
    for (int i = 0; i < rows.count(); ++i) {
        out << rows.integer(i, "JobNo");
    }
    return out;
}

SearchRunner::Search jobsHolding(const QString& text) {
    return [text](Database& db) { return searchJobs(db, text, "", "JobNo"); };
}

}  // namespace

class tst_searchrunner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<Rows>("Rows"); }

    // Typing "Ha" then "Har": only the answer to the newest text reaches the screen.
    void answerOvertakenByNewerInputIsDropped() {
        TestEnv env;
        env.openNewDatabase();
        QVERIFY(TestEnv::addRow(env.app().DbConnection, "Jobs", {{"JobNo", 1}, {"WorkName", "Hale"}}));
        QVERIFY(TestEnv::addRow(env.app().DbConnection, "Jobs", {{"JobNo", 2}, {"WorkName", "Harbour"}}));
        SearchRunner runner(env.connectionString());
        QSignalSpy answered(&runner, &SearchRunner::answered);
        runner.run(jobsHolding("Hal"));
        runner.run(jobsHolding("Har"));
        QTRY_COMPARE(answered.count(), 1);
        QCOMPARE(jobNumbers(answered.at(0).at(0).value<Rows>()), QList<qint64>{2});
        // Anything the first search still had to say came before the answer kept.
        runner.run(jobsHolding("Hale"));
        QTRY_COMPARE(answered.count(), 2);
        QCOMPARE(jobNumbers(answered.at(1).at(0).value<Rows>()), QList<qint64>{1});
    }

    void failureIsReported() {
        TestEnv env;
        env.openNewDatabase();
        SearchRunner runner(env.connectionString());
        QSignalSpy failed(&runner, &SearchRunner::failed);
        runner.run([](Database& db) { return db.query("SELECT * FROM NoSuchTable"); });
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
    }

    // Reading the rows block by block, in any column's order either way, gives the rows of
    // the whole search in that order; the count is known before the blocks are read.
    void blocksAddUpToTheWholeSearch_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("field");
        QTest::newRow("job number") << 0 << "JobNo";
        QTest::newRow("name") << 1 << "WorkName";
        QTest::newRow("status") << 2 << "JobStatus";
        QTest::newRow("due") << 3 << "DateDue";
        QTest::newRow("customer reference") << 4 << "CustRef";
    }
    void blocksAddUpToTheWholeSearch() {
        QFETCH(int, column);
        QFETCH(QString, field);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const QStringList names = {"Ånes", "anes", "Zeta", "éclair", "Eclair", "Bo"};
        for (int i = 1; i <= 30; ++i) {
            QVariantMap job{{"JobNo", (i * 7) % 31},
                            {"WorkName", names[i % names.size()]},
                            {"JobStatus", names[(i / 2) % names.size()]},
                            {"CustRef", i % 4 ? QVariant(names[i % 5]) : QVariant()}};
            if (i % 3) {
                job["DateDue"] = QString("2025-0%1-01 00:00:00").arg(1 + i % 9);
            }
            QVERIFY(TestEnv::addRow(db, "Jobs", job));
        }
        BlockRowsModel model({{"Job", "JobNo"}, {"Name", "WorkName"}, {"Status", "JobStatus"},
                              {"Due", "DateDue"}, {"Ref", "CustRef"}},
                             7);
        BlockRowsModel::Source source;
        source.block = [&db](const QString& order, Qt::SortOrder way, qint64 offset, int limit) {
            return jobsBlock(db, "", "", order, way, offset, limit);
        };
        QVERIFY(model.show(source, "JobNo"));
        QCOMPARE(model.rowCount(), 7);
        const QList<qint64> whole = jobNumbers(*searchJobs(db, "", "", field));
        for (const Qt::SortOrder way : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            model.sort(column, way);
            while (model.canFetchMore({})) {
                model.fetchMore({});
            }
            QCOMPARE(model.rowCount(), 30);
            QCOMPARE(model.totalCount(), 30);
            QList<qint64> shown;
            for (int r = 0; r < model.rowCount(); ++r) {
                shown << model.value(r, "JobNo").toLongLong();
            }
            QList<qint64> expected = whole;
            if (way == Qt::DescendingOrder) {
                std::reverse(expected.begin(), expected.end());
            }
            QCOMPARE(shown, expected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_searchrunner)
#include "tst_searchrunner.moc"
