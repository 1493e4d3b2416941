#include "BenchApplication.h"

#include <QFile>
#include <cstdio>
#include <QFileInfo>

bool BenchApplication::open(bool privateCopy, QString* error) {
    file = qEnvironmentVariable("VERDELL_BENCH_DB");
    if (file.isEmpty()) {
        *error = QStringLiteral("VERDELL_BENCH_DB is not set; run the benchmarks with bench/run");
        return false;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    roots = FixedDriveRoots({folder.path()}, folder.path());
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
    app.AppSettings.CreateKey();
    app.DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
    app.CurrencySymbol = QStringLiteral("\u00A3");
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
