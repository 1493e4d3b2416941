#include "reports/frmReportPreview.h"

#include "platform/Controls.h"
#include "platform/Prompter.h"
#include "reports/ReportOutput.h"
#include "reports/ReportPageView.h"
#include "startup/AppState.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

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

frmReportPreview::frmReportPreview(AppState& app, const QString& title, ReportPages pages,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app) {
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
    cmdClose = makeButton(this, "cmdClose", QStringLiteral("&Close"));

    view = new ReportPageView;
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollPage"));
    scroll_->setWidget(view);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->viewport()->installEventFilter(this);

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
    tools->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(scroll_, 1);

    connect(cmdFirst, &QPushButton::clicked, this, &frmReportPreview::cmdFirst_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmReportPreview::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmReportPreview::cmdNext_Click);
    connect(cmdLast, &QPushButton::clicked, this, &frmReportPreview::cmdLast_Click);
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    connect(cbZoom, &QComboBox::currentIndexChanged, this, &frmReportPreview::cbZoom_Click);
    connect(cbPaper, &QComboBox::activated, this, &frmReportPreview::cbPaper_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReportPreview::cmdPrint_Click);
    connect(cmdExportPdf, &QPushButton::clicked, this, &frmReportPreview::cmdExportPdf_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    resize(980, 720);
    setReport(title, std::move(pages));
}

void frmReportPreview::setReport(const QString& title, ReportPages pages) {
    title_ = title;
    pages_ = std::move(pages);
    setWindowTitle(QStringLiteral("Verdell Standard [") + title + u']');
    refresh();
}

void frmReportPreview::refresh() {
    const int count = qMax(1, pages_.pageCount());
    const QSignalBlocker block(txtPage);
    txtPage->setRange(1, count);
    txtPage->setValue(1);
    labPages->setText(QStringLiteral("of %1").arg(count));
    const int paper = cbPaper->findData(int(pages_.pageLayout().pageSize().id()));
    cbPaper->setCurrentIndex(qMax(0, paper));
    view->setPages(&pages_);
    cbZoom_Click();
    showPage(0);
}

int frmReportPreview::currentPage() const { return view->page(); }

void frmReportPreview::showPage(int page) {
    page = qBound(0, page, qMax(0, pages_.pageCount() - 1));
    view->setPage(page);
    const QSignalBlocker block(txtPage);
    txtPage->setValue(page + 1);
    cmdFirst->setEnabled(page > 0);
    cmdPrevious->setEnabled(page > 0);
    cmdNext->setEnabled(page + 1 < pages_.pageCount());
    cmdLast->setEnabled(page + 1 < pages_.pageCount());
}

void frmReportPreview::cmdFirst_Click() { showPage(0); }
void frmReportPreview::cmdPrevious_Click() { showPage(currentPage() - 1); }
void frmReportPreview::cmdNext_Click() { showPage(currentPage() + 1); }
void frmReportPreview::cmdLast_Click() { showPage(pages_.pageCount() - 1); }

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
    if (paper == pages_.pageLayout().pageSize().id()) {
        return;
    }
    const int page = currentPage();
    pages_ = pages_.onPage(reportoutput::pageLayout(paper, pages_.pageLayout().orientation()));
    refresh();
    showPage(page);
}

void frmReportPreview::cmdPrint_Click() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        app_.prompter.message(
            QStringLiteral("There is no printer installed on this computer.\r\nUse 'Export to "
                           "PDF' to save the report as a file that can be printed elsewhere."),
            QStringLiteral("No Printer"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title_);
    printer.setPageLayout(pages_.pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pages_.pageCount());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The dialog may have changed the paper: lay the report out again for it.
    const QPageLayout chosen = printer.pageLayout();
    const bool samePaper = chosen.pageSize().isEquivalentTo(pages_.pageLayout().pageSize()) &&
                           chosen.orientation() == pages_.pageLayout().orientation();
    const ReportPages printed =
        samePaper ? pages_
                  : pages_.onPage(reportoutput::pageLayout(chosen.pageSize().id(),
                                                           chosen.orientation()));
    printer.setPageLayout(printed.pageLayout());
    const bool range = printer.printRange() == QPrinter::PageRange;
    QString error;
    if (!reportoutput::print(printed, printer, &error, range ? printer.fromPage() - 1 : 0,
                             range ? printer.toPage() - 1 : -1)) {
        app_.prompter.message(QStringLiteral("The report could not be printed.\r\n") + error,
                              QStringLiteral("Print"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
}

void frmReportPreview::cmdExportPdf_Click() {
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
    if (!reportoutput::writePdf(pages_, file, title_, &error)) {
        app_.prompter.message(error, QStringLiteral("Export to PDF"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
}
