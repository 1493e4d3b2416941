#pragma once

#include "db/RowValues.h"
#include "records/Captions.h"
#include "reports/ReportPages.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

// The texts of the item (its name in any case) on the page, in order.
inline QStringList textsOf(const ReportPages& pages, int page, const QString& item) {
    QStringList out;
    for (const auto& t : pages.texts(page)) {
        if (t.item.compare(item, Qt::CaseInsensitive) == 0) {
            out << t.text;
        }
    }
    return out;
}

// The texts of the item on every page, in order.
inline QStringList allTextsOf(const ReportPages& pages, const QString& item) {
    QStringList out;
    for (int p = 0; p < pages.pageCount(); ++p) {
        out << textsOf(pages, p, item);
    }
    return out;
}

// What a PDF reader finds in the file: the page laid out as printed, or with page 0 every
// page in reading order.
inline QString pdfText(const QString& file, int page = 0) {
    const QString n = QString::number(page);
    QProcess p;
    p.start("pdftotext", (page > 0 ? QStringList{"-layout", "-f", n, "-l", n} : QStringList{}) +
                             QStringList{file, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

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
