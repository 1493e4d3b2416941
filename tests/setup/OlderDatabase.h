#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A database of an earlier version of Verdell, in our engine, with a few rows in every table
// the import reads: two clients, a counters row, a customer, a document, document types, one
// customer in each of the three older address lists, introducers, two jobs, three statuses and
// two captions. The columns named in without (table, column) are left out, as in a file of a
// still earlier version.
void makeOlderDatabase(const QString& file, const QList<QPair<QString, QString>>& without = {});
