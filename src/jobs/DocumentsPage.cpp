#include "jobs/DocumentsPage.h"

#include "jobs/CaptionLabels.h"
#include "jobs/JobGrid.h"
#include "jobs/JobStatusStrip.h"

#include "jobs/AttachmentStrip.h"

#include "db/RowsModel.h"
#include "documents/Attachments.h"
#include "documents/MergeEngine.h"
#include "documents/Thumbnails.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "widgets/Controls.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
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
    cmdAttachFiles = makeButton(this, "cmdAttachFiles", QStringLiteral("Attach Files..."),
                                QStringLiteral("Copy files or photos into this job's documents "
                                               "(or drop them on the list)."));
    lstAttachments = new AttachmentStrip(this);
    fgDocs->viewport()->setAcceptDrops(true);
    fgDocs->viewport()->installEventFilter(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewDoc);
    buttons->addWidget(cmdEditDoc);
    buttons->addWidget(cmdDeleteDoc);
    buttons->addWidget(cmdAttachFiles);
    buttons->addWidget(cmdEmailDoc);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip_);
    layout->addWidget(captions.make(this, Caption::DocumentsHeading));
    layout->addWidget(fgDocs, 1);
    layout->addWidget(lstAttachments);
    layout->addLayout(buttons);
    layout->addWidget(captions.make(this, Caption::JobSheetHint));

    connect(strip_, &JobStatusStrip::changeStatusClicked, this,
            &DocumentsPage::changeStatusClicked);
    connect(cmdNewDoc, &QPushButton::clicked, this, &DocumentsPage::newDocumentClicked);
    connect(cmdEditDoc, &QPushButton::clicked, this, &DocumentsPage::editDocumentClicked);
    connect(fgDocs, &QTableView::doubleClicked, this, &DocumentsPage::editDocumentClicked);
    connect(cmdDeleteDoc, &QPushButton::clicked, this, &DocumentsPage::deleteDocumentClicked);
    connect(cmdEmailDoc, &QPushButton::clicked, this, &DocumentsPage::emailDocumentClicked);
    connect(cmdAttachFiles, &QPushButton::clicked, this, &DocumentsPage::attachFilesClicked);
    connect(lstAttachments, &AttachmentStrip::openClicked, this, [this](const QString& fileName) {
        selectFileName(fileName);
        Q_EMIT editDocumentClicked();
    });
}

bool DocumentsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != fgDocs->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    const auto localFiles = [](const QMimeData* data) {
        QStringList paths;
        for (const QUrl& url : data ? data->urls() : QList<QUrl>()) {
            if (url.isLocalFile()) {
                paths << url.toLocalFile();
            }
        }
        return paths;
    };
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (localFiles(drag->mimeData()).isEmpty()) {
                return false;
            }
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = localFiles(drop->mimeData());
            if (paths.isEmpty()) {
                return false;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            Q_EMIT filesDropped(paths);
            return true;
        }
        default:
            return false;
    }
}

void DocumentsPage::selectFileName(const QString& fileName) {
    for (int row = 0; row < docsModel_->rowCount(); ++row) {
        if (docsModel_->value(row, QStringLiteral("FileName")).toString().trimmed() == fileName) {
            fgDocs->selectRow(row);
            return;
        }
    }
}

void DocumentsPage::clear() {
    docsModel_->clear();
    lstAttachments->setPhotos({}, {});
}

void DocumentsPage::setDocuments(Rows rows) {
    QList<AttachmentStrip::Photo> photos;
    for (int row = 0; row < rows.count(); ++row) {
        const QString fileName = rows.text(row, QStringLiteral("FileName")).trimmed();
        if (attachments::isAttachment(fileName) && thumbnails::isPicture(fileName)) {
            photos.append({fileName, rows.text(row, QStringLiteral("Title"))});
        }
    }
    docsModel_->setRows(std::move(rows));
    lstAttachments->setPhotos(documentsFolder(app_), photos);
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
