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

}  // namespace admin
