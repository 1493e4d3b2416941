#include "estimates/EstimateExport.h"

#include "estimates/EstimateStore.h"
#include "records/DateFormats.h"

namespace estimates {

namespace {

const QString kDate = QStringLiteral("DateCreated");

}  // namespace

std::optional<Rows> foundEstimateRows(Database& db, const QString& text) {
    const std::optional<QList<FoundEstimate>> found = searchEstimates(db, text);
    if (!found) {
        return std::nullopt;
    }
    Rows rows({QStringLiteral("EstNo"), kDate, QStringLiteral("Name"), QStringLiteral("Address")});
    for (const FoundEstimate& estimate : *found) {
        QVariant* cells = rows.appendRow();
        cells[0] = estimate.EstNo;
        cells[1] = estimate.DateCreated;
        cells[2] = estimate.Name;
        cells[3] = estimate.Address;
    }
    return rows;
}

QList<resultexport::Column> estimateSearchColumns() {
    return {{QStringLiteral("Est No"), QStringLiteral("EstNo"), csv::Kind::Number},
            {QStringLiteral("Date"), kDate, csv::Kind::Date},
            {QStringLiteral("Name"), QStringLiteral("Name")},
            {QStringLiteral("Address"), QStringLiteral("Address")}};
}

resultexport::Outcome exportEstimates(const AppState& app, const QString& file, const Rows& found) {
    const int date = found.column(kDate);
    Rows dated(found.columns());
    const int width = int(found.columns().size());
    for (int r = 0; r < found.count(); ++r) {
        QVariant* cells = dated.appendRow();
        for (int c = 0; c < width; ++c) {
            cells[c] = found.at(r, c);
        }
        if (date >= 0) {
            const QDateTime moment = readStoredDate(app, cells[date]);
            if (moment.isValid()) {
                cells[date] = moment;
            }
        }
    }
    return resultexport::exportRows(file, estimateSearchColumns(), dated);
}

}  // namespace estimates
