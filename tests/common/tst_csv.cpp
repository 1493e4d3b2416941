#include "common/Csv.h"
#include "support/CsvReadBack.h"
#include "support/FullDisk.h"
#include "support/TestEnv.h"

#include <unistd.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

// The CSV files exports write: read back by another program's parser exactly as written, the
// agreed forms of dates and amounts, and nothing left behind by a write that fails.
class tst_csv : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Writes the records to the file: true when it was written, the error otherwise.
    static QString write(const QString& file, const Records& records) {
        csv::Writer writer;
        if (!writer.open(file)) {
            return writer.error();
        }
        for (const QStringList& record : records) {
            for (const QString& field : record) {
                writer.field(field);
            }
            writer.endRecord();
        }
        return writer.commit() ? QString() : writer.error();
    }

private Q_SLOTS:
    void valuesReadBackAsWritten_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "Ann Lee";
        QTest::newRow("comma") << "Lee, Ann";
        QTest::newRow("quotes") << "the \"Old\" Mill";
        QTest::newRow("only a quote") << "\"";
        QTest::newRow("line feed") << "1 Road\nPoole";
        QTest::newRow("CR LF") << "1 Road\r\nPoole\r\n";
        QTest::newRow("lone CR") << "a\rb";
        QTest::newRow("blanks around") << "  12 High St  ";
        QTest::newRow("non-ASCII") << "Zoë Ørsted, 東京 😀";
        QTest::newRow("empty") << "";
        QTest::newRow("formula-like") << "=1+2";
    }
    void valuesReadBackAsWritten() {
        QFETCH(QString, value);
        const QString file = dir_.filePath("values.csv");
        const Records records = {{"Name", "Next"}, {value, "after"}, {"last", value}};
        QCOMPARE(write(file, records), QString());
        QCOMPARE(readCsvBack(file), records);
        // Records end with CRLF, the last one too.
        QVERIFY(TestEnv::readFile(file).startsWith("\xEF\xBB\xBFName,Next\r\n"));
    }

    void valuesInTheAgreedForms_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<csv::Kind>("kind");
        QTest::addColumn<QString>("written");
        using csv::Kind;
        QTest::newRow("stored date")
            << QVariant("2026-03-12 00:00:00") << Kind::Date << "2026-03-12";
        QTest::newRow("stored date alone") << QVariant("2026-03-12") << Kind::Date << "2026-03-12";
        QTest::newRow("with its time")
            << QVariant("2026-03-12 14:05:09") << Kind::DateTime << "2026-03-12 14:05:09";
        QTest::newRow("T between")
            << QVariant("2026-03-12T14:05:09") << Kind::DateTime << "2026-03-12 14:05:09";
        QTest::newRow("date, no time")
            << QVariant("2026-03-12") << Kind::DateTime << "2026-03-12 00:00:00";
        QTest::newRow("QDate") << QVariant(QDate(2025, 1, 31)) << Kind::Date << "2025-01-31";
        QTest::newRow("QDateTime") << QVariant(QDateTime(QDate(2025, 1, 31), QTime(8, 0)))
                                   << Kind::DateTime << "2025-01-31 08:00:00";
        QTest::newRow("no such day") << QVariant("2026-02-31") << Kind::Date << "2026-02-31";
        QTest::newRow("not a date") << QVariant("next week") << Kind::Date << "next week";
        QTest::newRow("no date") << QVariant() << Kind::Date << "";
        QTest::newRow("money") << QVariant(1234.5) << Kind::Money << "1234.50";
        QTest::newRow("money, big") << QVariant(1234567.891) << Kind::Money << "1234567.89";
        QTest::newRow("money, negative") << QVariant(-3) << Kind::Money << "-3.00";
        QTest::newRow("money as text") << QVariant("12.5") << Kind::Money << "12.50";
        QTest::newRow("money, not a number") << QVariant("TBC") << Kind::Money << "TBC";
        QTest::newRow("whole number") << QVariant(qlonglong(40000)) << Kind::Number << "40000";
        QTest::newRow("fraction") << QVariant(2.25) << Kind::Number << "2.25";
        QTest::newRow("text") << QVariant(" as typed ") << Kind::Text << " as typed ";
    }
    void valuesInTheAgreedForms() {
        QFETCH(QVariant, value);
        QFETCH(csv::Kind, kind);
        QFETCH(QString, written);
        QCOMPARE(csv::valueText(value, kind), written);
    }

    // A write that fails leaves the file as it was (or no file) and no temporary file, and says
    // which file and why.
    void failedWriteLeavesNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder refuses it") << "read-only";
        QTest::newRow("no such folder") << "missing";
        QTest::newRow("disk full") << "full";
    }
    void failedWriteLeavesNothing() {
        QFETCH(QString, how);
        if (how == "read-only" && ::geteuid() == 0) {
            QSKIP("root writes into any folder");
        }
        const QString folder = dir_.filePath(how);
        const QString file = folder + "/export.csv";
        if (how != "missing") {
            TestEnv::writeFile(file, "kept");
        }
        if (how == "read-only") {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        Records many(20000, {"a fairly long value to fill a disk", "Zoë"});
        QString error;
        {
            std::unique_ptr<FullDisk> full(how == "full" ? new FullDisk(folder) : nullptr);
            error = write(file, many);
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(error.contains(QDir::toNativeSeparators(file)), qPrintable(error));
        QVERIFY2(error.size() > file.size() + 30, qPrintable(error));  // and the reason
        QDir left(folder);
        if (how == "missing") {
            QVERIFY(!left.exists());
            return;
        }
        QStringList files = left.entryList(QDir::Files | QDir::Hidden);
        files.removeAll("filler");  // what filled the disk
        QCOMPARE(files, QStringList{"export.csv"});
        QCOMPARE(TestEnv::readFile(file), QByteArray("kept"));
    }
};

QTEST_GUILESS_MAIN(tst_csv)
#include "tst_csv.moc"
