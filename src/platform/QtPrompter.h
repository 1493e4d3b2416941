#pragma once

#include "platform/Prompter.h"

// Message boxes, input boxes and file dialogs on the screen, over the active window.
class QtPrompter : public Prompter {
public:
    Answer message(const QString& prompt, const QString& title, Buttons buttons,
                   Icon icon) override;
    int choose(const QString& prompt, const QString& title, const QStringList& choices,
               Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override;
};
