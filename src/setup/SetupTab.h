#pragma once

#include <QWidget>

// A tab of the setup screen that edits settings and has its own Apply, OK and Cancel buttons.
// The screen decides for all its tabs at once: OK or Apply on any tab stores the changes of
// every tab, Cancel asks before discarding them.
class SetupTab : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Whether the user changed anything that Apply would store.
    virtual bool hasChanges() const = 0;
    // Stores what the user changed; false, after telling the user, when it could not.
    virtual bool applyChanges() = 0;

Q_SIGNALS:
    void applyClicked();
    void okClicked();
    void cancelClicked();
};
