#include "documents/SendByEmail.h"

#include "documents/JobDocuments.h"
#include "documents/MailAttachment.h"
#include "documents/MailRecipients.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

const QString kTitle = QStringLiteral("Send by E-mail");

// Word-processor and spreadsheet files are sent as PDFs; photos, PDFs and other files attached
// to a job go as they are.
bool madeIntoPdf(const QString& path) {
    static const QStringList kOffice = {
        QStringLiteral("doc"),  QStringLiteral("docx"), QStringLiteral("dot"),
        QStringLiteral("dotx"), QStringLiteral("rtf"),  QStringLiteral("odt"),
        QStringLiteral("xls"),  QStringLiteral("xlsx"), QStringLiteral("xlt"),
        QStringLiteral("xltx"), QStringLiteral("ods")};
    return kOffice.contains(QFileInfo(path).suffix().toLower());
}

// The PDF made of the document; an empty text to send the document itself (no PDF could be
// made and the user agreed), or nothing when the user gave up.
std::optional<QString> pdfOf(AppState& app, QWidget* parent, const QString& office,
                             const DocumentMail& mail) {
    const QString folder = mail::newMailFolder();
    QString failure = QStringLiteral("no folder could be made for it in the temporary folder.");
    if (!folder.isEmpty()) {
        mail::PdfConversion conversion(office);
        if (conversion.start(mail.document, folder, mail::attachmentName(mail.name))) {
            QProgressDialog progress(QStringLiteral("Making a PDF of the document..."),
                                     QStringLiteral("Cancel"), 0, 0, parent);
            progress.setObjectName(QStringLiteral("dlgMailProgress"));
            progress.setWindowTitle(kTitle);
            progress.setWindowModality(Qt::ApplicationModal);
            progress.setMinimumDuration(400);
            QEventLoop loop;
            QObject::connect(&conversion, &mail::PdfConversion::finished, &loop, &QEventLoop::quit);
            QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
            if (conversion.error().isEmpty()) {
                loop.exec();
            }
            if (!conversion.pdf().isEmpty()) {
                return conversion.pdf();
            }
            if (progress.wasCanceled()) {
                conversion.cancel();
                QDir(folder).removeRecursively();
                return std::nullopt;
            }
        }
        failure = conversion.error();
        QDir(folder).removeRecursively();
    }
    if (app.prompter.message(QStringLiteral("No PDF could be made of the document: ") + failure +
                                 QStringLiteral("\r\n\r\nSend the document itself instead?"),
                             QStringLiteral("PDF Not Made"), Prompter::Buttons::YesNo,
                             Prompter::Icon::Exclamation) != Prompter::Answer::Yes) {
        return std::nullopt;
    }
    return QString();
}

}  // namespace

void sendByEmail(AppState& app, QWidget* parent, const DocumentMail& mail,
                 const mail::Recipients& recipients) {
    if (!documentThere(app, mail.document)) {
        return;
    }
    if (!app.launcher.canEmail()) {
        app.prompter.message(
            QStringLiteral("No mail program can be started: the command xdg-email is missing.\r\n"
                           "Install the package xdg-utils (sudo apt install xdg-utils) and a "
                           "mail program such as Thunderbird, then try again."),
            QStringLiteral("No Mail Program"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    const std::optional<QStringList> to = mail::chooseRecipients(app.prompter, recipients);
    if (!to) {
        return;
    }
    QString attachment = mail.document;
    if (const QString office = officeProgram(); !office.isEmpty() && madeIntoPdf(attachment)) {
        const std::optional<QString> pdf = pdfOf(app, parent, office, mail);
        if (!pdf) {
            return;
        }
        if (!pdf->isEmpty()) {
            attachment = *pdf;
        }
    }
    if (!app.launcher.email({*to, mail.subject, attachment})) {
        app.prompter.message(
            QStringLiteral("The mail program could not be started. Check that a mail program is "
                           "set up as this desktop's default for e-mail."),
            QStringLiteral("No Mail Program"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    }
}
