#include "startup/Numbers.h"

#include <QTest>
#include <cmath>

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("trailing letters") << "12ab" << 12.0;
        QTest::newRow("no digits") << "-x" << 0.0;
        QTest::newRow("blanks, sign, point") << " \t\n-3.5x" << -3.5;
        QTest::newRow("blanks inside") << "1 2" << 12.0;
        QTest::newRow("second point") << "1.2.3" << 1.2;
        QTest::newRow("D exponent") << "2d-2" << 0.02;
        QTest::newRow("bare exponent") << "7E+" << 7.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(numbers::leadingNumber(text), expected);
    }

    void isNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<double>("value");
        QTest::newRow("surrounding blanks") << "  -12.5 " << true << -12.5;
        QTest::newRow("exponent") << "+.1e3" << true << 100.0;
        QTest::newRow("blank inside") << "1 2" << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
        QTest::newRow("point alone") << "." << false << 0.0;
    }
    void isNumber() {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QFETCH(double, value);
        double read = 0;
        QCOMPARE(numbers::isNumber(text, &read), expected);
        QCOMPARE(read, value);
    }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5") << 2.5 << 0 << 2.0;
        QTest::newRow("3.5") << 3.5 << 0 << 4.0;
        QTest::newRow("-2.5") << -2.5 << 0 << -2.0;
        QTest::newRow("0.125") << 0.125 << 2 << 0.12;
        QTest::newRow("0.375") << 0.375 << 2 << 0.38;
        QTest::newRow("1.005 is below the half") << 1.005 << 2 << 1.0;
        // Both products round onto a half in double arithmetic; the exact values do not lie there.
        QTest::newRow("2.675 is below the half") << 2.675 << 2 << 2.67;
        QTest::newRow("0.025 is above the half") << 0.025 << 2 << 0.03;
        QTest::newRow("large") << 1234567.125 << 2 << 1234567.12;
        QTest::newRow("no negative zero") << -0.001 << 2 << 0.0;
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        const double rounded = numbers::roundHalfEven(value, decimals);
        QCOMPARE(rounded, expected);
        QCOMPARE(std::signbit(rounded), std::signbit(expected));
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("decimals") << 1234.5 << "#0.00" << "1234.50";
        QTest::newRow("thousands") << 1234567.891 << "#,##0.00" << "1,234,567.89";
        QTest::newRow("negative") << -1234.5 << "#,##0.00" << "-1,234.50";
        QTest::newRow("rounds to zero") << -0.004 << "#,##0.00" << "0.00";
        QTest::newRow("half even") << 1234.5 << "#,##0" << "1,234";
        QTest::newRow("no leading zero") << 0.5 << "#.0" << ".5";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(numbers::format(value, pattern), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
