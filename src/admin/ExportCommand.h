#pragma once

#include "admin/AdminCommands.h"

#include <functional>

// verdell-admin export jobs|customers|clients|estimates [--search TEXT] --csv FILE: what a
// search screen lists, written as its "Export to CSV..." writes it. openDatabase opens the
// database as the program does and says why not on err.
namespace admin {

int exportList(AppState& app, const QStringList& arguments, Streams io,
               const std::function<bool()>& openDatabase);

QString exportUsage();

}  // namespace admin
