#pragma once

#include "db/Database.h"
#include "support/TestEnv.h"

#include <QString>

// A register of the kind an office keeps: names and addresses as long as real ones run, among
// short ones, so that grids can be checked against the widest values users meet.
namespace testregister {

struct Contact {
    QString name;
    QString address;  // lines joined by line feeds
    QString telephone;
};

// The i-th contact of the register; every few rows the longest forms come round.
inline Contact contact(int i) {
    static const char* titles[] = {"Mr", "Mrs", "Ms", "Dr", "Mr & Mrs"};
    static const char* surnames[] = {"Smith", "O'Brien", "Fitzwilliam-Hargreaves", "Ellis",
                                     "Whitworth", "Ramsbottom", "Dunn"};
    static const char* companies[] = {"Harbour Estates Lettings Ltd",
                                      "Acme Roofing & Building Services", "Bell & Co"};
    static const char* streets[] = {"Larkspur Close", "Wellington Road North", "High Street",
                                    "Marlborough Gardens", "Mill Lane"};
    static const char* districts[] = {"Headingley", "Chapel Allerton", "Horsforth", "Roundhay"};
    static const char* towns[] = {"Leeds", "Harrogate", "Wakefield"};
    const QString name =
        i % 9 == 4 ? QString::fromUtf8(companies[i / 9 % 3])
                   : QStringLiteral("%1 %2. %3 %4")
                         .arg(QLatin1String(titles[i % 5]), QChar(u'A' + i % 26),
                              QLatin1String(surnames[i % 7]), QString::number(i));
    const QString address = QStringLiteral("%1 %2\n%3\n%4\nLS%5 %6QT")
                                .arg(1 + i * 7 % 150)
                                .arg(QLatin1String(streets[i % 5]), QLatin1String(districts[i % 4]),
                                     QLatin1String(towns[i % 3]))
                                .arg(1 + i % 29)
                                .arg(i % 10);
    return {name, address, QStringLiteral("0113 496 %1").arg(1000 + i)};
}

// Adds count contacts of the register to the customers table.
inline void addCustomers(Database& db, int count) {
    for (int i = 0; i < count; ++i) {
        const Contact c = contact(i);
        TestEnv::addRow(db, QStringLiteral("customers"),
                        {{QStringLiteral("Name"), c.name},
                         {QStringLiteral("Address"), c.address},
                         {QStringLiteral("Telephone"), c.telephone},
                         {QStringLiteral("Contact"), c.telephone}});
    }
}

}  // namespace testregister
