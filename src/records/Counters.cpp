#include "records/Counters.h"

#include "db/Database.h"
#include "db/Rows.h"
#include "platform/Prompter.h"

namespace counters {

QString column(Kind kind) {
    switch (kind) {
        case Kind::Job:
            return QStringLiteral("JobCounter");
        case Kind::Document:
            return QStringLiteral("FileCounter");
        case Kind::Invoice:
            return QStringLiteral("Free2");
        case Kind::Estimate:
            return QStringLiteral("Estimate");
    }
    return {};
}

QString caption(Kind kind) {
    switch (kind) {
        case Kind::Job:
            return QStringLiteral("job number");
        case Kind::Document:
            return QStringLiteral("document number");
        case Kind::Invoice:
            return QStringLiteral("invoice number");
        case Kind::Estimate:
            return QStringLiteral("estimate number");
    }
    return {};
}

namespace {

QString notInRange(const QString& what, const QString& typed) {
    return QStringLiteral("The %1 must be a whole number from %2 to %3; '%4' is not.")
        .arg(what)
        .arg(kLowest)
        .arg(kHighest)
        .arg(typed.trimmed());
}

}  // namespace

QString checkNext(Kind kind, qint64 value, const QString& typed) {
    if (value >= kLowest && value <= kHighest) {
        return {};
    }
    return notInRange(QStringLiteral("next ") + caption(kind), typed);
}

std::optional<qint32> askNumber(Prompter& prompter, Kind kind, const QString& prompt,
                                const QString& title) {
    for (;;) {
        const std::optional<QString> answer = prompter.input(prompt, title);
        if (!answer) {
            return std::nullopt;
        }
        if (const auto number = readWholeNumber(QString(*answer).remove(u' '))) {
            return number;
        }
        prompter.message(notInRange(caption(kind), *answer), title, Prompter::Buttons::Ok,
                         Prompter::Icon::Exclamation);
    }
}

namespace {

// The number of a document's file name ("15.doc" is 15) when the file is of the kind (invoices
// are workbooks, other documents are not), or nothing.
std::optional<qint64> fileNumber(const QString& fileName, Kind kind) {
    const qsizetype dot = fileName.indexOf(u'.');
    const QString suffix = dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
    const bool workbook = suffix == QLatin1String("XLS") || suffix == QLatin1String("XLSX");
    bool ok = false;
    const qint64 number = fileName.left(dot < 0 ? fileName.size() : dot).toLongLong(&ok);
    if (!ok || workbook != (kind == Kind::Invoice)) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::optional<qint64> highestInUse(Database& db, Kind kind) {
    if (kind == Kind::Job || kind == Kind::Estimate) {
        const QVariant highest = db.scalar(kind == Kind::Job
                                               ? QStringLiteral("SELECT max(JobNo) FROM Jobs")
                                               : QStringLiteral("SELECT max(EstNo) FROM Estimate"));
        if (!db.lastError().ok()) {
            return std::nullopt;
        }
        return highest.isNull() ? 0 : highest.toLongLong();
    }
    const std::optional<Rows> names = db.query(QStringLiteral("SELECT FileName FROM Docs"));
    if (!names) {
        return std::nullopt;
    }
    qint64 highest = 0;
    for (int r = 0; r < names->count(); ++r) {
        highest = qMax(highest, fileNumber(names->at(r, 0).toString(), kind).value_or(0));
    }
    return highest;
}

namespace {

// The counter as a whole number, or nothing when it is missing or not a number.
std::optional<qint64> storedNumber(const std::optional<Rows>& rows) {
    if (!rows || rows->isEmpty() || rows->at(0, 0).isNull()) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 value = rows->at(0, 0).toString().trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

}  // namespace

Correction correct(Database& db, Kind kind) {
    const QString field = column(kind);
    Correction done;
    // Writing first takes the write lock, so nobody takes a number between the look and the fix.
    if (!db.exec(QStringLiteral("UPDATE Counters SET %1 = %1").arg(field))) {
        done.error = db.lastError().message;
        return done;
    }
    const std::optional<Rows> rows = db.query(QStringLiteral("SELECT %1 FROM Counters").arg(field));
    const std::optional<qint64> highest = highestInUse(db, kind);
    if (!rows || !highest) {
        done.error = db.lastError().message;
        return done;
    }
    const std::optional<qint64> stored = storedNumber(rows);
    if (stored && *stored > *highest) {
        return done;
    }
    const qint64 next = qMax(*highest + 1, kLowest);
    const bool ok = rows->isEmpty()
                        ? db.exec(QStringLiteral("INSERT INTO Counters (%1) VALUES (?)").arg(field),
                                  {next})
                        : db.exec(QStringLiteral("UPDATE Counters SET %1 = ?").arg(field), {next});
    if (!ok) {
        done.error = db.lastError().message;
        return done;
    }
    const QString was = rows->isEmpty() ? QStringLiteral("missing")
                         : rows->at(0, 0).isNull()
                             ? QStringLiteral("empty")
                             : QStringLiteral("'%1'").arg(rows->at(0, 0).toString());
    done.message = QStringLiteral("%1 was %2, not above the highest %3 in use (%4): corrected to %5")
                       .arg(field, was, caption(kind))
                       .arg(*highest)
                       .arg(next);
    return done;
}

Corrections correctAll(Database& db) {
    Corrections all;
    Transaction tx(db);
    if (!tx.active()) {
        all.error = db.lastError().message;
        return all;
    }
    for (const Kind kind : {Kind::Job, Kind::Document, Kind::Invoice, Kind::Estimate}) {
        const Correction done = correct(db, kind);
        if (!done.error.isEmpty()) {
            all.error = done.error;
            return all;
        }
        if (!done.message.isEmpty()) {
            all.messages << done.message;
        }
    }
    if (!tx.commit()) {
        all.error = db.lastError().message;
    }
    return all;
}

Taken take(Database& db, Kind kind) {
    const QString field = column(kind);
    Taken taken;
    Transaction tx(db);
    if (!tx.active()) {
        taken.error = db.lastError().message;
        return taken;
    }
    // A counter that is missing, not a number or behind the numbers in use is never used as it
    // is: it is moved past the highest number in use first.
    const Correction corrected = correct(db, kind);
    if (!corrected.error.isEmpty()) {
        taken.error = corrected.error;
        return taken;
    }
    taken.corrected = corrected.message;
    // Only a counter in range moves, and never beyond what its column holds: the highest
    // number itself cannot be handed out, since the counter could not then move past it.
    if (!db.exec(QStringLiteral("UPDATE Counters SET %1 = %1 + 1 WHERE %1 BETWEEN ? AND ?")
                     .arg(field),
                 {kLowest, kHighest - 1})) {
        taken.error = db.lastError().message;
        return taken;
    }
    const bool moved = db.rowsAffected() > 0;
    const std::optional<Rows> rows = db.query(QStringLiteral("SELECT %1 FROM Counters").arg(field));
    if (!rows) {
        taken.error = db.lastError().message;
        return taken;
    }
    if (rows->isEmpty()) {
        taken.error = QStringLiteral("The database has no counters row, so no %1 can be given. "
                                     "Run 'verdell-admin check' or restore a backup.")
                          .arg(caption(kind));
        return taken;
    }
    const QVariant next = rows->at(0, 0);
    if (!moved) {
        const QString value = next.isNull() ? QStringLiteral("empty") : next.toString();
        taken.error = QStringLiteral("The next %1 stored in the database (%2) is not one a record "
                                     "can have (a whole number from %3 to %4). Please set the "
                                     "next %1 on the Counters tab of Setup.")
                          .arg(caption(kind), value)
                          .arg(kLowest)
                          .arg(kHighest);
        return taken;
    }
    if (!tx.commit()) {
        taken.error = db.lastError().message;
        return taken;
    }
    taken.number = qint32(next.toLongLong() - 1);
    return taken;
}

std::optional<qint32> readWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || trimmed.startsWith(u'+') || value < kLowest || value > kHighest) {
        return std::nullopt;
    }
    return qint32(value);
}

}  // namespace counters

counters::Taken GetCounter(Database& db, int counterType) {
    static const counters::Kind kKinds[] = {counters::Kind::Job, counters::Kind::Document,
                                            counters::Kind::Invoice};
    if (counterType < 1 || counterType > 3) {
        return {0, {}, {}};
    }
    return counters::take(db, kKinds[counterType - 1]);
}
