#include "db/Database.h"
#include "db/Revisions.h"
#include "db/TextIndex.h"
#include "estimates/EstimateStore.h"
#include "search/ContactSearch.h"
#include "search/JobSearch.h"
#include "startup/Startup.h"
#include "support/TestEnv.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

using textindex::Through;

// Pieces of the generated register's texts: letters beyond ASCII whose case folds in ways
// the engines' own rules miss, and the characters that mean something to LIKE, to FTS5 or
// to SQL.
const QStringList kPieces = {
    "Éclair", "straße", "İstanbul", "ǅemal", "ΣΟΦΙΑ", "σοφίας", "ႠႡႢ", "ⴀⴁⴂ", "Kelvin",
    "O'Brien", "50%", "A_B", "C:\\Docs", "\"quoted\"", "Zoë", "Ørsted", "ﬁne", "123",
    "High St", "Flat 2/3", "NEAR", "AND", "*", "^", "(x)", "{col}", "-", "ŉ", "ǰ", "日本語",
    "😀 ok", "Ⅻ", "ｆｕｌｌ"};

QString randomText(QRandomGenerator& r, int pieces) {
    QStringList out;
    for (int i = 0; i < pieces; ++i) {
        out << kPieces[r.bounded(int(kPieces.size()))];
    }
    return out.join(r.bounded(3) == 0 ? QString() : QStringLiteral(" "));
}

// A search text made from the register: part of a stored value in any case, the same with a
// letter changed, or symbols alone.
QString searchText(QRandomGenerator& r, const QStringList& values) {
    const QString value = values[r.bounded(int(values.size()))];
    const int from = value.isEmpty() ? 0 : r.bounded(int(value.size()));
    QString part = value.mid(from, 1 + r.bounded(8));
    switch (r.bounded(5)) {
    case 0: part = part.toUpper(); break;
    case 1:
        if (!part.isEmpty()) {
            part[r.bounded(int(part.size()))] = kPieces[r.bounded(int(kPieces.size()))].at(0);
        }
        break;
    case 2: part = randomText(r, 1).left(1 + r.bounded(4)); break;
    default: break;
    }
    return part;
}

QList<qint64> column(const std::optional<Rows>& rows, const QString& field) {
    QList<qint64> out;
    for (int i = 0; rows && i < rows->count(); ++i) {
        out << rows->integer(i, field);
    }
    return out;
}

QList<qint64> estimateNumbers(const std::optional<QList<estimates::FoundEstimate>>& found) {
    QList<qint64> out;
    for (const estimates::FoundEstimate& e : found.value_or(QList<estimates::FoundEstimate>{})) {
        out << e.EstNo;
    }
    return out;
}

struct Register {
    TestEnv env;
    QStringList values;
    Database& db() { return env.app().DbConnection; }

    // jobs jobs, a third as many customers and clients, an estimate for every other customer.
    void generate(int jobs) {
        env.openNewDatabase();
        QRandomGenerator r(17);
        Transaction tx(db());
        for (int i = 1; i <= jobs; ++i) {
            const QVariantMap job{{"JobNo", i},
                                  {"WorkName", randomText(r, 2)},
                                  {"HomeAddress", randomText(r, 3)},
                                  {"WorkDetails", randomText(r, 4)},
                                  {"CustRef", randomText(r, 1)},
                                  {"CliName", randomText(r, 2)}};
            QVERIFY(TestEnv::addRow(db(), "Jobs", job));
            values << job["WorkName"].toString() << job["HomeAddress"].toString()
                   << job["WorkDetails"].toString();
        }
        for (int i = 1; i <= jobs / 3; ++i) {
            for (const char* table : {"customers", "clients"}) {
                QVERIFY(TestEnv::addRow(db(), table,
                                        {{"Name", randomText(r, 2)}, {"Address", randomText(r, 2)}}));
            }
            if (i % 2 == 0) {
                QVERIFY(db().exec("INSERT INTO Estimate (EstNo, ClientId, Description) "
                                  "VALUES (?, ?, ?)",
                                  {1000 + i, i, "Line"}));
            }
        }
        QVERIFY(tx.commit());
    }
};

// A new database holding job 1, "Harbour View".
Database& harbourView(TestEnv& env) {
    env.openNewDatabase();
    Database& db = env.app().DbConnection;
    TestEnv::addRow(db, "Jobs", {{"JobNo", 1}, {"WorkName", "Harbour View"}});
    return db;
}

}  // namespace

class tst_textindex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Through the index and by reading every row, every search finds the same rows.
    void indexFindsWhatTheScanFinds() {
        Register reg;
        reg.generate(400);
        QRandomGenerator r(1);
        const int texts = TestEnv::onServer() ? 300 : 1000;
        for (int i = 0; i < texts; ++i) {
            const QString text = searchText(r, reg.values);
            const auto jobs = searchJobs(reg.db(), text, "", "JobNo");
            QVERIFY2(jobs, qPrintable(reg.db().lastError().message));
            QCOMPARE(column(jobs, "JobNo"),
                     column(searchJobs(reg.db(), text, "", "JobNo", Through::Scan), "JobNo"));
            const bool clients = i % 2;
            QCOMPARE(column(search::searchContacts(reg.db(), text, clients), "DummyId"),
                     column(search::searchContacts(reg.db(), text, clients, Through::Scan), "DummyId"));
            QCOMPARE(estimateNumbers(estimates::searchEstimates(reg.db(), text)),
                     estimateNumbers(estimates::searchEstimates(reg.db(), text, Through::Scan)));
        }
        QCOMPARE(textindex::check(reg.db()), QString());
    }

    // The job number a text begins with, and texts the index cannot take (answered by reading
    // the rows), through the index and by reading every row.
    void jobNumberRuleAndOddTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("jobs");
        QTest::newRow("number then words") << "123 High St" << QList<qint64>{123};
        QTest::newRow("a fraction is no job number") << "20004.5" << QList<qint64>{};
        QTest::newRow("beyond the column: a telephone number") << "07700900123"
                                                               << QList<qint64>{7};
        QTest::newRow("largest job number") << "2147483647" << QList<qint64>{2147483647};
        QTest::newRow("one letter") << "q" << QList<qint64>{1};
        QTest::newRow("control characters") << QString("a\x01\tb") << QList<qint64>{};
        QTest::newRow("ten thousand characters") << QString(10000, 'q') << QList<qint64>{};
        QTest::newRow("quotes of the index's own syntax") << "\"Quay\" OR *" << QList<qint64>{};
    }
    void jobNumberRuleAndOddTexts() {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, jobs);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(TestEnv::addRow(db, "Jobs", {{"JobNo", 123}, {"WorkName", "Ann"}}));
        QVERIFY(TestEnv::addRow(db, "Jobs", {{"JobNo", 20004}, {"WorkName", "Bob"}}));
        QVERIFY(TestEnv::addRow(db, "Jobs", {{"JobNo", 2147483647}, {"WorkName", "Cy"}}));
        QVERIFY(TestEnv::addRow(db, "Jobs",
                                {{"JobNo", 7}, {"WorkName", "Di"}, {"HomeNumbers", "07700900123"}}));
        QVERIFY(TestEnv::addRow(db, "Jobs", {{"JobNo", 1}, {"WorkName", "Quay"}}));
        for (const Through through : {Through::Index, Through::Scan}) {
            const auto rows = searchJobs(db, text, "", "JobNo", through);
            QVERIFY2(rows, qPrintable(db.lastError().message));
            QCOMPARE(column(rows, "JobNo"), jobs);
        }
    }

    // Every way a row changes reaches the index in the same transaction.
    void rowChangesReachTheIndex() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        auto found = [&db](const QString& text) {
            return column(searchJobs(db, text, "", "JobNo"), "JobNo");
        };
        QVERIFY(TestEnv::addRow(db, "Jobs", {{"JobNo", 1}, {"WorkName", "Ørsted Wind"}}));
        QCOMPARE(found("ØRSTED"), QList<qint64>{1});
        QVERIFY(db.exec("UPDATE Jobs SET WorkName = ?, WorkNameFolded = ? WHERE JobNo = 1",
                        {"Straße", "straße"}));
        QCOMPARE(found("ørsted"), QList<qint64>{});
        QCOMPARE(found("STRAßE"), QList<qint64>{1});
        {
            Transaction tx(db);  // a change rolled back leaves the index as it was
            QVERIFY(db.exec("DELETE FROM Jobs WHERE JobNo = 1"));
        }
        QCOMPARE(found("straße"), QList<qint64>{1});
        // A row written without its folded copy (as another program or an import writes it)
        // is found once the copies are made.
        QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName) VALUES (2, 'Ærø Ferry')"));
        QCOMPARE(revisions::bringUpToDate(db), QString());
        QCOMPARE(found("ÆRØ"), QList<qint64>{2});
        QVERIFY(db.exec("DELETE FROM Jobs WHERE JobNo = 1"));
        QCOMPARE(found("straße"), QList<qint64>{});
        QCOMPARE(textindex::check(db), QString());
    }

    // An index that no longer agrees with the rows is found by the database's check and built
    // again; the searches never answer from it wrongly after that.
    void damagedIndexIsRebuilt() {
        if (TestEnv::onServer()) {
            QSKIP("the server keeps its own indexes");
        }
        TestEnv env;
        Database& db = harbourView(env);
        QVERIFY(db.exec("DROP TRIGGER JobsTextChanged"));
        QVERIFY(db.exec("UPDATE Jobs SET WorkNameFolded = 'quay side' WHERE JobNo = 1"));
        QVERIFY(!textindex::check(db).isEmpty());
        QCOMPARE(db.integrityCheck(), QString("ok"));
        QCOMPARE(textindex::check(db), QString());
        QCOMPARE(column(searchJobs(db, "QUAY", "", "JobNo"), "JobNo"), QList<qint64>{1});
        QCOMPARE(column(searchJobs(db, "harbour", "", "JobNo"), "JobNo"), QList<qint64>{});
        QVERIFY(db.exec("UPDATE Jobs SET WorkNameFolded = 'pier' WHERE JobNo = 1"));
        QCOMPARE(column(searchJobs(db, "pier", "", "JobNo"), "JobNo"), QList<qint64>{1});
    }

    // A search that meets a damaged index answers by reading the rows and leaves the rebuild,
    // with its progress, to the program's handler, told once; the rebuild makes it whole.
    void damageMetBySearchIsHandedOn() {
        if (TestEnv::onServer()) {
            QSKIP("the server keeps its own indexes");
        }
        TestEnv env;
        Database& db = harbourView(env);
        // The pages of the index's entries.
        QVERIFY(db.exec("DELETE FROM JobsText_data WHERE id > 10"));
        int told = 0;
        textindex::whenDamaged([&told] { ++told; });
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(column(searchJobs(db, "harbour", "", "JobNo"), "JobNo"), QList<qint64>{1});
        }
        QCOMPARE(told, 1);
        QVERIFY(!textindex::check(db).isEmpty());
        RebuildSearchIndex(env.app());
        textindex::whenDamaged({});
        QCOMPARE(textindex::check(db), QString());
        QCOMPARE(column(searchJobs(db, "harbour", "", "JobNo"), "JobNo"), QList<qint64>{1});
        QCOMPARE(env.prompter.count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_textindex)
#include "tst_textindex.moc"
