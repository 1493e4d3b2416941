#include "startup/Counters.h"

#include "platform/Prompter.h"
#include "startup/Database.h"

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

Taken take(Database& db, Kind kind) {
    const QString field = column(kind);
    Taken taken;
    Transaction tx(db);
    if (!tx.active()) {
        taken.error = db.lastError().message;
        return taken;
    }
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
