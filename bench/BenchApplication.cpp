#include "BenchApplication.h"

#include "db/ServerAddress.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

void BenchApplication::prepare() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    roots = FixedDriveRoots({folder.path()}, folder.path());
    app.AppSettings.CreateKey();
    app.DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
    app.CurrencySymbol = QStringLiteral("\u00A3");
}

bool BenchApplication::open(bool privateCopy, QString* error) {
    file = qEnvironmentVariable("VERDELL_BENCH_DB");
    if (file.isEmpty()) {
        *error = QStringLiteral("VERDELL_BENCH_DB is not set; run the benchmarks with bench/run");
        return false;
    }
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("VERDELL_BENCH_DB names %1, which is not a file").arg(file);
        return false;
    }
    file = QFileInfo(file).absoluteFilePath();
    if (privateCopy) {
        const QString copy = folder.path() + QStringLiteral("/verdell.mdb");
        if (!QFile::copy(file, copy)) {
            *error = QStringLiteral("cannot copy ") + file;
            return false;
        }
        file = copy;
    }
    prepare();
    if (!app.DbConnection.open(connection::forFile(file))) {
        *error = app.DbConnection.lastError().message;
        return false;
    }
    return true;
}

bool BenchApplication::openOrSay(bool privateCopy, const char* program) {
    QString error;
    if (open(privateCopy, &error)) {
        return true;
    }
    fprintf(stderr, "%s: %s\n", program, qPrintable(error));
    return false;
}

bool BenchApplication::openServer(QString* error) {
    const QString url = qEnvironmentVariable("VERDELL_BENCH_PG");
    if (url.isEmpty()) {
        *error = QStringLiteral("VERDELL_BENCH_PG names no database server; set it to "
                                "postgresql://user@host:port/database to measure on one");
        return false;
    }
    const std::optional<ServerAddress> server = ServerAddress::fromUrl(url, error);
    if (!server) {
        return false;
    }
    prepare();
    if (!app.DbConnection.open(server->connectionString())) {
        *error = app.DbConnection.lastError().message;
        return false;
    }
    if (app.DbConnection.scalar(QStringLiteral("SELECT count(*) FROM Jobs")).toInt() == 0) {
        *error = QStringLiteral("%1 holds no jobs; bench/run copies the register there")
                     .arg(app.DbConnection.describe());
        return false;
    }
    file.clear();
    return true;
}

bool BenchApplication::openConnection(const QString& connectionString, QString* error) {
    prepare();
    if (!app.DbConnection.open(connectionString)) {
        *error = app.DbConnection.lastError().message;
        return false;
    }
    return true;
}
