#pragma once

#include "db/Rows.h"

#include <QWidget>

class AppState;
class AttachmentStrip;
class CaptionLabels;
class JobStatusStrip;
class QPushButton;
class QTableView;
class RowsModel;

// The job screen's "Documents" tab: the documents made for the job, newest last.
class DocumentsPage : public QWidget {
    Q_OBJECT
public:
    DocumentsPage(AppState& app, CaptionLabels& captions, QWidget* parent = nullptr);

    // Lists the documents (Date, Title, DummyId, FileName), the first one current.
    void setDocuments(Rows rows);
    // Makes the document of that file current (as a click on its row does).
    void selectFileName(const QString& fileName);
    void clear();
    // The file and record of the current document: empty and 0 without one.
    QString currentFileName() const;
    qint64 currentDocumentId() const;
    QString currentTitle() const;
    void setJobNumber(const QString& number);
    void setJobStatus(const QString& status);

Q_SIGNALS:
    void changeStatusClicked();
    void newDocumentClicked();
    // Edit Document, or a double-click on a document.
    void editDocumentClicked();
    void deleteDocumentClicked();
    void emailDocumentClicked();
    // Attach Files, or files dropped from the file manager on the documents (their paths).
    void attachFilesClicked();
    void filesDropped(const QStringList& paths);

protected:
    // Takes files dropped on the documents list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& app_;
    RowsModel* docsModel_;
    JobStatusStrip* strip_;
    QTableView* fgDocs;
    QPushButton* cmdNewDoc;
    QPushButton* cmdEditDoc;
    QPushButton* cmdDeleteDoc;
    QPushButton* cmdEmailDoc;
    QPushButton* cmdAttachFiles;
    AttachmentStrip* lstAttachments;
};
