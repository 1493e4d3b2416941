#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QProcess;
class QTemporaryDir;
class QTimer;

// What goes with a document sent by e-mail: a PDF made from it where LibreOffice is installed.

namespace mail {

// A new folder for one message's attachment: verdell-mail/<date and a unique part> in the
// system's temporary folder. It stays after the program ends, since the mail program reads the
// file when the message is sent; the folders of messages more than a day old are removed when
// a new one is made. An empty text when it cannot be made.
QString newMailFolder();

// A file name (without extension) made of a title: characters that file systems here or at the
// receiving end refuse become "_", an office file's extension at the end is left off, and it is
// kept short. "document" when nothing is left.
QString attachmentName(const QString& title);

// Makes a PDF of a document with LibreOffice running headless with a profile of its own (so a
// LibreOffice the user has open is neither used nor disturbed), without waiting for it: the
// caller's screen goes on while it works, and finished() tells when it is done.
class PdfConversion : public QObject {
    Q_OBJECT
public:
    explicit PdfConversion(QString officeProgram, QObject* parent = nullptr);
    ~PdfConversion() override;

    // How long LibreOffice may take before it is stopped and the conversion fails; 120 s unless
    // set.
    void setTimeout(int milliseconds);
    // Starts making folder/name.pdf from the document. false, with the reason in error(), when
    // it cannot start; otherwise finished() follows unless it is cancelled.
    bool start(const QString& document, const QString& folder, const QString& name);
    // Stops LibreOffice; finished() does not follow.
    void cancel();

    QString pdf() const { return pdf_; }      // the PDF made; empty until then, or on failure
    QString error() const { return error_; }  // why no PDF was made

Q_SIGNALS:
    void finished();

private:
    void done(const QString& failure);

    QString office_;
    int timeout_ = 120000;
    std::unique_ptr<QTemporaryDir> work_;  // the copy LibreOffice reads and its profile
    QProcess* process_ = nullptr;
    QTimer* timer_ = nullptr;
    QString output_;
    QString pdf_;
    QString error_;
};

}  // namespace mail
