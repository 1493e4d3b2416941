#include "estimates/EstimatePrint.h"

#include "documents/LegacyTemplate.h"
#include "documents/MergeEngine.h"
#include "documents/TextRoutines.h"
#include "documents/WordDocument.h"
#include "estimates/EstimateStore.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"

#include <QDir>

namespace estimates {

namespace {

const QString kRoutine = QStringLiteral("PrintEstimate");

}  // namespace

QString estimateFileName(qint64 estNo, int issue, bool printCount) {
    QString name = QStringLiteral("est") + QString::number(estNo);
    if (printCount) {
        name += u'-' + QString::number(issue);
    }
    return name + QStringLiteral(".doc");
}

QList<std::pair<QString, QString>> estimateTokenValues(const AppState& app,
                                                       const EstimatePrintout& p) {
    const AmountDue due =
        amountDue(Money::fromText(p.Retail), Money::fromText(p.Delivery), app.VatRegistered);
    const std::optional<QDateTime> created = readDateText(app, p.DateCreated);
    const QString date = created ? datetext::format(created->date(), QStringLiteral("dd mmm yyyy"),
                                                    app.locale.locale())
                                 : p.DateCreated;
    const QString estNo = app.PrintCount
                              ? QString::number(p.EstNo) + u'-' + QString::number(p.issue)
                              : QString::number(p.EstNo);
    return {
        {QStringLiteral("[ADDRESS]"), StripLineFeeds(withCrLf(p.customer.Address))},
        {QStringLiteral("[TELEPHONE]"), FirstLine(withCrLf(p.customer.Telephone))},
        {QStringLiteral("[DATE]"), date},
        {QStringLiteral("[ESTNO]"), estNo},
        {QStringLiteral("[NAME]"), p.customer.Name},
        {QStringLiteral("[CONTACT]"), FirstLine(withCrLf(p.customer.Contact))},
        {QStringLiteral("[EMAIL]"), p.customer.Email},
        {QStringLiteral("[DELIVERY]"), p.Delivery},
        {QStringLiteral("[RETAIL]"), p.Retail},
        {QStringLiteral("[PROFIT]"), p.Profit},
        {QStringLiteral("[TRADE]"), p.Trade},
        {QStringLiteral("[TOPAY]"), due.toPay.toString()},
        {QStringLiteral("[VAT]"), due.vat.toString()},
        {QStringLiteral("[AMOUNTDUE]"), due.due.toString()},
    };
}

QString PrintEstimate(AppState& app, const EstimatePrintout& printout,
                      const QString& templateName) {
    const QString folder = documentsFolder(app);
    if (!QDir().mkpath(folder)) {
        reportDocumentError(
            app, kRoutine,
            {75, QStringLiteral("The documents folder %1 cannot be made.").arg(folder)});
        return {};
    }
    const QString target =
        folder + u'/' + estimateFileName(printout.EstNo, printout.issue, app.PrintCount);

    LegacyTemplate legacy;
    QString templatePath;
    if (!openableTemplate(app, templatesFolder(app) + u'/' + templateName.trimmed(), legacy,
                          &templatePath, kRoutine)) {
        return {};
    }
    WordDocument doc;
    if (!doc.open(templatePath)) {
        reportDocumentError(app, kRoutine, doc.error());
        return {};
    }
    const auto values = estimateTokenValues(app, printout);
    for (int story = 0; story < doc.storyCount(); ++story) {
        for (const auto& [token, value] : values) {
            doc.replaceAll(story, token, asLines(value));
        }
        doc.lineFeedsToParagraphs(story);
    }

    QList<const EstimateLine*> printed;
    for (const EstimateLine& line : printout.lines) {
        if (!line.Qty.isEmpty()) {
            printed << &line;
        }
    }
    // A template without the line table is made without the lines.
    if (doc.selectBookmark(QStringLiteral("starttable")) &&
        doc.insertRowsBelow(int(printed.size()))) {
        for (const EstimateLine* line : printed) {
            for (const QString& cell :
                 {line->Qty, line->Description, Money::fromText(line->Retail).toString()}) {
                if (!doc.moveRightCell()) {
                    break;
                }
                doc.typeText(cell);
            }
        }
    }

    if (!doc.saveAs(target)) {
        reportDocumentError(app, kRoutine, doc.error());
        return {};
    }
    if (!app.launcher.open(target)) {
        cannotReachWordProcessor(app);
    }
    return target;
}

QString printAndRecord(AppState& app, EstimatePrintout printout, int itemCount) {
    const std::optional<int> issue =
        AddToEstimateList(app.DbConnection, printout.EstNo, itemCount,
                          Money::fromText(printout.Retail), app.clock.now());
    if (!issue) {
        app.prompter.message(QStringLiteral("The printing of the estimate could not be "
                                            "recorded.\r\n") +
                                 app.DbConnection.lastError().message,
                             QStringLiteral("Estimate Not Printed"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return {};
    }
    printout.issue = *issue;
    return PrintEstimate(app, printout, app.AppSettings.GetValue(QStringLiteral("EstimateDoc")));
}

EstimatePrintout printoutOf(const StoredEstimate& estimate) {
    EstimatePrintout printout;
    printout.EstNo = estimate.EstNo;
    printout.customer = estimate.customer;
    printout.DateCreated = estimate.DateCreated;
    printout.lines = estimate.lines;
    const EstimateTotals totals = CalculateTotals(estimate.lines, estimate.DeliveryCost.toString());
    printout.Delivery = totals.delivery.toString();
    printout.Retail = totals.retail.toString();
    printout.Profit = totals.profit.toString();
    printout.Trade = totals.trade.toString();
    return printout;
}

}  // namespace estimates
