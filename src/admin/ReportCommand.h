#pragma once

#include "admin/AdminCommands.h"

#include <functional>

// verdell-admin report NAME [options] --pdf FILE: one of the program's reports as a PDF file,
// chosen with the options its screen offers. openDatabase opens the database as the program
// does and says why not on err.
namespace admin {

int report(AppState& app, const QStringList& arguments, Streams io,
           const std::function<bool()>& openDatabase);

QString reportUsage();

}  // namespace admin
