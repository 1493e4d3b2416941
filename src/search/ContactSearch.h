#pragma once

#include "db/ResultExport.h"
#include "db/Rows.h"
#include "db/TextIndex.h"

#include <QString>
#include <optional>

class Database;

namespace search {

// Finding a customer, or a client, whose name or address holds a text (trimmed), without regard
// to case; an empty text finds them all. Rows: Name, Address, Telephone, DummyId, ordered by name.
// For clients the Telephone column holds the client's contact, as the search grid shows it.
// Found through the text index unless through asks to read every row (the same rows, more
// slowly). Nothing on failure (see db.lastError()).
std::optional<Rows> searchContacts(Database& db, const QString& text, bool clients,
                                   textindex::Through through = textindex::Through::Index);

// The columns the contact search's grid shows, in its order.
QList<resultexport::Column> contactSearchColumns();

}  // namespace search
