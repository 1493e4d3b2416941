#include "common/DateText.h"

#include <QTest>

namespace {

const QLocale kNames(QLocale::English, QLocale::UnitedKingdom);
constexpr int kThisYear = 2025;

QDateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, n, s));
}

}  // namespace

Q_DECLARE_METATYPE(DateOrder)

class TestDateText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void format_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const QDateTime feb = at(2010, 2, 1, 14, 5, 9);
        QTest::newRow("numbers") << feb << "dd/mm/yy" << "01/02/10";
        QTest::newRow("short month") << feb << "dd mmm yyyy" << "01 Feb 2010";
        QTest::newRow("long names") << feb << "dddd, d mmmm yyyy" << "Monday, 1 February 2010";
        QTest::newRow("short weekday, M, quotes") << feb << "ddd d/M \"dd\"" << "Mon 1/2 dd";
        QTest::newRow("time") << feb << "hh:nn:ss" << "14:05:09";
        QTest::newRow("lone letters") << feb << "y yyy h" << "y 10y h";
        QTest::newRow("general") << at(2010, 2, 1) << "" << "01/02/2010";
        QTest::newRow("general, time") << feb << "" << "01/02/2010 14:05:09";
    }
    void format() {
        QFETCH(QDateTime, moment);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(datetext::format(moment, pattern, kNames), expected);
    }

    void read_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<DateOrder>("order");
        QTest::addColumn<QDateTime>("expected");
        const auto dmy = DateOrder::DayMonthYear;
        const auto mdy = DateOrder::MonthDayYear;
        const QDateTime feb = at(2010, 2, 1);
        QTest::newRow("slashes") << "01/02/2010" << dmy << feb;
        QTest::newRow("month first") << "1/2/10" << mdy << at(2010, 1, 2);
        QTest::newRow("dashes") << "1-2-2010" << dmy << feb;
        QTest::newRow("points, separator run") << " 1. 2..2010 " << dmy << feb;
        QTest::newRow("name, month-first order") << "01 Feb 2010" << mdy << feb;
        QTest::newRow("name first") << "Feb 1, 2010" << dmy << feb;
        QTest::newRow("weekday, capitals") << "Monday, 1 FEBRUARY 2010" << dmy << feb;
        QTest::newRow("ordinal") << "1st February 2010" << dmy << feb;
        QTest::newRow("year first") << "2010-02-01" << mdy << feb;
        QTest::newRow("no year") << "1/2" << dmy << at(kThisYear, 2, 1);
        QTest::newRow("time") << "01/02/2010 14:30" << dmy << at(2010, 2, 1, 14, 30);
        QTest::newRow("pm") << "01/02/2010 2:30:15 PM" << dmy << at(2010, 2, 1, 14, 30, 15);
        QTest::newRow("leap day") << "29/02/2012" << dmy << at(2012, 2, 29);
        // Two-digit years fall within the 50 years before and the 49 after this year.
        QTest::newRow("two digits, 49 years on") << "1/2/" + QString::number((kThisYear + 49) % 100)
                                                 << dmy << at(kThisYear + 49, 2, 1);
        QTest::newRow("two digits, 50 years back") << "1/2/" + QString::number((kThisYear + 50) % 100)
                                                   << dmy << at(kThisYear - 50, 2, 1);
        QTest::newRow("two digits, this year") << "1/2/" + QString::number(kThisYear % 100)
                                               << dmy << at(kThisYear, 2, 1);
        QTest::newRow("three-digit year") << "1/2/999" << dmy << at(999, 2, 1);
        for (const char* text : {"", "31/02/2010", "29/02/2011", "13/13/2010", "abc", "1/2/3/4",
                                 "10:30", "00/01/2010", "1/2/10000", "1/2/3", "1 st Feb 2010",
                                 "01/02/2010 13:00 pm", "01/02/2010 14:30 x"}) {
            QTest::addRow("not a date: %s", text) << text << dmy << QDateTime();
        }
    }
    void read() {
        QFETCH(QString, text);
        QFETCH(DateOrder, order);
        QFETCH(QDateTime, expected);
        QCOMPARE(datetext::read(text, order, kThisYear, kNames).value_or(QDateTime()), expected);
    }

    void localNames() {
        const QLocale french(QLocale::French, QLocale::France);
        const auto moment =
            datetext::read("lundi 1 févr. 2010", DateOrder::DayMonthYear, kThisYear, french);
        QCOMPARE(moment.value_or(QDateTime()), at(2010, 2, 1));
    }

    void orderOf_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("expected");  // -1 for none
        QTest::newRow("day first") << "dddd, d mmmm yyyy" << int(DateOrder::DayMonthYear);
        QTest::newRow("month first") << "mmm dd yy" << int(DateOrder::MonthDayYear);
        QTest::newRow("year first") << "yyyy-MM-dd" << int(DateOrder::YearMonthDay);
        QTest::newRow("weekday, quoted d") << "ddd \"d\" mmm yyyy" << -1;
        QTest::newRow("no such order") << "mm yyyy dd" << -1;
    }
    void orderOf() {
        QFETCH(QString, pattern);
        QFETCH(int, expected);
        const auto order = datetext::orderOf(pattern);
        QCOMPARE(order ? int(*order) : -1, expected);
    }

    void checkBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << "  " << "dd/mm/yyyy" << true << "";
        QTest::newRow("six, month-first pattern") << " 010210 " << "mm/dd/yyyy" << true << "02/01/2010";
        QTest::newRow("six, not a date") << "311310" << "dd/mm/yy" << false << "311310";
        QTest::newRow("typed day first") << "2/1/2010" << "mm/dd/yyyy" << true << "01/02/2010";
        QTest::newRow("time dropped") << "1/2/2010 14:30" << "dd/mm/yyyy" << true << "01/02/2010";
        QTest::newRow("keeps text") << " 31/02/2010 " << "dd/mm/yyyy" << false << " 31/02/2010 ";
    }
    void checkBox() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, valid);
        QFETCH(QString, shown);
        const auto check =
            datetext::checkBox(text, pattern, DateOrder::DayMonthYear, kThisYear, kNames);
        QCOMPARE(check.valid, valid);
        QCOMPARE(check.text, shown);
    }

    // A date shown in any pattern survives the box's check, whichever order the system types in.
    void roundTrip_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<DateOrder>("order");
        for (const char* pattern :
             {"d mm yy", "d mmm yyyy", "d/m/yy", "d/m/yyyy", "d/mm/yy", "dd mm yy", "dd mm yyyy",
              "dd mmm yy", "mm d yy", "mm dd yyyy", "mm/dd/yy", "mm/dd/yyyy", "mmm dd yy",
              "mmm/dd/yy", "mmm/dd/yyyy", "dd/mm/yy", "dd/mm/yyyy", "dd/mmm/yyyy", "dd/mmm/yy",
              "dd mmm yyyy", "dddd, d mmmm yyyy"}) {
            QTest::addRow("%s, day first", pattern) << pattern << DateOrder::DayMonthYear;
            QTest::addRow("%s, month first", pattern) << pattern << DateOrder::MonthDayYear;
        }
    }
    void roundTrip() {
        QFETCH(QString, pattern);
        QFETCH(DateOrder, order);
        for (const QDate date : {QDate(2010, 2, 1), QDate(2025, 11, 12), QDate(1999, 12, 31),
                                 QDate(2003, 4, 5), QDate(2012, 9, 10)}) {
            const QString shown = datetext::format(date, pattern, kNames);
            const auto check = datetext::checkBox(shown, pattern, order, kThisYear, kNames);
            QVERIFY2(check.valid, qPrintable(shown));
            QCOMPARE(check.text, shown);
            const auto moment = datetext::readBox(shown, pattern, order, kThisYear, kNames);
            QCOMPARE(moment.value_or(QDateTime()).date(), date);
        }
    }

    void stored_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime moment = at(2010, 2, 1, 14, 30, 5);
        QTest::newRow("stored") << QVariant("2010-02-01 14:30:05") << moment;
        QTest::newRow("with T") << QVariant("2010-02-01T14:30:05") << moment;
        QTest::newRow("date") << QVariant(QDate(2010, 2, 1)) << at(2010, 2, 1);
        QTest::newRow("null") << QVariant() << QDateTime();
        QTest::newRow("no such day") << QVariant("2010-02-31") << QDateTime();
        QTest::newRow("day alone, blanks around") << QVariant(" 2010-02-01 ") << at(2010, 2, 1);
        QTest::newRow("no such hour") << QVariant("2010-02-01 24:00:00") << QDateTime();
        QTest::newRow("other separator") << QVariant("2010/02/01 14:30:05") << QDateTime();
        QTest::newRow("seconds missing") << QVariant("2010-02-01 14:30") << QDateTime();
    }
    void stored() {
        QFETCH(QVariant, value);
        QFETCH(QDateTime, expected);
        QCOMPARE(datetext::fromStored(value), expected);
        if (expected.isValid()) {
            QCOMPARE(datetext::fromStored(datetext::toStored(expected)), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"
