#include "reports/ReportRequest.h"

#include "db/TextKeys.h"
#include "platform/Clock.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportOutput.h"

QString ReportRequest::label(const QString& name) const {
    for (const auto& [item, text] : labels) {
        if (item.compare(name, Qt::CaseInsensitive) == 0) {
            return text;
        }
    }
    return {};
}

namespace {

QString quotedFields(const Database& db, const QStringList& fields) {
    QStringList out;
    for (const QString& field : fields) {
        out << db.dialect().column(field);
    }
    return out.join(QStringLiteral(", "));
}

}  // namespace

PreparedReport prepareReport(Database& db, const ReportRequest& request,
                             QPageSize::PageSizeId paper) {
    PreparedReport out;
    std::optional<ReportDefinition> definition = reportlayouts::byName(request.layout);
    if (!definition) {
        out.error = QStringLiteral("There is no report called \"%1\".").arg(request.layout);
        return out;
    }
    definition->setText(definition->titleLabel, request.title);
    for (const auto& [item, text] : request.labels) {
        definition->setText(item, text);
    }
    if (!db.isOpen()) {
        out.error = QStringLiteral("There is no database connection");
        return out;
    }
    // The statements select every field of their rows; the report reads only those it shows.
    QString sql = request.sql;
    static const QString kEvery = QStringLiteral("SELECT * ");
    if (sql.startsWith(kEvery)) {
        sql.replace(0, kEvery.size(),
                    QStringLiteral("SELECT ") + quotedFields(db, definition->fields()) + u' ');
    }
    std::optional<Rows> rows = db.query(sql, request.params);
    if (!rows) {
        out.error = QStringLiteral("The report \"%1\" could not read its jobs:\r\n%2")
                        .arg(request.title, db.lastError().message);
        return out;
    }
    out.page = reportoutput::pageLayout(paper, definition->orientation);
    out.definition = std::move(*definition);
    out.rows = std::move(*rows);
    out.ok = true;
    return out;
}

ProducedReport produceReport(Database& db, const ReportRequest& request,
                             const ReportContext& context, QPageSize::PageSizeId paper) {
    PreparedReport prepared = prepareReport(db, request, paper);
    ProducedReport out;
    out.error = prepared.error;
    if (prepared.ok) {
        out.pages = ReportPages::layOut(std::move(prepared.definition), std::move(prepared.rows),
                                        context, prepared.page);
        out.ok = true;
    }
    return out;
}

ReportContext reportContext(const AppState& app) {
    ReportContext context;
    context.printedAt = app.clock.now();
    context.dateFormat = GetDateFormat(app);
    if (context.dateFormat.isEmpty()) {
        context.dateFormat = QStringLiteral("dd/mm/yyyy");
    }
    context.names = app.locale.locale();
    return context;
}

QList<QPair<QString, QString>> captionLabels(const CaptionSet& captions,
                                             const QList<QPair<const char*, Caption>>& labels) {
    QList<QPair<QString, QString>> out;
    for (const auto& [name, caption] : labels) {
        out.append({QString::fromLatin1(name), captions[caption]});
    }
    return out;
}

QString orderThenJobNumber(const QString& table, const QString& column) {
    const QString jobNo = QStringLiteral("JobNo");
    QString sql = QStringLiteral(" ORDER BY ");
    if (!column.isEmpty() && column != jobNo) {
        sql += textkeys::orderBy(table, column) + QStringLiteral(", ");
    }
    return sql + textkeys::orderBy(table, jobNo) + QStringLiteral(", DummyId");
}
