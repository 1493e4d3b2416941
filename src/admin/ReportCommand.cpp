#include "admin/ReportCommand.h"

#include "platform/Clock.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/DateFormats.h"
#include "reports/InvoicingReports.h"
#include "reports/JobAgeReport.h"
#include "reports/JobStatusReport.h"
#include "reports/MarketingReport.h"
#include "reports/ReportExport.h"
#include "reports/ReportOutput.h"

#include <QHash>

namespace admin {

QString reportUsage() {
    return QStringLiteral(
        "  report NAME [options] --pdf FILE | --csv FILE\n"
        "          produce a report as a PDF file, or its rows as a CSV file (a column for each\n"
        "          field, headed as the report heads it), with the choices its screen offers:\n"
        "            awaiting-invoicing, awaiting-payment\n"
        "            job-age [--days N] [--date CAPTION] [--status S] [--introducer I]\n"
        "                    [--sort CAPTION] [--group yes|no]\n"
        "            job-report [--status S|\"All Current Jobs\"|\"All Closed Jobs\"|\"All "
        "Jobs\"]\n"
        "                    [--order \"Job Number\"|\"Job Date\"|\"Job Status\"]\n"
        "            marketing [--from DATE] [--to DATE] [--date CAPTION] [--status S]\n"
        "                    [--introducer I] [--group yes|no] [--order CAPTION]\n"
        "          and for any of them --paper A4|Letter\n");
}

namespace {

struct Options {
    QHash<QString, QString> values;
    QString unknown;

    QString get(const char* name, const QString& otherwise) const {
        return values.value(QString::fromLatin1(name), otherwise);
    }
};

Options parse(const QStringList& arguments) {
    static const QStringList kKnown = {"--pdf",   "--csv",    "--paper",      "--days",
                                       "--date",  "--status", "--introducer", "--sort",
                                       "--group", "--order",  "--from",       "--to"};
    Options out;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        if (!kKnown.contains(arguments[i]) || i + 1 >= arguments.size()) {
            out.unknown = arguments[i];
            break;
        }
        out.values.insert(arguments[i], arguments[i + 1]);
    }
    return out;
}

std::optional<JobReportOrder> jobReportOrder(const QString& text) {
    if (text == QLatin1String("Job Number")) {
        return JobReportOrder::JobNumber;
    }
    if (text == QLatin1String("Job Date")) {
        return JobReportOrder::JobDate;
    }
    if (text == QLatin1String("Job Status")) {
        return JobReportOrder::JobStatus;
    }
    return std::nullopt;
}

// The choices the job age and date-range reports share.
template <typename Choice>
void takeCommon(const Options& options, Choice& choice) {
    choice.dateCaption = options.get("--date", choice.dateCaption);
    choice.status = options.get("--status", choice.status);
    choice.introducer = options.get("--introducer", choice.introducer);
    choice.grouped = options.get("--group", QStringLiteral("yes"))
                         .compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

// The captions a choice of the report's screen offers: the dates, the sort orders of the job
// age report and the orders of the marketing report.
QStringList offered(const AppState& app, const QString& option, const QString& name) {
    const auto& c = app.FieldCaptions;
    if (option == QLatin1String("--date")) {
        return {c[Caption::DateCompleted], c[Caption::DateReceived], c[Caption::DateDue],
                c[Caption::DateCreated], c[Caption::DateQuoted]};
    }
    if (name == QLatin1String("job-age")) {
        return {c[Caption::DateCompleted], c[Caption::DateQuoted],   c[Caption::DateDue],
                c[Caption::DateReceived],  c[Caption::ClientJobNo],  c[Caption::ClientJobStatus],
                c[Caption::IntroducedBy],  QStringLiteral("Job Age")};
    }
    return {c[Caption::DateCreated],  c[Caption::DateQuoted],   c[Caption::DateDue],
            c[Caption::DateReceived], c[Caption::ClientJobNo],  c[Caption::JobStatus],
            c[Caption::IntroducedBy], c[Caption::DateCompleted]};
}

// Why a choice given means nothing to the report, or an empty text.
QString checkChoices(const AppState& app, const QString& name, const Options& options) {
    const QString days = options.get("--days", QStringLiteral("0"));
    bool whole = false;
    if (days.trimmed().toInt(&whole) < 0 || !whole) {
        return QStringLiteral("--days must be a whole number of days, not '%1'").arg(days);
    }
    const QString group = options.get("--group", QStringLiteral("yes"));
    if (group.compare(QLatin1String("yes"), Qt::CaseInsensitive) != 0 &&
        group.compare(QLatin1String("no"), Qt::CaseInsensitive) != 0) {
        return QStringLiteral("--group must be yes or no, not '%1'").arg(group);
    }
    const QString sortOption =
        name == QLatin1String("job-age") ? QStringLiteral("--sort") : QStringLiteral("--order");
    for (const QString& option : {QStringLiteral("--date"), sortOption}) {
        const QString caption = options.values.value(option);
        const QStringList known = offered(app, option, name);
        if (options.values.contains(option) && !known.contains(caption)) {
            return QStringLiteral("%1 '%2' names no column this report offers; it offers %3")
                .arg(option, caption, known.join(QStringLiteral(", ")));
        }
    }
    return {};
}

}  // namespace

int report(AppState& app, const QStringList& arguments, Streams io,
           const std::function<bool()>& openDatabase) {
    const QString name = arguments.value(0);
    const Options options = parse(arguments.mid(1));
    const QString pdf = options.get("--pdf", {});
    const QString csvFile = options.get("--csv", {});
    if (!options.unknown.isEmpty()) {
        return fail(io,
                    QStringLiteral("report does not know the option '%1'").arg(options.unknown));
    }
    if (name.isEmpty() || (pdf.isEmpty() && csvFile.isEmpty())) {
        return fail(io, QStringLiteral("report needs a report name and --pdf FILE or --csv FILE"));
    }
    const QString paperName = options.get("--paper", {});
    QPageSize::PageSizeId paper = reportoutput::defaultPaper(app.locale.locale());
    if (paperName.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0) {
        paper = QPageSize::Letter;
    } else if (paperName.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0) {
        paper = QPageSize::A4;
    } else if (!paperName.isEmpty()) {
        return fail(io, QStringLiteral("the paper must be A4 or Letter, not '%1'").arg(paperName));
    }
    static const QStringList kNames = {"awaiting-invoicing", "awaiting-payment", "job-age",
                                       "job-report", "marketing"};
    if (!kNames.contains(name)) {
        return fail(io, QStringLiteral("there is no report '%1'; the reports are %2")
                            .arg(name, kNames.join(QStringLiteral(", "))));
    }
    if (!openDatabase()) {
        return 1;
    }
    captions::load(app.DbConnection, app.FieldCaptions);
    if (name == QLatin1String("job-age") || name == QLatin1String("marketing")) {
        if (const QString refused = checkChoices(app, name, options); !refused.isEmpty()) {
            return fail(io, refused);
        }
    }

    ReportRequest request;
    if (name == QLatin1String("awaiting-invoicing")) {
        request = awaitingInvoicingReport();
    } else if (name == QLatin1String("awaiting-payment")) {
        request = awaitingPaymentReport();
    } else if (name == QLatin1String("job-age")) {
        JobAgeChoice choice = defaultJobAgeChoice(app);
        choice.days = options.get("--days", choice.days);
        choice.sortCaption = options.get("--sort", choice.sortCaption);
        takeCommon(options, choice);
        if (!UpdateAgeTable(app.DbConnection, app.FieldCaptions, app.clock.today(), choice.status,
                            choice.introducer, choice.dateCaption)) {
            return fail(io, QStringLiteral("the job ages cannot be worked out: %1")
                                .arg(app.DbConnection.lastError().message));
        }
        request = jobAgeReport(app.FieldCaptions, choice);
    } else if (name == QLatin1String("job-report")) {
        const auto order = jobReportOrder(options.get("--order", QStringLiteral("Job Number")));
        if (!order) {
            return fail(io, QStringLiteral("the order must be \"Job Number\", \"Job Date\" or "
                                           "\"Job Status\""));
        }
        request =
            jobStatusReport(app.FieldCaptions, options.get("--status", kAllCurrentJobs), *order);
    } else {
        MarketingChoice choice = defaultMarketingChoice(app);
        choice.from = options.get("--from", choice.from);
        choice.to = options.get("--to", choice.to);
        takeCommon(options, choice);
        choice.orderCaption =
            choice.grouped ? QString() : options.get("--order", choice.orderCaption);
        const MarketingReport built = marketingReport(app.FieldCaptions, dateStyle(app), choice);
        if (built.problem) {
            return fail(io, built.problem->title + QStringLiteral(": ") + built.problem->message);
        }
        request = built.request;
    }

    const ProducedReport produced =
        produceReport(app.DbConnection, request, reportContext(app), paper);
    if (!produced.ok) {
        return fail(io, produced.error);
    }
    if (!csvFile.isEmpty()) {
        const resultexport::Outcome written = reportexport::write(produced.pages, csvFile);
        if (!written.ok) {
            return fail(io, written.error);
        }
        io.out << csvFile << ": " << written.rows << " jobs" << Qt::endl;
    }
    if (pdf.isEmpty()) {
        return 0;
    }
    QString error;
    if (!reportoutput::writePdf(produced.pages, pdf, request.title, &error)) {
        return fail(io, error);
    }
    io.out << pdf << ": " << produced.pages.pageCount() << " pages, " << produced.pages.rowCount()
           << " jobs" << Qt::endl;
    return 0;
}

}  // namespace admin
