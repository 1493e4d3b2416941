#include "widgets/OpenScreens.h"

#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QPointer>
#include <QWidget>

bool closeOpenScreens(AppState& app, const QString& before) {
    const QStringList names = app.openScreenNames();
    // Every question is answered before anything is saved or discarded, so a Cancel on any of
    // them leaves every screen as it was.
    QList<std::pair<UnsavedChanges*, bool>> decisions;
    for (const QString& name : names) {
        auto* screen = dynamic_cast<UnsavedChanges*>(app.openScreen(name));
        if (!screen || !screen->hasUnsavedChanges()) {
            continue;
        }
        const Prompter::Answer answer = app.prompter.message(
            QStringLiteral("The changes to %1 have not been saved.\r\n\r\nDo you want to save them "
                           "%2?\r\nNo discards them; Cancel leaves everything as it is.")
                .arg(screen->unsavedChangesName(), before),
            QStringLiteral("Unsaved Changes"), Prompter::Buttons::YesNoCancel,
            Prompter::Icon::Question);
        if (answer != Prompter::Answer::Yes && answer != Prompter::Answer::No) {
            return false;
        }
        decisions.append({screen, answer == Prompter::Answer::Yes});
    }
    for (const auto& [screen, save] : decisions) {
        if (!save) {
            screen->discardChanges();
        } else if (!screen->saveChanges()) {
            return false;
        }
    }
    for (const QString& name : names) {
        auto* screen = qobject_cast<QWidget*>(app.openScreen(name));
        if (screen && !screen->close()) {
            return false;
        }
        app.registerScreen(name, nullptr);
    }
    return true;
}
