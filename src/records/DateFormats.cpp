#include "records/DateFormats.h"

#include "platform/Clock.h"
#include "records/AppState.h"

void LoadDefaultDateFormat(AppState& app) {
    app.DefaultDateFormat.clear();
    const auto rows = app.DbConnection.query(
        QStringLiteral("SELECT DateFormat FROM DateFormat WHERE ") +
        app.DbConnection.dialect().quote(QStringLiteral("Default")) + QStringLiteral(" <> 0"));
    if (!rows) {
        return;
    }
    app.DefaultDateFormat =
        rows->isEmpty() ? QStringLiteral("dd/mm/yy") : rows->text(0, QStringLiteral("DateFormat"));
}

QString GetDateFormat(const AppState& app) {
    const QString format =
        app.UseSystemDateFormat ? app.locale.longDateFormat() : app.DefaultDateFormat;
    return format.trimmed();
}

DateStyle dateStyle(const AppState& app) {
    return {GetDateFormat(app), app.locale.locale(), app.locale.dateOrder(),
            app.clock.today().year()};
}

QString formatDisplayDate(const DateStyle& style, const QDateTime& moment) {
    if (!moment.isValid()) {
        return {};
    }
    return datetext::format(moment.date(), style.format, style.names);
}

QString formatDisplayDate(const AppState& app, const QDateTime& moment) {
    return formatDisplayDate(dateStyle(app), moment);
}

QString dateTimeStamp(const AppState& app) {
    const QDateTime now = app.clock.now();
    const QLocale names = app.locale.locale();
    return datetext::format(now, GetDateFormat(app), names) + QStringLiteral(", ") +
           datetext::format(now, QStringLiteral("hh:nn:ss"), names) + QStringLiteral(" :");
}

datetext::BoxCheck checkDateText(const AppState& app, const QString& text) {
    return datetext::checkBox(text, GetDateFormat(app), app.locale.dateOrder(),
                              app.clock.today().year(), app.locale.locale());
}

std::optional<QDateTime> readDateText(const DateStyle& style, const QString& text) {
    return datetext::readBox(text, style.format, style.order, style.thisYear, style.names);
}

std::optional<QDateTime> readDateText(const AppState& app, const QString& text) {
    return readDateText(dateStyle(app), text);
}

QDateTime readStoredDate(const AppState& app, const QVariant& value) {
    const QDateTime stored = datetext::fromStored(value);
    if (stored.isValid() || value.isNull()) {
        return stored;
    }
    return readDateText(app, value.toString()).value_or(QDateTime());
}
