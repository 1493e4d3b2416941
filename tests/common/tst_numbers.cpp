#include "common/Money.h"
#include "common/Numbers.h"

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

    // Amounts read exactly and rounded once to the penny, halves away from zero.
    void money_data() {
        QTest::addColumn<QString>("quantity");  // empty: the price read alone
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a half penny") << "" << "17.675" << "17.68";
        QTest::newRow("negative half") << "" << "-0.125" << "-0.13";
        QTest::newRow("leading number") << "" << " 12.505 each" << "12.51";
        QTest::newRow("no number") << "" << "£3" << "0.00";
        QTest::newRow("exponent") << "" << "1.5e3" << "1500.00";
        QTest::newRow("past any money") << "" << "1e300" << "92233720368547758.07";
        QTest::newRow("fractional quantity") << "2.5" << "1.01" << "2.53";
        QTest::newRow("a third of three") << "0.333" << "3" << "1.00";
        QTest::newRow("eighteen digits each") << "123456789.123456789" << "0.000000001" << "0.12";
    }
    void money() {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, expected);
        const Money m = quantity.isEmpty() ? Money::fromText(price)
                                           : Money::lineAmount(quantity, price);
        QCOMPARE(m.toString(), expected);
    }

    // Prices stored by the earlier release as singles read as they were typed; doubles as
    // they are.
    void storedMoney_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("single") << double(17.675F) << "17.68";
        QTest::newRow("single tenth") << double(0.1F) << "0.10";
        QTest::newRow("double") << 17.675 << "17.68";
        QTest::newRow("exact binary") << 1048576.125 << "1048576.13";
        QTest::newRow("sum of doubles") << 0.1 + 0.2 << "0.30";
    }
    void storedMoney() {
        QFETCH(double, stored);
        QFETCH(QString, expected);
        QCOMPARE(Money::fromStored(stored).toString(), expected);
    }

    void moneyArithmetic() {
        const Money toPay = Money::fromPennies(10100);
        QCOMPARE(toPay.scaled(175, 1000).toString(), QString("17.68"));
        QCOMPARE(Money::fromPennies(-300).scaled(175, 1000).toString(), QString("-0.53"));
        QCOMPARE((toPay - Money::fromPennies(123456789)).withThousands(), QString("-1,234,466.89"));
        QCOMPARE(Money::fromPennies(5).withThousands(), QString("0.05"));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
