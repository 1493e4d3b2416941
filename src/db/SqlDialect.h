#pragma once

#include <QString>

// What differs between the database engines, kept out of the statements the screens run.
// Statements are written in portable SQL; the few pieces that differ come from here.
class SqlDialect {
public:
    enum class Engine { SQLite, PostgreSQL };

    explicit SqlDialect(Engine engine = Engine::SQLite) : engine_(engine) {}
    Engine engine() const { return engine_; }

    // An autonumber primary key column type.
    QString identity() const;
    // A text column. Text is matched and sorted through the values kept beside it (TextKeys.h),
    // never through a collation of the engine.
    QString text() const { return QStringLiteral("TEXT"); }
    // A text column that compares and sorts byte by byte (UTF-8) on both engines.
    QString exactText() const;
    // Bytes, compared and sorted byte by byte.
    QString bytes() const;
    QString integer() const { return QStringLiteral("INTEGER"); }
    // A floating-point number of double precision (an engine's REAL may be single).
    QString real() const;
    // Dates and times, stored as "yyyy-MM-dd hh:mm:ss" text.
    QString dateTime() const { return QStringLiteral("TEXT"); }
    // A name that is also a keyword of SQL ("Index", "Text", "Date", "Default").
    QString quote(const QString& name) const;
    // A column of ours named as a statement must: quoted, in the schema's spelling, where the
    // name is one of those keywords, as it is otherwise (a quoted name keeps its case on the
    // server, where the schema's unquoted names are folded).
    QString column(const QString& name) const;
    // Patterns that find the text anywhere in a value, or at its start, with every "%", "_" and
    // "\" in the text taken literally.
    static QString containsPattern(const QString& text);
    static QString startsWithPattern(const QString& text);
    // The whole days from the date in the column (time of day ignored) to a date bound as the
    // next parameter ("yyyy-MM-dd"): negative for a later date, null when the column holds none.
    QString daysUntil(const QString& column) const;
    // A hidden column that tells apart the rows of a table without a key of its own, even equal
    // ones, and orders them as they were added (for the short pick lists).
    QString rowKey() const;
    // The order the entries of a short pick list (statuses, introducers, document types,
    // engineers, stock) were added in: the row's own number in the embedded file, which the
    // program never renumbers, and on the server the identity those lists carry there (the
    // server moves a row whenever it is updated or the table is tidied).
    QString entryOrder() const;

    // Starts a transaction that is going to write, taking the write lock at once so that two
    // workstations never both read a counter and then both try to write it.
    QString beginWrite() const;

    // What follows an INSERT so that it gives the new row's DummyId, or an empty text where the
    // engine tells it otherwise.
    QString returningId() const;

private:
    Engine engine_;
};
