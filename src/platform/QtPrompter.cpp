#include "platform/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString shown(const QString& text) {
    QString out = text;
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? Prompter::applicationTitle() : shown(title);
}

QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::Critical:
        case Prompter::Icon::CriticalInformation:
            return QMessageBox::Critical;
        case Prompter::Icon::Question:
            return QMessageBox::Question;
        case Prompter::Icon::Exclamation:
            return QMessageBox::Warning;
        case Prompter::Icon::Information:
            return QMessageBox::Information;
        case Prompter::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Prompter::Answer QtPrompter::message(const QString& prompt, const QString& title, Buttons buttons,
                                     Icon icon) {
    QMessageBox box(boxIcon(icon), titleOr(title), shown(prompt), QMessageBox::NoButton,
                    QApplication::activeWindow());
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

int QtPrompter::choose(const QString& prompt, const QString& title, const QStringList& choices,
                       Icon icon) {
    QMessageBox box(boxIcon(icon), titleOr(title), shown(prompt), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < choices.size(); ++i) {
        const bool last = i + 1 == choices.size();
        buttons << box.addButton(choices[i],
                                 last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (!buttons.isEmpty()) {
        box.setEscapeButton(buttons.last());
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.last()));
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? int(choices.size()) - 1 : int(chosen);
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                        const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), titleOr(title),
                                               shown(prompt), QLineEdit::Normal, defaultText, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

QString QtPrompter::openFile(const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), titleOr(title), folder,
                                        filter);
}

QStringList QtPrompter::openFiles(const QString& title, const QString& folder,
                                  const QString& filter) {
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), titleOr(title), folder,
                                         filter);
}

QString QtPrompter::saveFile(const QString& title, const QString& suggested,
                             const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titleOr(title), suggested,
                                        filter);
}
