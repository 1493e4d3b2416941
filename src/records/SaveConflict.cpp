#include "records/SaveConflict.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"

namespace conflicts {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A value as a line of the comparison: its first line, shortened, in quotes.
QString quoted(const QString& value) {
    constexpr int kLongest = 60;
    QString line = value.section(u'\n', 0, 0).trimmed();
    const bool more = line.size() > kLongest || value.trimmed().contains(u'\n');
    if (line.size() > kLongest) {
        line = line.left(kLongest).trimmed();
    }
    return u'"' + line + (more ? QStringLiteral("...") : QString()) + u'"';
}

}  // namespace

QString savedBy(const AppState& app, const RowVersion& version) {
    QString text =
        QStringLiteral("by ") +
        (version.changedBy.isEmpty() ? QStringLiteral("another workstation") : version.changedBy);
    if (version.changedAt.isValid()) {
        text += QStringLiteral(" at ") +
                version.changedAt.time().toString(QStringLiteral("hh:mm")) +
                QStringLiteral(" on ") + formatDisplayDate(app, version.changedAt);
    }
    return text;
}

bool keepMine(AppState& app, const QString& record, const RowVersion& theirs,
              const std::function<QList<Difference>()>& differences) {
    const QString who = savedBy(app, theirs);
    for (;;) {
        const int choice = app.prompter.choose(
            record + QStringLiteral(" was changed at another workstation after you opened it, ") +
                who + u'.' + kCrLf + kCrLf +
                QStringLiteral("You can see their version first. Keep Mine saves yours in its "
                               "place; Cancel saves nothing and leaves your changes on the "
                               "screen."),
            QStringLiteral("Changed At Another Workstation"),
            {QStringLiteral("&See Their Version"), QStringLiteral("&Keep Mine"),
             QStringLiteral("Cancel")},
            Prompter::Icon::Exclamation);
        if (choice == 1) {
            return true;
        }
        if (choice != 0) {
            return false;
        }
        const QList<Difference> found = differences();
        QStringList lines;
        for (const Difference& d : found) {
            lines << d.caption + QStringLiteral(" ") + quoted(d.theirs) +
                         QStringLiteral(" (yours: ") + quoted(d.mine) + u')';
        }
        const QString theirVersion = QStringLiteral("Their version, saved ") + who;
        app.prompter.message(
            found.isEmpty() ? QString(theirVersion + QStringLiteral(", holds the same as yours."))
                            : QString(theirVersion + QStringLiteral(", differs from yours in:") +
                                      kCrLf + kCrLf + lines.join(kCrLf)),
            record + QStringLiteral(": Their Version"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
    }
}

bool saveAgain(AppState& app, const QString& record, const QString& number) {
    return app.prompter.message(
               record +
                   QStringLiteral(" was deleted at another workstation after you opened "
                                  "it.") +
                   kCrLf + kCrLf + QStringLiteral("Save it again under its own number ") + number +
                   QStringLiteral("? No saves nothing and leaves your changes on the screen."),
               QStringLiteral("Deleted At Another Workstation"), Prompter::Buttons::YesNo,
               Prompter::Icon::Question) == Prompter::Answer::Yes;
}

QString changedWhileEditing(const AppState& app, const RowVersion& theirs) {
    return QStringLiteral("Changed at another workstation ") + savedBy(app, theirs) +
           QStringLiteral(". Saving asks which version to keep.");
}

QString deletedWhileEditing() {
    return QStringLiteral(
        "Deleted at another workstation. Saving asks whether to save it "
        "again.");
}

Following follow(const AppState& app, const std::optional<RowVersion>& stored, bool unreadable,
                 const RowVersion& shown, bool editing) {
    using Action = Following::Action;
    if (unreadable || (stored && stored->number == shown.number)) {
        return {};
    }
    if (editing) {
        return {Action::Notice, stored ? changedWhileEditing(app, *stored) : deletedWhileEditing()};
    }
    if (!stored) {
        return {Action::Clear, QStringLiteral("Deleted at another workstation.")};
    }
    return {Action::Reload, QStringLiteral("Shown as saved at another workstation ") +
                                savedBy(app, *stored) + u'.'};
}

}  // namespace conflicts
