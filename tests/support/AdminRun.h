#pragma once

// verdell-admin run as a script runs it, for the test programs that name it in VERDELL_ADMIN.

#include <QProcess>
#include <QString>
#include <QStringList>

#ifndef VERDELL_ADMIN
#error "the test program must name verdell-admin in VERDELL_ADMIN"
#endif

struct AdminRun {
    int status = -1;
    QString out, err;
};

inline AdminRun runAdmin(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VERDELL_ADMIN), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
