#pragma once

#include "search/SearchRunner.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class AppState;
class Prompter;

// Searches as the user types. Each change of what is searched for waits for a short pause in
// the typing and then runs away from the screen's thread, on a connection of its own to the
// database the program has open; a newer change drops whatever answer the one before still had
// to give.
class TypingSearch : public QObject {
    Q_OBJECT
public:
    // How long the typing must pause before the search runs.
    static constexpr int kPauseMs = 150;
    // How many rows a search finds in all, when it showed only the first of them.
    using Count = std::function<std::optional<qint64>(Database&)>;

    explicit TypingSearch(AppState& app, QObject* parent = nullptr);
    ~TypingSearch() override;

    // What is searched for changed: runs the search once the typing pauses.
    void typed(SearchRunner::Search search);
    // Counts at once, on the same connection, what the search shown found in all; newer typing
    // drops the count.
    void count(Count count);
    // Runs nothing more and drops any answer still to come, as when the screen searches at once.
    void cancel();

Q_SIGNALS:
    // The rows the newest search found.
    void found(const Rows& rows);
    // How many rows the search shown found in all.
    void counted(qint64 total);
    // The newest search or count failed, for the reason given.
    void failed(const QString& message);

private:
    void runTyped();
    SearchRunner& runner();

    AppState& app_;
    QTimer pause_;
    SearchRunner::Search search_;
    // Made on the first search, and again when the program has changed its database since.
    std::unique_ptr<SearchRunner> runner_;
    QString runnerConnection_;
    // Whether the runner's newest work is a count, and the count it gives, filled in by the
    // runner's thread before it answers.
    bool counting_ = false;
    std::shared_ptr<qint64> total_;
};

// Tells the user a search could not be made, and why.
void showSearchFailure(Prompter& prompter, const QString& reason);
