#pragma once

#include "db/RowVersion.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class AppState;

// The user's side of saving a record that another workstation changed or deleted meanwhile.
// Nothing is lost whatever the answer: refusing leaves the typing on the screen and the other
// version in the database.
namespace conflicts {

// A field whose value differs between the stored version and the one on the screen.
struct Difference {
    QString caption;
    QString theirs;
    QString mine;
};

// "by ann on office-pc at 14:32 on 03/03/2026": who saved a version and when.
QString savedBy(const AppState& app, const RowVersion& version);

// Asks what to do about a record ("Job 12") that another workstation saved after it was loaded
// here: their version can be seen (the differences are shown, then the question comes again)
// as often as wanted; true means keep mine (save over theirs), false cancel (nothing is saved).
bool keepMine(AppState& app, const QString& record, const RowVersion& theirs,
              const std::function<QList<Difference>()>& differences);

// Asks whether a record another workstation deleted is saved again under its own number
// ("12"); true means yes.
bool saveAgain(AppState& app, const QString& record, const QString& number);

// The quiet notices of a screen that follows the stored record: changed or deleted while being
// edited here.
QString changedWhileEditing(const AppState& app, const RowVersion& theirs);
QString deletedWhileEditing();

// What a screen showing a stored record does when another workstation wrote to the database,
// given the record's version stored now (none: deleted) and the one shown: nothing when they
// are the same (or the version could not be read); a notice alone while the record is being
// edited, so the typing stays until the save decides; otherwise the record shown again as
// stored, or taken off the screen when it was deleted, each with its notice.
struct Following {
    enum class Action { None, Notice, Reload, Clear } action = Action::None;
    QString notice;
};
Following follow(const AppState& app, const std::optional<RowVersion>& stored, bool unreadable,
                 const RowVersion& shown, bool editing);

}  // namespace conflicts
