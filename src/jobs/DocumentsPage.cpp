#include "jobs/DocumentsPage.h"

#include "jobs/CaptionLabels.h"
#include "jobs/JobGrid.h"
#include "jobs/JobStatusStrip.h"

#include "db/RowsModel.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "widgets/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

DocumentsPage::DocumentsPage(AppState& app, CaptionLabels& captions, QWidget* parent)
    : QWidget(parent), app_(app) {
    docsModel_ = new RowsModel({{QStringLiteral("Date"), QStringLiteral("Date"),
                                 [this](const QVariant& v) {
                                     const QDateTime at = datetext::fromStored(v);
                                     return at.isValid()
                                                ? formatDisplayDate(app_, at) +
                                                      QStringLiteral(", ") +
                                                      at.time().toString(QStringLiteral("hh:mm:ss"))
                                                : QString();
                                 },
                                 1700},
                                {QStringLiteral("Description"), QStringLiteral("Title"), {}, 6800},
                                {QStringLiteral("DummyId"), QStringLiteral("DummyId"), {}, 0},
                                {QStringLiteral("FileName"), QStringLiteral("FileName"),
                                 [](const QVariant& v) { return v.toString().trimmed(); }, 0}},
                               this);
    strip_ = new JobStatusStrip(1, captions, this);
    fgDocs = jobGrid(this, "fgDocs", docsModel_, {1});
    cmdNewDoc = makeButton(this, "cmdNewDoc", QStringLiteral("New Document"),
                           QStringLiteral("Create a new document for this job."));
    cmdEditDoc = makeButton(this, "cmdEditDoc", QStringLiteral("Edit Document"),
                            QStringLiteral("Edit the currently selected document."));
    cmdDeleteDoc = makeButton(this, "cmdDeleteDoc", QStringLiteral("Delete Document"),
                              QStringLiteral("Delete the currently selected document."));
    cmdEmailDoc = makeButton(this, "cmdEmailDoc", QStringLiteral("Send by E-mail..."),
                             QStringLiteral("Send the currently selected document by e-mail."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewDoc);
    buttons->addWidget(cmdEditDoc);
    buttons->addWidget(cmdDeleteDoc);
    buttons->addWidget(cmdEmailDoc);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip_);
    layout->addWidget(captions.make(this, Caption::DocumentsHeading));
    layout->addWidget(fgDocs, 1);
    layout->addLayout(buttons);
    layout->addWidget(captions.make(this, Caption::JobSheetHint));

    connect(strip_, &JobStatusStrip::changeStatusClicked, this,
            &DocumentsPage::changeStatusClicked);
    connect(cmdNewDoc, &QPushButton::clicked, this, &DocumentsPage::newDocumentClicked);
    connect(cmdEditDoc, &QPushButton::clicked, this, &DocumentsPage::editDocumentClicked);
    connect(fgDocs, &QTableView::doubleClicked, this, &DocumentsPage::editDocumentClicked);
    connect(cmdDeleteDoc, &QPushButton::clicked, this, &DocumentsPage::deleteDocumentClicked);
    connect(cmdEmailDoc, &QPushButton::clicked, this, &DocumentsPage::emailDocumentClicked);
}

void DocumentsPage::clear() {
    docsModel_->clear();
}

void DocumentsPage::setDocuments(Rows rows) {
    docsModel_->setRows(std::move(rows));
    if (docsModel_->rowCount() > 0) {
        fgDocs->selectRow(0);
    }
}

QString DocumentsPage::currentFileName() const {
    const int row = fgDocs->currentIndex().row();
    return row < 0 ? QString()
                   : docsModel_->value(row, QStringLiteral("FileName")).toString().trimmed();
}

qint64 DocumentsPage::currentDocumentId() const {
    const int row = fgDocs->currentIndex().row();
    return row < 0 ? 0 : docsModel_->value(row, QStringLiteral("DummyId")).toLongLong();
}

QString DocumentsPage::currentTitle() const {
    const int row = fgDocs->currentIndex().row();
    return row < 0 ? QString() : docsModel_->value(row, QStringLiteral("Title")).toString();
}

void DocumentsPage::setJobNumber(const QString& number) {
    strip_->setJobNumber(number);
}

void DocumentsPage::setJobStatus(const QString& status) {
    strip_->setJobStatus(status);
}
