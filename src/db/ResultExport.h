#pragma once

#include "common/Csv.h"
#include "db/Rows.h"
#include "db/TextIndex.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>
#include <vector>

class Database;

// A result written to a CSV file as a grid or a report shows it: a header row of the columns'
// headings, then one record a row, each value in its column's kind (csv::Kind). The file takes
// its name only once whole.
namespace resultexport {

struct Column {
    QString heading;
    // The field of the rows it shows (found without regard to case; none writes empty values).
    QString field;
    csv::Kind kind = csv::Kind::Text;
};

// A statement and the values bound to it.
struct Statement {
    QString sql;
    QVariantList params;
};

struct Outcome {
    bool ok = false;
    qint64 rows = 0;  // written, besides the header
    QString error;    // why the file was not written, for the user
};

// Runs the statement once, reading forward, and writes each row as it is read, so that a result
// of any length is written whole without being held. A statement that searches through the text
// index is run again reading every row when the index fails (textindex::answer).
Outcome exportQuery(Database& db, const QString& file, const QList<Column>& columns,
                    const std::function<Statement(textindex::Through)>& statement);

// Rows already read, in their order, or in order's (positions in rows) when given.
Outcome exportRows(const QString& file, const QList<Column>& columns, const Rows& rows,
                   const std::vector<int>& order = {});

}  // namespace resultexport
