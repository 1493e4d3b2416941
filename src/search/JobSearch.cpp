#include "search/JobSearch.h"

#include "common/Numbers.h"
#include "db/Database.h"
#include "db/TextKeys.h"

#include <QStringList>
#include <QVariantList>

namespace {

const QString kJobNo = QStringLiteral("JobNo");

// The fields a search may be ordered by; only these ever reach the statement's text.
bool isOrderField(const QString& field) {
    static const QStringList fields = {kJobNo,
                                       QStringLiteral("JobStatus"),
                                       QStringLiteral("DateCreated"),
                                       QStringLiteral("DateReceived"),
                                       QStringLiteral("DateDue"),
                                       QStringLiteral("CustRef"),
                                       QStringLiteral("WorkName")};
    return fields.contains(field);
}

}  // namespace

QString orderFieldFor(const QString& choice, const std::array<QString, 36>& captions) {
    if (choice.isEmpty()) {
        return kJobNo;
    }
    if (choice == QLatin1String("Job Number")) {
        return kJobNo;
    }
    if (choice == QLatin1String("Job Status")) {
        return QStringLiteral("JobStatus");
    }
    struct ByCaption {
        size_t caption;
        const char* field;
    };
    static constexpr ByCaption kByCaption[] = {
        {11, "DateCreated"}, {0, "DateReceived"}, {5, "DateDue"}, {15, "CustRef"}, {2, "WorkName"}};
    for (const auto& by : kByCaption) {
        if (choice == captions[by.caption]) {
            return QLatin1String(by.field);
        }
    }
    return kJobNo;
}

std::optional<Rows> searchJobs(Database& db, const QString& text, const QString& status,
                               const QString& orderField) {
    const QString find = text.trimmed();
    const QString onlyStatus = status.trimmed();
    const QString order = isOrderField(orderField) ? orderField : kJobNo;

    QString sql = QStringLiteral(
        "SELECT DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, DateCreated, "
        "DateReceived, DateDue, CustRef FROM Jobs WHERE ");
    QVariantList params;
    if (find.isEmpty()) {
        // Jobs without a name are left out of the full list.
        sql += QStringLiteral("WorkName <> ''");
    } else {
        static const char* const kSearched[] = {"WorkDetails", "WorkName",  "HomeAddress",
                                                "HomeNumbers", "CliName",   "CliAddress",
                                                "CliNumbers",  "ClientRef", "CustRef"};
        const QString pattern = SqlDialect::containsPattern(find);
        QStringList any;
        for (const char* column : kSearched) {
            const textkeys::Condition matches = textkeys::like(QLatin1String(column), pattern);
            any << matches.sql;
            params << matches.value;
        }
        any << QStringLiteral("JobNo = ?");
        params << numbers::leadingNumber(find);
        sql += u'(' + any.join(QStringLiteral(" OR ")) + u')';
    }
    if (!onlyStatus.isEmpty()) {
        const textkeys::Condition status = textkeys::equals(QStringLiteral("JobStatus"), onlyStatus);
        sql += QStringLiteral(" AND ") + status.sql;
        params << status.value;
    }
    // Jobs without the date (or the text) come first on both engines.
    sql += QStringLiteral(" ORDER BY ") + textkeys::orderBy(QStringLiteral("Jobs"), order);
    if (order != kJobNo) {
        sql += QStringLiteral(", JobNo");  // ties in a stable order
    }
    return db.query(sql, params);
}

QString jobsFingerprint(Database& db) {
    const std::optional<Rows> rows =
        db.query(QStringLiteral("SELECT count(*), max(DummyId), sum(RowVersion) FROM Jobs"));
    if (!rows || rows->isEmpty()) {
        return {};
    }
    return QStringLiteral("%1/%2/%3")
        .arg(rows->at(0, 0).toString(), rows->at(0, 1).toString(), rows->at(0, 2).toString());
}
