#pragma once

#include <QStringList>
#include <QTextStream>

class AppState;

// The commands of verdell-admin. Each writes plain text to out and gives the exit status; a
// failure writes one clear line to err.
namespace admin {

struct Streams {
    QTextStream& out;
    QTextStream& err;
};

int run(AppState& app, const QStringList& arguments, Streams io);

// Shared by the commands: one clear line on err and the failing exit status.
int fail(Streams io, const QString& line);
// Opens the database the settings name, the server's when they name one, unless embeddedOnly;
// false after reporting why not.
bool openDatabase(AppState& app, Streams io, bool embeddedOnly);

// migrate --to postgresql://user@host:port/database
int migrateToServer(AppState& app, const QStringList& arguments, Streams io);

}  // namespace admin
