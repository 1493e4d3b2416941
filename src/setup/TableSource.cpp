#include "setup/TableSource.h"

#include "db/Database.h"
#include "setup/JetSource.h"
#include "setup/SqliteSource.h"

#include <QFileInfo>

QString TableSource::findTable(const QString& name) {
    for (const QString& table : tables()) {
        if (table.compare(name, Qt::CaseInsensitive) == 0) {
            return table;
        }
    }
    return {};
}

std::unique_ptr<TableSource> openTableSource(const QString& file, QString* error) {
    if (file.trimmed().isEmpty()) {
        *error = QStringLiteral("No database file is named.");
        return nullptr;
    }
    if (!QFileInfo::exists(file)) {
        *error = QStringLiteral("The file '%1' does not exist.").arg(file);
        return nullptr;
    }
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("'%1' is not a regular file (it is a folder, a device or a named "
                                "pipe): name the older database file itself.")
                     .arg(file);
        return nullptr;
    }
    switch (databaseFileKind(file)) {
        case DatabaseFileKind::Jet: {
            auto jet = std::make_unique<JetSource>(file);
            if (!jet->isOpen()) {
                *error = jet->error();
                return nullptr;
            }
            return jet;
        }
        case DatabaseFileKind::SQLite: {
            auto own = std::make_unique<SqliteSource>(file);
            if (!own->isOpen()) {
                *error = QStringLiteral("'%1' cannot be read: %2").arg(file, own->error());
                return nullptr;
            }
            return own;
        }
        case DatabaseFileKind::Unreadable:
            *error = QStringLiteral("The file '%1' cannot be read.").arg(file);
            return nullptr;
        case DatabaseFileKind::Empty:
        case DatabaseFileKind::Unknown:
            break;
    }
    *error = QStringLiteral("The file '%1' is not a database.").arg(file);
    return nullptr;
}
