#include "mainwindow/frmSplash.h"

#include "platform/Prompter.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, const QString& style) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setStyleSheet(style);
    l->setWordWrap(true);
    return l;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("About Verdell"));
    setModal(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setStyleSheet(QStringLiteral(
        "#Frame1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1f3a5f, "
        "stop:1 #14263f); border-radius: 10px; }"));
    Frame1->installEventFilter(this);

    auto* logo = new QLabel(Frame1);
    logo->setPixmap(QIcon(QStringLiteral(":/artwork/logo.svg")).pixmap(96, 96));
    logo->setAlignment(Qt::AlignTop);

    lblProductName = label(Frame1, "lblProductName", Prompter::applicationTitle(),
                           QStringLiteral("color:#ffffff; font-size:28pt; font-weight:800;"));
    QStringList version = QStringLiteral(VERDELL_VERSION).split(u'.');
    lblVersion = label(Frame1, "lblVersion", QStringLiteral("Version ") + version.join(u'.'),
                       QStringLiteral("color:#f2a541; font-size:11pt; font-weight:600;"));
    lblPlatform = label(Frame1, "lblPlatform", QStringLiteral("Platform:XP, Vista, Win 7"),
                        QStringLiteral("color:#cfd9e6;"));
    lblCompany = label(Frame1, "lblCompany",
                       QStringLiteral("Corvane Software\nJob management for trade and "
                                      "property-services businesses"),
                       QStringLiteral("color:#cfd9e6;"));
    lblCopyright = label(Frame1, "lblCopyright",
                         QStringLiteral("Copyright \u00A9 Corvane Software. All rights reserved."),
                         QStringLiteral("color:#9fb3c8;"));
    lblWarning = label(
        Frame1, "lblWarning",
        QStringLiteral("Warning: this program is protected by copyright law. Copying or "
                       "distributing it, or any part of it, without permission may result in "
                       "civil and criminal penalties."),
        QStringLiteral("color:#9fb3c8; font-size:8pt;"));

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    for (QLabel* l : {lblProductName, lblVersion, lblPlatform, lblCompany, lblCopyright}) {
        text->addWidget(l);
    }
    text->addSpacing(10);
    text->addWidget(lblWarning);
    auto* row = new QHBoxLayout(Frame1);
    row->setContentsMargins(24, 24, 24, 24);
    row->setSpacing(20);
    row->addWidget(logo);
    row->addLayout(text, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Frame1);
    setFixedWidth(520);
}

void frmSplash::keyPressEvent(QKeyEvent*) { accept(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Frame1 && event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
