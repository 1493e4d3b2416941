#include "search/JobSearch.h"

#include "common/Numbers.h"
#include "db/Database.h"
#include "db/LabelTexts.h"
#include "db/TextKeys.h"

#include <cmath>
#include <limits>

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
        Caption caption;
        const char* field;
    };
    static constexpr ByCaption kByCaption[] = {{Caption::DateCreated, "DateCreated"},
                                               {Caption::DateReceived, "DateReceived"},
                                               {Caption::DateDue, "DateDue"},
                                               {Caption::CustRef, "CustRef"},
                                               {Caption::WorkName, "WorkName"}};
    for (const auto& by : kByCaption) {
        if (choice == captions[size_t(captionIndex(by.caption))]) {
            return QLatin1String(by.field);
        }
    }
    return kJobNo;
}

namespace {

// The job number a search text stands for: its leading number when that is a whole number
// the JobNo column can hold. A fraction ("20004.5") or a number beyond the column
// ("07700900123", a telephone number) stands for none.
std::optional<qint32> jobNumberIn(const QString& find) {
    const double number = numbers::leadingNumber(find);
    if (number != std::floor(number) || number < double(std::numeric_limits<qint32>::min()) ||
        number > double(std::numeric_limits<qint32>::max())) {
        return std::nullopt;
    }
    return qint32(number);
}

// The jobs a search finds, as a condition with its parameters.
textindex::Condition jobsFound(Database& db, const QString& text, const QString& status,
                               textindex::Through through) {
    const QString find = text.trimmed();
    const QString onlyStatus = status.trimmed();
    textindex::Condition found;
    if (find.isEmpty()) {
        // Jobs without a name are left out of the full list.
        found.sql = QStringLiteral("WorkName <> ''");
    } else {
        found = textindex::contains(db, QStringLiteral("Jobs"), find, {}, through);
        if (const std::optional<qint32> number = jobNumberIn(find)) {
            found.sql = QStringLiteral("(%1 OR JobNo = ?)").arg(found.sql);
            found.params << *number;
        }
    }
    if (!onlyStatus.isEmpty()) {
        const textkeys::Condition status = textkeys::equals(QStringLiteral("JobStatus"), onlyStatus);
        found.sql += QStringLiteral(" AND ") + status.sql;
        found.params << status.value;
    }
    return found;
}

const QString kFoundColumns = QStringLiteral(
    "SELECT DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, DateCreated, "
    "DateReceived, DateDue, CustRef FROM Jobs WHERE ");

QString orderClause(const QString& orderField, Qt::SortOrder direction) {
    const QString order = isOrderField(orderField) ? orderField : kJobNo;
    const QString way = direction == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString();
    // Jobs without the date (or the text) come first on both engines.
    QString by = textkeys::orderBy(QStringLiteral("Jobs"), order);
    if (!way.isEmpty()) {
        by.replace(QStringLiteral(" NULLS FIRST"), QStringLiteral(" DESC NULLS LAST"));
    }
    QString sql = QStringLiteral(" ORDER BY ") + by;
    if (order != kJobNo) {
        sql += QStringLiteral(", JobNo") + way;  // ties in a stable order
    }
    return sql + QStringLiteral(", DummyId") + way;
}

}  // namespace

resultexport::Statement jobsStatement(Database& db, const QString& text, const QString& status,
                                      const QString& orderField, Qt::SortOrder direction,
                                      textindex::Through through) {
    const textindex::Condition found = jobsFound(db, text, status, through);
    return {kFoundColumns + found.sql + orderClause(orderField, direction), found.params};
}

QList<resultexport::Column> jobSearchColumns(const std::array<QString, 36>& captions) {
    const auto caption = [&captions](Caption which) {
        return captions[size_t(captionIndex(which))];
    };
    using csv::Kind;
    return {{QStringLiteral("Company Name"), QStringLiteral("WorkName"), Kind::Text},
            {QStringLiteral("Address"), QStringLiteral("HomeAddress"), Kind::Text},
            {QStringLiteral("Telephone"), QStringLiteral("HomeNumbers"), Kind::Text},
            {QStringLiteral("Job No"), kJobNo, Kind::Number},
            {QStringLiteral("Job Status"), QStringLiteral("JobStatus"), Kind::Text},
            {caption(Caption::DateCreated), QStringLiteral("DateCreated"), Kind::Date},
            {caption(Caption::DateReceived), QStringLiteral("DateReceived"), Kind::Date},
            {caption(Caption::DateDue), QStringLiteral("DateDue"), Kind::Date},
            {caption(Caption::CustRef), QStringLiteral("CustRef"), Kind::Text}};
}

resultexport::Outcome exportJobs(Database& db, const QString& file,
                                 const QList<resultexport::Column>& columns, const QString& text,
                                 const QString& status, const QString& orderField,
                                 Qt::SortOrder direction) {
    return resultexport::exportQuery(db, file, columns, [&](textindex::Through via) {
        return jobsStatement(db, text, status, orderField, direction, via);
    });
}

std::optional<Rows> searchJobs(Database& db, const QString& text, const QString& status,
                               const QString& orderField, textindex::Through through) {
    return textindex::answer(db, [&](textindex::Through via) -> std::optional<Rows> {
        const resultexport::Statement found =
            jobsStatement(db, text, status, orderField, Qt::AscendingOrder,
                          through == textindex::Through::Scan ? through : via);
        return db.query(found.sql, found.params);
    });
}

std::optional<qint64> countJobs(Database& db, const QString& text, const QString& status) {
    const std::optional<Rows> rows =
        textindex::answer(db, [&](textindex::Through via) -> std::optional<Rows> {
            const textindex::Condition found = jobsFound(db, text, status, via);
            return db.query(QStringLiteral("SELECT count(*) FROM Jobs WHERE ") + found.sql,
                            found.params);
        });
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    return rows->at(0, 0).toLongLong();
}

std::optional<Rows> jobsBlock(Database& db, const QString& text, const QString& status,
                              const QString& orderField, Qt::SortOrder direction, qint64 offset,
                              int limit) {
    return textindex::answer(db, [&](textindex::Through via) -> std::optional<Rows> {
        resultexport::Statement found = jobsStatement(db, text, status, orderField, direction, via);
        found.params << limit << offset;
        return db.query(found.sql + QStringLiteral(" LIMIT ? OFFSET ?"), found.params);
    });
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
