#include "reports/frmReportPreview.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "reports/ReportExport.h"
#include "reports/ReportOutput.h"
#include "reports/ReportPageView.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/CsvExport.h"
#include "widgets/KeyActions.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Rows laid out between two looks at the user's clicks: a few milliseconds' work.
constexpr int kRowsAtATime = 400;
// Work shorter than this shows no progress.
constexpr int kProgressAfterMs = 1000;

const QString kFitWidth = QStringLiteral("Page Width");
const QString kWholePage = QStringLiteral("Whole Page");

// A file name made of the title's letters, digits and blanks.
QString fileNameFor(const QString& title) {
    QString name;
    for (const QChar c : title.left(60)) {
        name += c.isLetterOrNumber() || c == u' ' ? c : u'_';
    }
    return name.simplified() + QStringLiteral(".pdf");
}

}  // namespace

frmReportPreview::frmReportPreview(AppState& app, const QString& title,
                                   std::unique_ptr<ReportLayout> layout, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), title_(title) {
    setWindowTitle(QStringLiteral("Verdell Standard [") + title + u']');
    cmdFirst = makeButton(this, "cmdFirst", QStringLiteral("|<"), QStringLiteral("First page"));
    cmdPrevious = makeButton(this, "cmdPrevious", QStringLiteral("<"),
                             QStringLiteral("Previous page"));
    txtPage = new QSpinBox(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    labPages = new QLabel(this);
    labPages->setObjectName(QStringLiteral("labPages"));
    cmdNext = makeButton(this, "cmdNext", QStringLiteral(">"), QStringLiteral("Next page"));
    cmdLast = makeButton(this, "cmdLast", QStringLiteral(">|"), QStringLiteral("Last page"));
    cbZoom = new QComboBox(this);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    cbZoom->addItems({kFitWidth, kWholePage, QStringLiteral("50%"), QStringLiteral("75%"),
                      QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%")});
    cbPaper = new QComboBox(this);
    cbPaper->setObjectName(QStringLiteral("cbPaper"));
    cbPaper->addItem(QStringLiteral("A4"), int(QPageSize::A4));
    cbPaper->addItem(QStringLiteral("Letter"), int(QPageSize::Letter));
    cmdPrint = makeButton(this, "cmdPrint", QStringLiteral("&Print..."));
    cmdExportPdf = makeButton(this, "cmdExportPdf", QStringLiteral("&Export to PDF..."));
    cmdExportCsv = csvexport::makeButton(this);
    cmdClose = makeButton(this, "cmdClose", QStringLiteral("&Close"));
    labProgress = new QLabel(this);
    labProgress->setObjectName(QStringLiteral("labProgress"));
    barProgress = new QProgressBar(this);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("Cancel"),
                           QStringLiteral("Stop laying out the report and close it"));

    view = new ReportPageView;
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollPage"));
    scroll_->setWidget(view);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->viewport()->installEventFilter(this);

    // The paging buttons as narrow as their arrows, so the tools fit a small screen's width.
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast}) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral(">|")) * 2 + 24);
    }
    auto* tools = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdFirst, cmdPrevious, txtPage, labPages,
                                                      cmdNext, cmdLast}) {
        tools->addWidget(w);
    }
    tools->addSpacing(16);
    tools->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
    tools->addWidget(cbZoom);
    tools->addWidget(new QLabel(QStringLiteral("Paper:"), this));
    tools->addWidget(cbPaper);
    tools->addStretch(1);
    tools->addWidget(cmdPrint);
    tools->addWidget(cmdExportPdf);
    tools->addWidget(cmdExportCsv);
    tools->addWidget(cmdClose);
    auto* progress = new QHBoxLayout;
    progress->addWidget(labProgress);
    progress->addWidget(barProgress, 1);
    progress->addWidget(cmdCancel);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(tools);
    layoutBox->addWidget(scroll_, 1);
    layoutBox->addLayout(progress);

    layoutTimer_ = new QTimer(this);
    layoutTimer_->setInterval(0);
    connect(layoutTimer_, &QTimer::timeout, this, &frmReportPreview::layOutMore);
    connect(cmdFirst, &QPushButton::clicked, this, &frmReportPreview::cmdFirst_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmReportPreview::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmReportPreview::cmdNext_Click);
    connect(cmdLast, &QPushButton::clicked, this, &frmReportPreview::cmdLast_Click);
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    connect(cbZoom, &QComboBox::currentIndexChanged, this, &frmReportPreview::cbZoom_Click);
    connect(cbPaper, &QComboBox::activated, this, &frmReportPreview::cbPaper_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReportPreview::cmdPrint_Click);
    connect(cmdExportPdf, &QPushButton::clicked, this, &frmReportPreview::cmdExportPdf_Click);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmReportPreview::cmdExportCsv_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReportPreview::cmdCancel_Click);

    resize(980, 720);
    CentreForm(this, app_.screen);
    closeOnEscape(this);
    startLayout(std::move(layout));
}

frmReportPreview::~frmReportPreview() = default;

const ReportPages& frmReportPreview::pages() const {
    return layout_->pages();
}

bool frmReportPreview::laidOut() const {
    return layout_->finished();
}

void frmReportPreview::startLayout(std::unique_ptr<ReportLayout> layout) {
    layoutTimer_->stop();
    // The page shown until now goes with the old layout.
    view->setPages(nullptr);
    layout_ = std::move(layout);
    while (!layout_->finished() && layout_->pages().pageCount() == 0) {
        layout_->layOutRows(kRowsAtATime);
    }
    const int paper = cbPaper->findData(int(layout_->pages().pageLayout().pageSize().id()));
    cbPaper->setCurrentIndex(qMax(0, paper));
    barProgress->setRange(0, qMax(1, layout_->rowCount()));
    view->setPages(&layout_->pages());
    cbZoom_Click();
    layoutClock_.start();
    showState();
    showPage(0);
    if (!layout_->finished()) {
        layoutTimer_->start();
    }
}

void frmReportPreview::layOutMore() {
    layout_->layOutRows(kRowsAtATime);
    barProgress->setValue(layout_->rowsDone());
    labProgress->setText(QStringLiteral("Laying out page %1...").arg(pages().pageCount() + 1));
    if (layout_->finished()) {
        layoutTimer_->stop();
        view->update();  // the page count is known now
    }
    showState();
    // The page shown before the paper changed, once it is laid out again.
    if (wantedPage_ > 0 && wantedPage_ < pages().pageCount()) {
        showPage(wantedPage_);
        wantedPage_ = 0;
    }
}

void frmReportPreview::showState() {
    const bool done = layout_->finished();
    const int count = qMax(1, pages().pageCount());
    {
        const QSignalBlocker block(txtPage);
        txtPage->setRange(1, count);
    }
    labPages->setText(done ? QStringLiteral("of %1").arg(count) : QStringLiteral("of …"));
    // Progress shows only for work of more than a second.
    const bool slow = !done && layoutClock_.elapsed() >= kProgressAfterMs;
    for (QWidget* w : std::initializer_list<QWidget*>{labProgress, barProgress, cmdCancel}) {
        w->setVisible(slow);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cbPaper, cmdPrint, cmdExportPdf}) {
        w->setEnabled(done);
    }
    const int page = currentPage();
    cmdNext->setEnabled(page + 1 < pages().pageCount());
    cmdLast->setEnabled(page + 1 < pages().pageCount());
}

int frmReportPreview::currentPage() const { return view->page(); }

void frmReportPreview::showPage(int page) {
    page = qBound(0, page, qMax(0, pages().pageCount() - 1));
    view->setPage(page);
    const QSignalBlocker block(txtPage);
    txtPage->setValue(page + 1);
    cmdFirst->setEnabled(page > 0);
    cmdPrevious->setEnabled(page > 0);
    cmdNext->setEnabled(page + 1 < pages().pageCount());
    cmdLast->setEnabled(page + 1 < pages().pageCount());
}

void frmReportPreview::cmdFirst_Click() { showPage(0); }
void frmReportPreview::cmdPrevious_Click() { showPage(currentPage() - 1); }
void frmReportPreview::cmdNext_Click() { showPage(currentPage() + 1); }
void frmReportPreview::cmdLast_Click() {
    showPage(pages().pageCount() - 1);
}

void frmReportPreview::cmdCancel_Click() {
    layoutTimer_->stop();
    close();
}

void frmReportPreview::cbZoom_Click() {
    const QString choice = cbZoom->currentText();
    if (choice == kFitWidth || choice == kWholePage) {
        view->setZoom(view->zoomToFit(scroll_->viewport()->size(), choice == kWholePage));
    } else {
        view->setZoom(QStringView(choice).chopped(1).toDouble() / 100.0);
    }
}

bool frmReportPreview::eventFilter(QObject* watched, QEvent* event) {
    // A fitting zoom follows the room the page has.
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        cbZoom_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void frmReportPreview::cbPaper_Click() {
    const auto paper = QPageSize::PageSizeId(cbPaper->currentData().toInt());
    if (!laidOut() || paper == pages().pageLayout().pageSize().id()) {
        return;
    }
    const int page = currentPage();
    startLayout(std::make_unique<ReportLayout>(
        pages(), reportoutput::pageLayout(paper, pages().pageLayout().orientation())));
    showPage(page);
    wantedPage_ = page < pages().pageCount() ? 0 : page;
}

bool frmReportPreview::withProgress(
    const QString& label, const std::function<bool(const std::function<bool(int, int)>&)>& work) {
    QProgressDialog dialog(label, QStringLiteral("Cancel"), 0, 1, this);
    dialog.setObjectName(QStringLiteral("dlgProgress"));
    dialog.setWindowTitle(title_);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(kProgressAfterMs);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    return work([&dialog](int done, int total) {
        dialog.setMaximum(qMax(1, total));
        dialog.setValue(qMin(done, total));
        return !dialog.wasCanceled();
    });
}

void frmReportPreview::cmdPrint_Click() {
    if (!laidOut()) {
        return;
    }
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        app_.prompter.message(
            QStringLiteral("There is no printer installed on this computer.\r\nUse 'Export to "
                           "PDF' to save the report as a file that can be printed elsewhere."),
            QStringLiteral("No Printer"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title_);
    printer.setPageLayout(pages().pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pages().pageCount());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The dialog may have changed the paper: lay the report out again for it.
    const QPageLayout chosen = printer.pageLayout();
    const bool samePaper = chosen.pageSize().isEquivalentTo(pages().pageLayout().pageSize()) &&
                           chosen.orientation() == pages().pageLayout().orientation();
    std::unique_ptr<ReportLayout> again;
    if (!samePaper) {
        again = std::make_unique<ReportLayout>(
            pages(), reportoutput::pageLayout(chosen.pageSize().id(), chosen.orientation()));
        const bool laid = withProgress(QStringLiteral("Laying out the report for the paper..."),
                                       [&again](const auto& step) {
                                           while (!again->layOutRows(kRowsAtATime)) {
                                               if (!step(again->rowsDone(), again->rowCount())) {
                                                   return false;
                                               }
                                           }
                                           return true;
                                       });
        if (!laid) {
            return;
        }
    }
    const ReportPages& printed = again ? again->pages() : pages();
    printer.setPageLayout(printed.pageLayout());
    const bool range = printer.printRange() == QPrinter::PageRange;
    QString error;
    withProgress(QStringLiteral("Printing the report..."), [&](const auto& step) {
        return reportoutput::print(printed, printer, &error, range ? printer.fromPage() - 1 : 0,
                                   range ? printer.toPage() - 1 : -1,
                                   [&printer, &step](int done, int total) {
                                       if (step(done, total)) {
                                           return true;
                                       }
                                       printer.abort();
                                       return false;
                                   });
    });
    if (!error.isEmpty()) {
        app_.prompter.message(QStringLiteral("The report could not be printed.\r\n") + error,
                              QStringLiteral("Print"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
}

void frmReportPreview::cmdExportPdf_Click() {
    if (!laidOut()) {
        return;
    }
    QString file = app_.prompter.saveFile(QStringLiteral("Export to PDF"),
                                          QDir::home().filePath(fileNameFor(title_)),
                                          QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty()) {
        return;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    QString error;
    withProgress(QStringLiteral("Saving the report as a PDF file..."), [&](const auto& step) {
        return reportoutput::writePdf(pages(), file, title_, &error, step);
    });
    // A cancelled export leaves the file as it was and needs no message.
    if (!error.isEmpty()) {
        app_.prompter.message(error, QStringLiteral("Export to PDF"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
}

void frmReportPreview::cmdExportCsv_Click() {
    QString name = fileNameFor(title_);
    name.chop(4);  // its ".pdf"
    csvexport::askAndExport(app_, name + QStringLiteral(".csv"),
                            [this](const QString& file) { exportCsv(file); });
}

bool frmReportPreview::exportCsv(const QString& file) {
    // Every row is there from the start, laid out or not.
    return csvexport::run(app_, QStringLiteral("Export to CSV"),
                          [&] { return reportexport::write(pages(), file); });
}
