#pragma once

#include "db/RowValues.h"
#include "records/Captions.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

// A test's database with the stored captions loaded, as the program has them after starting,
// and jobs added with the fields each test names.
struct ReportEnv {
    TestEnv env;

    ReportEnv() {
        env.openNewDatabase();
        captions::load(db(), env.app().FieldCaptions);
        env.app().DefaultDateFormat = "dd/mm/yyyy";
    }
    // The windows a test opened go before the state they use.
    ~ReportEnv() {
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                w->close();
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    ReportEnv(const ReportEnv&) = delete;
    ReportEnv& operator=(const ReportEnv&) = delete;

    AppState& app() { return env.app(); }
    Database& db() { return env.app().DbConnection; }
    const QString& caption(int index) const {
        return const_cast<ReportEnv*>(this)->app().FieldCaptions[size_t(index)];
    }

    // Each job's fields in the order of the columns.
    void addJobs(const QStringList& columns, const QList<QVariantList>& jobs) {
        for (const QVariantList& values : jobs) {
            RowValues row(db().dialect(), "Jobs");
            for (qsizetype i = 0; i < columns.size(); ++i) {
                row.set(columns[i], values.value(i));
            }
            QVERIFY2(db().exec(row.insert(), row.values()), qPrintable(db().lastError().message));
        }
    }
};
