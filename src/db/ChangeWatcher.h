#pragma once

#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QStringList>
#include <QTimer>

class Database;

namespace changes {

// The server's notification channel on which each write to a followed table is announced.
inline const QString kChannel = QStringLiteral("verdell_changes");
// The tables whose changes open screens follow.
QStringList followedTables();
// Whether a change concerns the table: an empty list of tables means any may have changed.
bool concerns(const QStringList& tables, const QString& table);

}  // namespace changes

// Tells the screens, within a second, that another workstation wrote to the database, so that
// they can show its work. On a database server the server announces each write to a followed
// table (LISTEN/NOTIFY, which a revision of the schema sets up); the embedded file is asked
// every half second whether another connection committed to it (its data version), which costs
// no reading of rows. The workstation's own writes are not announced to itself.
class ChangeWatcher : public QObject {
    Q_OBJECT
public:
    explicit ChangeWatcher(Database& db, QObject* parent = nullptr);

    // Follows the connection from now on (a reopened connection too); stop() ends it.
    void start();
    void stop();
    // Looks once, now, as the timer does.
    void poll();
    // After a reconnection anything may have changed meanwhile: the next look says so.
    void resync() { resync_ = true; }

Q_SIGNALS:
    // Another workstation wrote to these tables (or, with an empty list, to any table).
    void changed(const QStringList& tables);

private:
    void listen();
    void heard(const QString& name, QSqlDriver::NotificationSource source, const QVariant& payload);

    Database& db_;
    QTimer timer_;
    qint64 dataVersion_ = -1;
    bool resync_ = false;
    QPointer<QSqlDriver> driver_;
    QString schema_;
    QStringList heard_;
};
