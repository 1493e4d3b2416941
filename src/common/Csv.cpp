#include "common/Csv.h"

#include "common/DateText.h"
#include "common/Money.h"

#include <QDate>
#include <QDir>
#include <optional>

namespace csv {

namespace {

// Bytes gathered before they go to the file.
constexpr qsizetype kFlushBytes = 1 << 16;

// The stored form "yyyy-MM-dd[ hh:mm:ss]" (a "T" for the blank also read), written without
// making a QDateTime of it: the common case, and a quick one.
std::optional<QString> storedDate(QStringView text, Kind kind) {
    const std::optional<datetext::StoredParts> parts = datetext::readStoredForm(text);
    if (!parts) {
        return std::nullopt;
    }
    if (kind == Kind::Date) {
        return text.left(10).toString();
    }
    if (!parts->time) {
        return text.toString() + QStringLiteral(" 00:00:00");
    }
    return text.left(10).toString() + u' ' + text.mid(11).toString();
}

QString dateText(const QVariant& value, Kind kind) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (std::optional<QString> written = storedDate(text, kind)) {
            return *written;
        }
    }
    const QDateTime moment = datetext::fromStored(value);
    if (!moment.isValid()) {
        return value.toString();
    }
    return moment.toString(kind == Kind::Date ? QStringLiteral("yyyy-MM-dd")
                                              : QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

bool isNumeric(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

bool isWhole(const QVariant& value) {
    return isNumeric(value) && value.typeId() != QMetaType::Double &&
           value.typeId() != QMetaType::Float;
}

QString moneyText(const QVariant& value) {
    if (isNumeric(value)) {
        return Money::fromStored(value.toDouble()).toString();
    }
    const QString text = value.toString().trimmed();
    bool number = false;
    const double amount = text.toDouble(&number);
    return number ? Money::fromStored(amount).toString() : value.toString();
}

QString numberText(const QVariant& value) {
    if (isWhole(value)) {
        return QString::number(value.toLongLong());
    }
    if (isNumeric(value)) {
        return QString::number(value.toDouble(), 'g', 15);
    }
    return value.toString();
}

// Whether a field must be quoted to be read back as it is.
bool needsQuotes(QStringView text) {
    if (text.isEmpty()) {
        return false;
    }
    if (text.front().isSpace() || text.back().isSpace()) {
        return true;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'"' || u == u'\r' || u == u'\n') {
            return true;
        }
    }
    return false;
}

}  // namespace

QString valueText(const QVariant& value, Kind kind) {
    if (value.isNull()) {
        return {};
    }
    switch (kind) {
        case Kind::Date:
        case Kind::DateTime:
            return dateText(value, kind);
        case Kind::Money:
            return moneyText(value);
        case Kind::Number:
            return numberText(value);
        case Kind::Text:
            break;
    }
    return value.toString();
}

bool Writer::open(const QString& file) {
    error_.clear();
    buffer_.clear();
    recordStarted_ = false;
    file_.setFileName(file);
    if (!file_.open(QIODevice::WriteOnly)) {
        return failed(file_.errorString());
    }
    buffer_ = QByteArrayLiteral("\xEF\xBB\xBF");
    return true;
}

void Writer::field(QStringView text) {
    if (recordStarted_) {
        buffer_ += ',';
    }
    recordStarted_ = true;
    if (!needsQuotes(text)) {
        buffer_ += text.toUtf8();
        return;
    }
    buffer_ += '"';
    buffer_ += text.toString().replace(u'"', QStringLiteral("\"\"")).toUtf8();
    buffer_ += '"';
}

bool Writer::endRecord() {
    buffer_ += "\r\n";
    recordStarted_ = false;
    return buffer_.size() < kFlushBytes ? error_.isEmpty() : flush();
}

bool Writer::flush() {
    if (!error_.isEmpty()) {
        return false;
    }
    if (!file_.isOpen()) {
        return failed(QStringLiteral("it is not open"));
    }
    if (file_.write(buffer_) != buffer_.size()) {
        return failed(file_.errorString());
    }
    buffer_.clear();
    return true;
}

bool Writer::commit() {
    if (!flush()) {
        return false;
    }
    if (!file_.commit()) {
        return failed(file_.errorString());
    }
    return true;
}

void Writer::cancel() {
    buffer_.clear();
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();  // closes it, leaving the file as it was
    }
}

bool Writer::failed(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = QStringLiteral("The file %1 could not be written: %2.")
                     .arg(QDir::toNativeSeparators(file_.fileName()), reason);
    }
    cancel();
    return false;
}

}  // namespace csv
