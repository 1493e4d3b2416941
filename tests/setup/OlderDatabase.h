#pragma once

#include <QString>

// A database of an earlier version of Verdell, in our engine, with a few rows in every table
// the import reads: two clients, a counters row, a customer, a document, document types, one
// customer in each of the three older address lists, introducers, two jobs, three statuses and
// two captions.
void makeOlderDatabase(const QString& file);
