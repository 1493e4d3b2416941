#pragma once

#include <QString>

class AppState;
class QWidget;

namespace mail {
struct Recipients;
}

// A document to send by e-mail: its file, the name its attachment is given (without extension)
// and the message's subject.
struct DocumentMail {
    QString document;  // the file's path; empty when no document is chosen
    QString name;
    QString subject;
};

// Opens a new message in the user's mail program, with the recipients chosen as
// mail::chooseRecipients does and the document attached: for a word-processor or spreadsheet
// file, a PDF made from it where LibreOffice is installed (a progress window offers to cancel
// while it is made); the file itself otherwise. The user is told what stops it: no document,
// no mail program (naming the package to install), a PDF that could not be made (then the
// document itself is offered instead).
void sendByEmail(AppState& app, QWidget* parent, const DocumentMail& mail,
                 const mail::Recipients& recipients);
