#include "OlderDatabase.h"

#include "db/Database.h"

#include <QDateTime>

namespace {

void run(Database& db, const QString& sql, const QVariantList& values = {}) {
    if (!db.exec(sql, values)) {
        qFatal("older database: %s: %s", qPrintable(sql), qPrintable(db.lastError().message));
    }
}

}  // namespace

void makeOlderDatabase(const QString& file, const QList<QPair<QString, QString>>& without) {
    Database db;
    if (!db.create(file)) {
        qFatal("cannot make %s", qPrintable(file));
    }
    run(db, "CREATE TABLE clients (Name TEXT, Address TEXT, Tel TEXT, Contact TEXT, Notes TEXT)");
    run(db, "INSERT INTO clients VALUES (?, ?, ?, ?, ?)",
        {"Harbour Lettings", "1 Quay St\r\nPoole", "01202 111", "Ann", "pays late"});
    run(db, "INSERT INTO clients VALUES (?, ?, ?, ?, ?)", {"Søren & Co", QVariant(), "", "", ""});
    run(db, "CREATE TABLE counters (FileCounter INTEGER, JobCounter INTEGER, Free2 INTEGER, "
            "Free3 INTEGER)");
    run(db, "INSERT INTO counters VALUES (?, ?, ?, ?)", {310, 1207, 55, 5});
    run(db, "CREATE TABLE customers (ClientID INTEGER, Name TEXT, Address TEXT, ContactNos TEXT)");
    run(db, "INSERT INTO customers VALUES (?, ?, ?, ?)", {4, "Mrs Dale", "2 Elm Rd", "07700 900"});
    run(db, "CREATE TABLE docs (JobNumber INTEGER, FileName TEXT, \"Date\" TEXT, Title TEXT, "
            "AddressType TEXT, DocType TEXT)");
    run(db, "INSERT INTO docs VALUES (?, ?, ?, ?, ?, ?)",
        {1206, "309.doc", "2009-03-02 10:15:00", "Letter", "", ""});
    run(db, "CREATE TABLE DocType (DocType TEXT)");
    run(db, "INSERT INTO DocType VALUES (?)", {"Survey"});
    for (const char* table : {"Quillon", "Pendry"}) {
        run(db, QStringLiteral("CREATE TABLE %1 (ID INTEGER, Name TEXT, Add1 TEXT, add2 TEXT, "
                               "Add3 TEXT, PCode TEXT, Contact TEXT, Tel TEXT)")
                    .arg(QLatin1String(table)));
    }
    run(db, "INSERT INTO Quillon VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        {7, "Mr Quill", "3 Oak Way", "", "Wimborne", "BH21 1AA", "Jo", "01202 222"});
    run(db, "INSERT INTO Pendry VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        {8, "Ms Pendry", "4 Ash Cl", "Flat 2", "Ferndown", "BH22 2BB", "", "01202 333"});
    run(db, "CREATE TABLE Marbeck (ID INTEGER, Name TEXT, Add1 TEXT, add2 TEXT, PCode TEXT, "
            "Contact TEXT, Tel TEXT)");
    run(db, "INSERT INTO Marbeck VALUES (?, ?, ?, ?, ?, ?, ?)",
        {9, "Dr Marbeck", "5 Yew Ln", "Verwood", "BH31 3CC", "", "01202 444"});
    run(db, "CREATE TABLE IntroducedBy (IntroducedBy TEXT)");
    run(db, "INSERT INTO IntroducedBy VALUES (?)", {"Harbour Lettings"});
    run(db, "CREATE TABLE Jobs (JobNo INTEGER, JobStatus TEXT, IntroducedBy TEXT, WorkDetails "
            "TEXT, WorkName TEXT, HomeAddress TEXT, HomeNumbers TEXT, WorkNotes TEXT, "
            "DateReceived TEXT, DateDue TEXT, DateCreated TEXT, DateCompleted TEXT, ClientRef "
            "TEXT, DateQuoted TEXT, CliName TEXT, CliAddress TEXT, CliNumbers TEXT, CliNotes TEXT, "
            "CompanyName TEXT, CustName TEXT)");
    const QString sql = QStringLiteral("INSERT INTO Jobs VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    run(db, sql,
        {1205, "CLOSED", "Harbour Lettings", "Replace boiler", "Mrs Dale", "2 Elm Rd", "07700",
         "Line one\r\nLine two", "2009-02-01 00:00:00", QVariant(), "2009-01-30 00:00:00",
         QVariant(), "HL/77", QVariant(), "Harbour Lettings", "1 Quay St", "01202 111", "",
         "Harbour Lettings", "Mrs Dale"});
    run(db, sql,
        {1206, "Quoted", "Direct", "Fence", "Mr Quill", "3 Oak Way", "", QVariant(),
         "not a date", "2009-04-01 00:00:00", "2009-03-01 00:00:00", QVariant(), "", QVariant(),
         "", "", "", "", "", "Mr Quill"});
    run(db, "CREATE TABLE JobStatus (Status TEXT)");
    for (const char* status : {"Open", "On Hold", "CLOSED"}) {
        run(db, "INSERT INTO JobStatus VALUES (?)", {QString::fromLatin1(status)});
    }
    run(db, "CREATE TABLE Labels (\"Index\" INTEGER, \"Text\" TEXT)");
    run(db, "INSERT INTO Labels VALUES (?, ?)", {0, "Surveyed On:"});
    run(db, "INSERT INTO Labels VALUES (?, ?)", {1, "Agent:"});
    for (const auto& [table, column] : without) {
        run(db, QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
    }
}
