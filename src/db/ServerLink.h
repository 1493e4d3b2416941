#pragma once

#include <QObject>
#include <QTimer>

class Database;
class Prompter;
class QTcpSocket;

// Keeps a workstation's connection to its database server. When the server stops or the
// network drops, the connection refuses every statement at once (nothing half-written: the
// server rolls back what was not committed); the link says so to the user once, in plain words,
// and reconnects by itself as soon as the server answers again. Whether the server answers is
// asked without waiting on the network, so the screens never freeze while it is away.
class ServerLink : public QObject {
    Q_OBJECT
public:
    ServerLink(Database& db, Prompter& prompter, QObject* parent = nullptr);

    // Looks every second from now on; stop() ends it.
    void start();
    void stop();
    // One look now: notices a server gone, or tries to reach it again.
    void check();

    // The message that the server cannot be reached, shown now: for an action the server's
    // absence refused (a save), and by the link itself once each time the server goes away. A
    // caller may say it in its own words; the link then does not say it again.
    void tellUser(const QString& prompt = {}, const QString& heading = {});
    static QString title();
    static QString message(Database& db);

Q_SIGNALS:
    void lost();
    void restored();

private:
    void tryAgain();
    void reopen();

    Database& db_;
    Prompter& prompter_;
    QTimer timer_;
    QTcpSocket* knock_ = nullptr;  // asking whether the server's port answers
    bool away_ = false;
    bool told_ = false;
    bool telling_ = false;
};
