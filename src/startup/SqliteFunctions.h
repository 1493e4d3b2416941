#pragma once

struct sqlite3;

// Makes text comparison on an SQLite connection ignore case for every letter, as the data's
// users expect, not only for A to Z: replaces the NOCASE collation and adds
// ulike(pattern, text[, escape]), a LIKE whose letters match without regard to case.
// Returns an SQLite result code.
int installTextFunctions(sqlite3* db);
