#include "db/ServerLink.h"

#include "db/Database.h"
#include "platform/Prompter.h"

#include <QTcpSocket>

namespace {
constexpr int kIntervalMs = 1000;
}  // namespace

ServerLink::ServerLink(Database& db, Prompter& prompter, QObject* parent)
    : QObject(parent), db_(db), prompter_(prompter) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ServerLink::check);
}

void ServerLink::start() {
    timer_.start();
}

void ServerLink::stop() {
    timer_.stop();
}

QString ServerLink::title() {
    return QStringLiteral("Database Server Not Reachable");
}

QString ServerLink::message(Database& db) {
    return QStringLiteral(
               "Verdell cannot reach %1.\r\n\r\nNothing can be saved until it answers again: a "
               "save is refused and changes nothing, and what you have typed stays on the "
               "screen. Verdell reconnects by itself as soon as the server is back; then save "
               "again.")
        .arg(db.describe());
}

void ServerLink::tellUser(const QString& prompt, const QString& heading) {
    if (telling_) {
        return;
    }
    telling_ = true;
    told_ = true;
    prompter_.message(prompt.isEmpty() ? message(db_) : prompt,
                      heading.isEmpty() ? title() : heading, Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation);
    telling_ = false;
}

void ServerLink::check() {
    if (!db_.onServer()) {
        return;
    }
    const bool away = db_.serverAway();
    if (!away) {
        told_ = false;
        if (away_) {
            away_ = false;
            told_ = false;
            Q_EMIT restored();
        }
        return;
    }
    if (!away_) {
        away_ = true;
        Q_EMIT lost();
        if (!told_) {
            tellUser();
        }
    }
    tryAgain();
}

void ServerLink::tryAgain() {
    if (knock_) {
        return;
    }
    const QString string = db_.connectionString();
    const QString host = connection::part(string, QStringLiteral("Host")).trimmed();
    bool ok = false;
    int port = connection::part(string, QStringLiteral("Port")).trimmed().toInt(&ok);
    if (!ok) {
        port = 5432;
    }
    if (host.isEmpty() || host.startsWith(u'/')) {
        reopen();  // a local socket answers or refuses at once
        return;
    }
    // Knocking first: opening the connection itself would wait for the network's timeout.
    auto* socket = new QTcpSocket(this);
    knock_ = socket;
    const auto over = [this, socket] {
        if (knock_ == socket) {
            knock_ = nullptr;
        }
        socket->deleteLater();
    };
    connect(socket, &QTcpSocket::connected, this, [this, socket, over] {
        socket->abort();
        over();
        reopen();
    });
    connect(socket, &QTcpSocket::errorOccurred, this, over);
    // A network that drops packets without a word never answers at all.
    QTimer::singleShot(kIntervalMs * 5, socket, over);
    socket->connectToHost(host, quint16(port));
}

void ServerLink::reopen() {
    if (db_.reconnect()) {
        check();
    }
}
