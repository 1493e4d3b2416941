#pragma once

#include <QString>

class AppState;

// What a modeless screen that edits records offers, so that work done elsewhere (a restore of
// the database) can settle the screen's unsaved changes without touching its controls.
class UnsavedChanges {
public:
    virtual ~UnsavedChanges() = default;
    // True while the screen holds changes that are not stored.
    virtual bool hasUnsavedChanges() const = 0;
    // What the changes belong to, for a question: "job 1205 on the job screen".
    virtual QString unsavedChangesName() const = 0;
    // Stores the changes as the screen's own Save does; false when they could not be stored
    // (the screen has told the user why, and the changes are still on it).
    virtual bool saveChanges() = 0;
    // Forgets the changes, so that the screen closes without asking.
    virtual void discardChanges() = 0;
};

// Closes every open modeless screen, before the database they show is replaced. First each
// screen with unsaved changes is asked about, "... save them <before>?": Yes saves them, No
// discards them, Cancel keeps them. False, with the screens left open, when the user cancels,
// a save fails or a screen stays open.
bool closeOpenScreens(AppState& app, const QString& before);
