#pragma once

#include "db/Rows.h"

#include <QString>
#include <optional>

class Database;

namespace search {

// Finding a customer, or a client, whose name or address holds a text (trimmed), without regard
// to case; an empty text finds them all. Rows: Name, Address, Telephone, DummyId, ordered by name.
// For clients the Telephone column holds the client's contact, as the search grid shows it.
// Nothing on failure (see db.lastError()).
std::optional<Rows> searchContacts(Database& db, const QString& text, bool clients);

}  // namespace search
