// The estimates screen's printing and history of issues, its search panel, and the conversion
// of an estimate into a job.

#include "common/Numbers.h"
#include "documents/JobDocuments.h"
#include "documents/MailRecipients.h"
#include "documents/MergeEngine.h"
#include "documents/SendByEmail.h"
#include "estimates/EstimateExport.h"
#include "estimates/EstimatePrint.h"
#include "estimates/EstimateStore.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "search/TypingSearch.h"
#include "widgets/CsvExport.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

using namespace estimates;

namespace {

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

void frmEstimate::cmdPrint_Click() {
    EstimatePrintout printout;
    printout.EstNo = shownEstimateNumber();
    printout.customer = customerOnScreen();
    printout.DateCreated = labDateCreated->text();
    printout.lines = lines();
    printout.Delivery = labDeliveryCosts->text();
    printout.Retail = labTotalRetail->text();
    printout.Profit = labTotalProfit->text();
    printout.Trade = labTotalTrade->text();
    printedDocument_ = printAndRecord(app_, printout, int(printout.lines.size()));
    printedEstimate_ = printout.EstNo;
    updateEmailButton();
}

void frmEstimate::updateEmailButton() {
    cmdEmailEstimate->setEnabled(!printedDocument_.isEmpty() && !editing() &&
                                 printedEstimate_ == shownEstimateNumber());
}

void frmEstimate::cmdEmailEstimate_Click() {
    emailEstimateDocument(printedDocument_);
}

void frmEstimate::cmdEmailIssue_Click() {
    const QString file = chosenIssueFile();
    emailEstimateDocument(file.isEmpty() ? QString() : documentsFolder(app_) + u'/' + file);
}

// The attachment is named after the document: "Estimate 1042", or "Estimate 1042-3" with issue
// numbers.
void frmEstimate::emailEstimateDocument(const QString& path) {
    const qint64 estNo = shownEstimateNumber();
    sendByEmail(app_, this,
                {path, QStringLiteral("Estimate ") + QFileInfo(path).completeBaseName().mid(3),
                 QStringLiteral("Estimate ") + QString::number(estNo)},
                mail::estimateRecipients(app_.DbConnection, estNo));
}

void frmEstimate::ConstructEstimateGrid() {
    constructGrid(
        fgEstimates,
        {QStringLiteral("Date"), QStringLiteral("Issue No."), QStringLiteral("Item Count"),
         QStringLiteral("Total Price ") + app_.CurrencySymbol, QStringLiteral("DummyId")},
        {1500, 1500, 1500, 1500, 0}, {3}, {});
}

void frmEstimate::SSTab1_Click(int tab) {
    if (tab != 1) {
        return;
    }
    ConstructEstimateGrid();
    const qint64 estNo = shownEstimateNumber();
    if (estNo == 0) {
        app_.prompter.message(
            QStringLiteral("You have to load an estimate before you can look at the document "
                           "history!"),
            QStringLiteral("No Estimate Loaded"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        SSTab1->setCurrentIndex(0);
        return;
    }
    LoadEstimates(estNo);
}

void frmEstimate::LoadEstimates(qint64 lEstNo) {
    const std::optional<Rows> rows = estimateIssues(app_.DbConnection, lEstNo);
    if (!rows) {
        return;
    }
    fgEstimates->setRowCount(qMax(1, rows->count()));
    for (int i = 0; i < rows->count(); ++i) {
        const QStringList cells = {
            formatDisplayDate(app_,
                              readStoredDate(app_, rows->value(i, QStringLiteral("DateCreated")))),
            rows->text(i, QStringLiteral("EstNo")) + u'-' +
                rows->text(i, QStringLiteral("PrintNo")),
            rows->text(i, QStringLiteral("TotalQty")),
            Money::fromStored(rows->number(i, QStringLiteral("TotalPrice"))).toString(),
            rows->text(i, QStringLiteral("DummyId"))};
        placeCells(fgEstimates, i, cells);
    }
    if (rows->count() > 0) {
        fgEstimates->selectRow(0);
    }
}

void frmEstimate::cmdEditEstimate_Click() {
    OpenEstimateDocument(chosenIssueFile());
}

QString frmEstimate::chosenIssueFile() const {
    QString ref = cellText(fgEstimates, fgEstimates->currentRow(), 1);
    // Documents printed without issue numbers are named without them.
    if (!QFileInfo::exists(documentsFolder(app_) + QStringLiteral("/est") + ref +
                           QStringLiteral(".doc"))) {
        const qsizetype dash = ref.lastIndexOf(u'-');
        if (dash >= 0) {
            ref.truncate(dash);
        }
    }
    return ref.isEmpty() ? QString() : QStringLiteral("est") + ref + QStringLiteral(".doc");
}

void frmEstimate::OpenEstimateDocument(const QString& fileName) {
    openSavedDocument(app_, fileName);
}

void frmEstimate::ConstructExistingGrid() {
    QStringList headings;
    for (const resultexport::Column& column : estimateSearchColumns()) {
        headings << column.heading;
    }
    constructGrid(fgExisting, headings << QStringLiteral("DummyId"), {600, 1100, 2800, 3800, 0}, {},
                  {2, 3});
    found_ = Rows();
}

void frmEstimate::cmdFind_Click() {
    ConstructExistingGrid();
    labFoundStatus->clear();
    placePanel(panSearch);
    txtSearch->setFocus();
}

void frmEstimate::cmdGoSearch_Click() {
    if (typing_) {
        typing_->cancel();
    }
    const std::optional<Rows> found = foundEstimateRows(app_.DbConnection, txtSearch->text());
    if (!found) {
        ConstructExistingGrid();
        labFoundStatus->setText(QStringLiteral("The search failed: ") +
                                app_.DbConnection.lastError().message);
        return;
    }
    showFoundEstimates(*found);
}

void frmEstimate::txtSearch_Change() {
    if (!typing_) {
        typing_ = new TypingSearch(app_, this);
        connect(typing_, &TypingSearch::found, this, &frmEstimate::showFoundEstimates);
        connect(typing_, &TypingSearch::failed, this, [this](const QString& reason) {
            ConstructExistingGrid();
            labFoundStatus->setText(QStringLiteral("The search failed: ") + reason);
        });
    }
    typing_->typed(
        [text = txtSearch->text()](Database& db) { return foundEstimateRows(db, text); });
}

void frmEstimate::showFoundEstimates(const Rows& found) {
    ConstructExistingGrid();
    found_ = found;
    for (int i = 0; i < found.count(); ++i) {
        appendRow(fgExisting, {found.text(i, QStringLiteral("EstNo")),
                               found.text(i, QStringLiteral("DateCreated")),
                               found.text(i, QStringLiteral("Name")),
                               found.text(i, QStringLiteral("Address")).simplified()});
    }
    labFoundStatus->setText(QString::number(found.count()) +
                            QStringLiteral(" matching estimates found"));
    if (!found.isEmpty()) {
        fgExisting->selectRow(0);
    }
}

void frmEstimate::cmdExportCsv_Click() {
    csvexport::askAndExport(app_, QStringLiteral("Estimates.csv"),
                            [this](const QString& file) { exportCsv(file); });
}

bool frmEstimate::exportCsv(const QString& file) {
    return csvexport::run(app_, QStringLiteral("Export to CSV"),
                          [&] { return exportEstimates(app_, file, found_); });
}

void frmEstimate::cmdLoadEst_Click() {
    const qint64 estNo =
        qint64(numbers::leadingNumber(cellText(fgExisting, fgExisting->currentRow(), 0)));
    if (estNo > 0) {
        LoadFullEstimate(estNo);
        panSearch->hide();
    }
}

void frmEstimate::cmdCloseSearch_Click() {
    panSearch->hide();
}

void frmEstimate::cmdConvert_Click() {
    if (app_.prompter.message(QStringLiteral("Do you really want to convert this to a job?"),
                              QStringLiteral("Convert Estimate to a Job"), Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    QString details;
    for (const EstimateLine& line : lines()) {
        if (!line.Qty.isEmpty()) {
            details += line.Qty + QStringLiteral(" x ") + line.Description + QStringLiteral("\n");
        }
    }
    JobFields job;
    job.WorkName = txtName->text();
    job.HomeAddress = txtAddress->toPlainText();
    job.HomeNumbers = txtTel->text();
    job.WorkDetails = details;
    showJobScreen(app_)->startJob(job);
}
