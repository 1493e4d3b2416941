#include "setup/SetupValues.h"

#include "db/Database.h"
#include "db/TextKeys.h"

namespace setupvalues {

std::optional<Counters> readCounters(Database& db) {
    const auto rows = db.query(QStringLiteral(
        "SELECT JobCounter, FileCounter, Free2, Free3, Estimate, CurrencySign, TaxDesc "
        "FROM Counters LIMIT 1"));
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    return Counters{rows->integer(0, QStringLiteral("JobCounter")),
                    rows->integer(0, QStringLiteral("FileCounter")),
                    rows->integer(0, QStringLiteral("Free2")),
                    rows->integer(0, QStringLiteral("Estimate")),
                    rows->integer(0, QStringLiteral("Free3")),
                    rows->text(0, QStringLiteral("CurrencySign")),
                    rows->text(0, QStringLiteral("TaxDesc"))};
}

bool writeCounters(Database& db, const Counters& v, const Counters& loaded, qint64 optionMask) {
    QStringList assignments;
    QVariantList params;
    auto changed = [&](const char* column, const QVariant& value, const QVariant& before) {
        if (value != before) {
            assignments << QString::fromLatin1(column) + QStringLiteral(" = ?");
            params << value;
        }
    };
    changed("FileCounter", v.fileCounter, loaded.fileCounter);
    changed("JobCounter", v.jobCounter, loaded.jobCounter);
    changed("Free2", v.invoice, loaded.invoice);
    changed("Estimate", v.estimate, loaded.estimate);
    changed("CurrencySign", v.currencySign, loaded.currencySign);
    changed("TaxDesc", v.taxDesc, loaded.taxDesc);
    const qint64 bits = (v.options ^ loaded.options) & optionMask;
    if (bits != 0) {
        assignments << QStringLiteral("Free3 = (COALESCE(Free3, 0) & ?) | ?");
        params << ~bits << (v.options & bits);
    }
    if (assignments.isEmpty()) {
        return true;
    }
    Transaction tx(db);
    if (!tx.active()) {
        return false;
    }
    const QVariant rows = db.scalar(QStringLiteral("SELECT count(*) FROM Counters"));
    if (!rows.isValid()) {
        return false;
    }
    if (rows.toLongLong() == 0 &&
        !db.exec(QStringLiteral("INSERT INTO Counters (Free3) VALUES (0)"))) {
        return false;
    }
    return db.exec(QStringLiteral("UPDATE Counters SET ") + assignments.join(QStringLiteral(", ")),
                   params) &&
           tx.commit();
}

DateFormats LoadDateFormats(Database& db) {
    DateFormats out;
    const auto rows = db.query(
        QStringLiteral("SELECT DateFormat, ") + db.dialect().quote(QStringLiteral("Default")) +
        QStringLiteral(" AS IsDefault FROM DateFormat ORDER BY ") +
        textkeys::orderBy(QStringLiteral("DateFormat"), QStringLiteral("DateFormat")));
    if (!rows) {
        return out;
    }
    for (int i = 0; i < rows->count(); ++i) {
        const QString format = rows->text(i, QStringLiteral("DateFormat"));
        if (out.formats.isEmpty() || out.formats.last() != format) {
            out.formats << format;
        }
        if (rows->integer(i, QStringLiteral("IsDefault")) != 0) {
            out.defaultFormat = format;
        }
    }
    return out;
}

bool SaveDateFormat(Database& db, const QString& sDateFormat) {
    const QString isDefault = db.dialect().quote(QStringLiteral("Default"));
    const textkeys::Condition chosen = textkeys::equals(QStringLiteral("DateFormat"), sDateFormat);
    Transaction tx(db);
    return tx.active() &&
           db.exec(QStringLiteral("UPDATE DateFormat SET ") + isDefault +
                   QStringLiteral(" = 0 WHERE ") + isDefault + QStringLiteral(" <> 0")) &&
           db.exec(QStringLiteral("UPDATE DateFormat SET ") + isDefault +
                       QStringLiteral(" = -1 WHERE ") + chosen.sql,
                   {chosen.value}) &&
           tx.commit();
}

}  // namespace setupvalues
