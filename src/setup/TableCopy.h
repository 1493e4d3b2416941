#pragma once

#include <QString>
#include <optional>

class Database;

// One table's rows copied from one database into the same table of another, column by column
// where both have the column; the rows the target held are replaced. On a server, new rows then
// carry on after the highest identity copied. The rows copied, or nothing (see the databases'
// lastError()).
namespace backup {

std::optional<int> copyTable(Database& from, Database& to, const QString& table);

}  // namespace backup
