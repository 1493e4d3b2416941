#include "common/DateText.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>

namespace datetext {
namespace {

// ---- Patterns ----

enum class Field {
    Literal,
    Day,
    Day2,
    WeekdayShort,
    WeekdayLong,
    Month,
    Month2,
    MonthShort,
    MonthLong,
    Year2,
    Year4,
    Hour,
    Minute,
    Second
};

struct Piece {
    Field field = Field::Literal;
    QString literal;
};

// Longest first for each letter, so that "dddd" is one weekday name and not two days. A lone
// "y" is not a token and stands for itself; "yyy" is "yy" followed by a literal "y". Likewise a
// lone "h", "n" or "s".
constexpr std::array<std::pair<std::string_view, Field>, 13> kTokens{{
    {"dddd", Field::WeekdayLong},
    {"ddd", Field::WeekdayShort},
    {"dd", Field::Day2},
    {"d", Field::Day},
    {"mmmm", Field::MonthLong},
    {"mmm", Field::MonthShort},
    {"mm", Field::Month2},
    {"m", Field::Month},
    {"yyyy", Field::Year4},
    {"yy", Field::Year2},
    {"hh", Field::Hour},
    {"nn", Field::Minute},
    {"ss", Field::Second},
}};

bool tokenAt(const QString& pattern, qsizetype at, std::string_view token) {
    if (at + qsizetype(token.size()) > pattern.size()) {
        return false;
    }
    for (size_t k = 0; k < token.size(); ++k) {
        const QChar c = pattern[at + qsizetype(k)];
        if ((c == u'M' ? u'm' : c) != QLatin1Char(token[k])) {
            return false;
        }
    }
    return true;
}

QList<Piece> splitPattern(const QString& pattern) {
    QList<Piece> pieces;
    qsizetype at = 0;
    while (at < pattern.size()) {
        if (pattern[at] == u'"') {
            // An unclosed quote runs to the end of the pattern.
            qsizetype close = pattern.indexOf(u'"', at + 1);
            if (close < 0) {
                close = pattern.size();
            }
            pieces.append({Field::Literal, pattern.mid(at + 1, close - at - 1)});
            at = close + 1;
            continue;
        }
        const auto token = std::find_if(kTokens.begin(), kTokens.end(), [&](const auto& t) {
            return tokenAt(pattern, at, t.first);
        });
        if (token == kTokens.end()) {
            pieces.append({Field::Literal, pattern.mid(at, 1)});
            ++at;
        } else {
            pieces.append({token->second, {}});
            at += qsizetype(token->first.size());
        }
    }
    return pieces;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString fieldText(const Piece& piece, QDate date, QTime time, const QLocale& names) {
    switch (piece.field) {
        case Field::Literal:
            return piece.literal;
        case Field::Day:
            return QString::number(date.day());
        case Field::Day2:
            return twoDigits(date.day());
        case Field::WeekdayShort:
            return names.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        case Field::WeekdayLong:
            return names.dayName(date.dayOfWeek(), QLocale::LongFormat);
        case Field::Month:
            return QString::number(date.month());
        case Field::Month2:
            return twoDigits(date.month());
        case Field::MonthShort:
            return names.monthName(date.month(), QLocale::ShortFormat);
        case Field::MonthLong:
            return names.monthName(date.month(), QLocale::LongFormat);
        case Field::Year2:
            return twoDigits(date.year() % 100);
        case Field::Year4:
            return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        case Field::Hour:
            return twoDigits(time.hour());
        case Field::Minute:
            return twoDigits(time.minute());
        case Field::Second:
            return twoDigits(time.second());
    }
    return {};
}

// Date and time apart, so that a date alone never depends on whether local midnight exists.
QString formatParts(QDate date, QTime time, const QString& pattern, const QLocale& names) {
    if (!date.isValid()) {
        return {};
    }
    if (pattern.isEmpty()) {
        const QString day = names.toString(date, QLocale::ShortFormat);
        return time == QTime(0, 0) ? day : day + u' ' + time.toString(QStringLiteral("hh:mm:ss"));
    }
    QString out;
    for (const Piece& piece : splitPattern(pattern)) {
        out += fieldText(piece, date, time, names);
    }
    return out;
}

// ---- Reading ----

// A typed text in pieces: runs of digits, runs of letters and colons. Separators fall away.
struct Item {
    enum Kind { Number, Word, Colon } kind;
    QString text;
    qsizetype start = 0;
    qsizetype end = 0;
};
using Items = std::span<const Item>;

bool isSeparator(QChar c) {
    return c == u'/' || c == u'-' || c == u'.' || c == u',' || c.isSpace();
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

std::optional<QList<Item>> split(const QString& text) {
    QList<Item> items;
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        if (isSeparator(c)) {
            ++at;
            continue;
        }
        if (c == u':') {
            items.append({Item::Colon, {}, at, at + 1});
            ++at;
            continue;
        }
        if (!isDigit(c) && !c.isLetter()) {
            return std::nullopt;
        }
        const bool digits = isDigit(c);
        qsizetype end = at;
        while (end < text.size() && (digits ? isDigit(text[end]) : text[end].isLetter())) {
            ++end;
        }
        // No day, month, time or accepted year needs more than four digits.
        if (digits && end - at > 4) {
            return std::nullopt;
        }
        items.append({digits ? Item::Number : Item::Word, text.mid(at, end - at), at, end});
        at = end;
    }
    return items;
}

// Short names may end with a point ("févr."), which the typed text loses as a separator.
bool sameName(const QString& word, QString name) {
    if (name.endsWith(u'.')) {
        name.chop(1);
    }
    return !name.isEmpty() && word.compare(name, Qt::CaseInsensitive) == 0;
}

// The month (1 to 12) a word names in the given locale or in English, or 0.
int monthNamed(const QString& word, const QLocale& names) {
    for (const QLocale& locale : {names, QLocale::c()}) {
        for (int month = 1; month <= 12; ++month) {
            for (const auto form : {QLocale::LongFormat, QLocale::ShortFormat}) {
                if (sameName(word, locale.monthName(month, form)) ||
                    sameName(word, locale.standaloneMonthName(month, form))) {
                    return month;
                }
            }
        }
    }
    return 0;
}

bool isWeekday(const QString& word, const QLocale& names) {
    for (const QLocale& locale : {names, QLocale::c()}) {
        for (int day = 1; day <= 7; ++day) {
            for (const auto form : {QLocale::LongFormat, QLocale::ShortFormat}) {
                if (sameName(word, locale.dayName(day, form)) ||
                    sameName(word, locale.standaloneDayName(day, form))) {
                    return true;
                }
            }
        }
    }
    return false;
}

// "st", "nd", "rd" or "th" written straight after a number: "1st".
bool isOrdinalSuffix(Items items, size_t at) {
    static const QStringList suffixes{QStringLiteral("st"), QStringLiteral("nd"),
                                      QStringLiteral("rd"), QStringLiteral("th")};
    return at > 0 && items[at - 1].kind == Item::Number && items[at - 1].end == items[at].start &&
           suffixes.contains(items[at].text, Qt::CaseInsensitive);
}

// Two digits name the year within the 50 years before and the 49 after the reference year;
// other years are taken as written, from 100 to 9999 (a one-digit year or "099" is too unclear
// to guess).
std::optional<int> yearOf(const Item& number, int referenceYear) {
    const int value = number.text.toInt();
    if (number.text.size() == 2) {
        const int first = referenceYear - 50;
        return first + ((value - first) % 100 + 100) % 100;
    }
    if (value < 100 || value > 9999) {
        return std::nullopt;
    }
    return value;
}

std::optional<QDate> dateOf(std::optional<int> year, int month, int day) {
    if (!year || !QDate::isValid(*year, month, day)) {
        return std::nullopt;
    }
    return QDate(*year, month, day);
}

// A number of more than two digits can only be a year.
bool looksLikeYear(const Item& number) {
    return number.text.size() > 2;
}

// Numbers beside a month name: the day, and perhaps the year.
std::optional<QDate> namedMonthDate(const QList<Item>& numbers, int month, DateOrder order,
                                    int referenceYear) {
    if (numbers.size() == 1) {
        return dateOf(referenceYear, month, numbers[0].text.toInt());
    }
    if (numbers.size() != 2) {
        return std::nullopt;
    }
    const bool yearFirst = looksLikeYear(numbers[0]) ||
                           (order == DateOrder::YearMonthDay && !looksLikeYear(numbers[1]));
    const Item& year = numbers[yearFirst ? 0 : 1];
    const Item& day = numbers[yearFirst ? 1 : 0];
    return dateOf(yearOf(year, referenceYear), month, day.text.toInt());
}

std::optional<QDate> numericDate(const QList<Item>& numbers, DateOrder order, int referenceYear) {
    if (numbers.size() == 2) {
        const bool dayFirst = order == DateOrder::DayMonthYear;
        return dateOf(referenceYear, numbers[dayFirst ? 1 : 0].text.toInt(),
                      numbers[dayFirst ? 0 : 1].text.toInt());
    }
    if (numbers.size() != 3) {
        return std::nullopt;
    }
    if (looksLikeYear(numbers[0])) {
        order = DateOrder::YearMonthDay;
    }
    // Positions of the day, month and year.
    const auto [d, m, y] = order == DateOrder::DayMonthYear   ? std::array{0, 1, 2}
                           : order == DateOrder::MonthDayYear ? std::array{1, 0, 2}
                                                              : std::array{2, 1, 0};
    return dateOf(yearOf(numbers[y], referenceYear), numbers[m].text.toInt(),
                  numbers[d].text.toInt());
}

std::optional<QDate> readDate(Items items, DateOrder order, int referenceYear,
                              const QLocale& names) {
    QList<Item> numbers;
    int month = 0;
    for (size_t at = 0; at < items.size(); ++at) {
        const Item& item = items[at];
        if (item.kind == Item::Number) {
            numbers.append(item);
            continue;
        }
        if (item.kind == Item::Colon) {
            return std::nullopt;
        }
        if (isOrdinalSuffix(items, at)) {
            continue;
        }
        // A month first: in some languages a short weekday and a short month are spelt alike.
        const int named = month == 0 ? monthNamed(item.text, names) : 0;
        if (named != 0) {
            month = named;
        } else if (!isWeekday(item.text, names)) {
            return std::nullopt;
        }
    }
    return month != 0 ? namedMonthDate(numbers, month, order, referenceYear)
                      : numericDate(numbers, order, referenceYear);
}

// 0 for AM, 12 for PM, in English or in the locale.
std::optional<int> halfDay(const QString& word, const QLocale& names) {
    for (const QLocale& locale : {names, QLocale::c()}) {
        if (sameName(word, locale.amText())) {
            return 0;
        }
        if (sameName(word, locale.pmText())) {
            return 12;
        }
    }
    return std::nullopt;
}

// h:mm or h:mm:ss, then perhaps AM or PM; nothing at all is midnight.
std::optional<QTime> readTime(Items items, const QLocale& names) {
    if (items.empty()) {
        return QTime(0, 0);
    }
    QList<int> parts;
    size_t at = 0;
    while (true) {
        if (at == items.size() || items[at].kind != Item::Number || parts.size() == 3) {
            return std::nullopt;
        }
        parts.append(items[at++].text.toInt());
        if (at == items.size() || items[at].kind != Item::Colon) {
            break;
        }
        ++at;
    }
    int hour = parts[0];
    if (at < items.size() && items[at].kind == Item::Word) {
        const auto half = halfDay(items[at++].text, names);
        if (!half || hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour = hour % 12 + *half;
    }
    if (at != items.size() || !QTime::isValid(hour, parts[1], parts.value(2))) {
        return std::nullopt;
    }
    return QTime(hour, parts[1], parts.value(2));
}

// Only the three orders a typed date can be read in; a pattern such as "mm yyyy dd" has none.
std::optional<DateOrder> orderOfPositions(qsizetype day, qsizetype month, qsizetype year) {
    if (day < month && month < year) {
        return DateOrder::DayMonthYear;
    }
    if (month < day && day < year) {
        return DateOrder::MonthDayYear;
    }
    if (year < month && month < day) {
        return DateOrder::YearMonthDay;
    }
    return std::nullopt;
}

// The number written in count digits from the position, or false where one is not a digit.
bool digitsAt(QStringView text, qsizetype from, qsizetype count, int* number) {
    int n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return false;
        }
        n = n * 10 + (c - u'0');
    }
    *number = n;
    return true;
}

}  // namespace

QString format(const QDateTime& moment, const QString& pattern, const QLocale& names) {
    return formatParts(moment.date(), moment.time(), pattern, names);
}

QString format(const QDate& date, const QString& pattern, const QLocale& names) {
    return formatParts(date, QTime(0, 0), pattern, names);
}

std::optional<QDateTime> read(const QString& text, DateOrder order, int referenceYear,
                              const QLocale& names) {
    const auto items = split(text);
    if (!items) {
        return std::nullopt;
    }
    // The time begins at the first number followed by a colon.
    const Items all(items->constData(), size_t(items->size()));
    size_t timeStart = 0;
    while (timeStart < all.size() &&
           !(all[timeStart].kind == Item::Number && timeStart + 1 < all.size() &&
             all[timeStart + 1].kind == Item::Colon)) {
        ++timeStart;
    }
    const auto date = readDate(all.first(timeStart), order, referenceYear, names);
    const auto time = readTime(all.subspan(timeStart), names);
    if (!date || !time) {
        return std::nullopt;
    }
    return QDateTime(*date, *time);
}

std::optional<DateOrder> orderOf(const QString& pattern) {
    qsizetype day = -1;
    qsizetype month = -1;
    qsizetype year = -1;
    const QList<Piece> pieces = splitPattern(pattern);
    for (qsizetype at = 0; at < pieces.size(); ++at) {
        switch (pieces[at].field) {
            case Field::Day:
            case Field::Day2:
                day = day < 0 ? at : day;
                break;
            case Field::Month:
            case Field::Month2:
            case Field::MonthShort:
            case Field::MonthLong:
                month = month < 0 ? at : month;
                break;
            case Field::Year2:
            case Field::Year4:
                year = year < 0 ? at : year;
                break;
            default:
                break;
        }
    }
    if (day < 0 || month < 0 || year < 0) {
        return std::nullopt;
    }
    return orderOfPositions(day, month, year);
}

std::optional<QDateTime> readBox(const QString& text, const QString& pattern, DateOrder order,
                                 int referenceYear, const QLocale& names) {
    const QString typed = text.trimmed();
    if (typed.size() == 6) {
        const QString spaced = typed.left(2) + u'/' + typed.mid(2, 2) + u'/' + typed.mid(4, 2);
        return read(spaced, DateOrder::DayMonthYear, referenceYear, names);
    }
    // A date shown month first must not flip when it is read back day first.
    if (const auto shown = orderOf(pattern)) {
        const auto moment = read(typed, *shown, referenceYear, names);
        if (moment && format(*moment, pattern, names) == typed) {
            return moment;
        }
    }
    return read(typed, order, referenceYear, names);
}

BoxCheck checkBox(const QString& text, const QString& pattern, DateOrder order, int referenceYear,
                  const QLocale& names) {
    if (text.trimmed().isEmpty()) {
        return {true, {}, {}};
    }
    if (const auto moment = readBox(text, pattern, order, referenceYear, names)) {
        return {true, format(moment->date(), pattern, names), *moment};
    }
    return {false, text, {}};
}

QString toStored(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

std::optional<StoredParts> readStoredForm(QStringView text) {
    int year = 0, month = 0, day = 0;
    if ((text.size() != 10 && text.size() != 19) || text[4] != u'-' || text[7] != u'-' ||
        !digitsAt(text, 0, 4, &year) || !digitsAt(text, 5, 2, &month) ||
        !digitsAt(text, 8, 2, &day) || !QDate::isValid(year, month, day)) {
        return std::nullopt;
    }
    StoredParts parts{QDate(year, month, day), std::nullopt};
    if (text.size() == 10) {
        return parts;
    }
    int hour = 0, minute = 0, second = 0;
    if ((text[10] != u' ' && text[10] != u'T') || text[13] != u':' || text[16] != u':' ||
        !digitsAt(text, 11, 2, &hour) || !digitsAt(text, 14, 2, &minute) ||
        !digitsAt(text, 17, 2, &second) || !QTime::isValid(hour, minute, second)) {
        return std::nullopt;
    }
    parts.time = QTime(hour, minute, second);
    return parts;
}

QDateTime fromStored(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime();
    }
    if (value.typeId() == QMetaType::QDate) {
        return QDateTime(value.toDate(), QTime(0, 0));
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        return {};
    }
    if (const std::optional<StoredParts> parts = readStoredForm(text)) {
        return QDateTime(parts->date, parts->time.value_or(QTime(0, 0)));
    }
    // What the quick reader refuses, Qt's reader of the same forms has the last word on.
    for (const char* form : {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd'T'hh:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime moment = QDateTime::fromString(text, QLatin1String(form));
        if (moment.isValid()) {
            return moment;
        }
    }
    return {};
}

}  // namespace datetext
