#pragma once

// The programs a fault test runs beside itself: verdell-admin as a script runs it, and a second
// program on a database file (verdell-test-holder).

#include "support/AdminRun.h"

#include <QProcess>
#include <QString>

// Starts the holder on the file in the given mode and waits until it says it is ready.
inline bool startHolder(QProcess& holder, const QString& file, const QString& mode) {
    holder.start(QStringLiteral(VERDELL_TEST_HOLDER), {file, mode});
    return holder.waitForReadyRead(60000) && holder.readLine().trimmed() == "ready";
}
