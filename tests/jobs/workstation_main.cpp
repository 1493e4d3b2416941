// One workstation of the concurrency test: opens the database it is given and takes job numbers
// or saves its version of a job, as Workstation.h describes.
#include "jobs/Workstation.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s CONNECTION numbers COUNT | CONNECTION save JOBNO VERSION "
                             "COUNT\n", argv[0]);
        return 2;
    }
    TestEnv env;
    AppState& app = env.app();
    app.DefaultDateFormat = workstation::dateFormat();
    app.CurrencySymbol = workstation::currency();
    if (!app.DbConnection.open(args[1])) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(args[1]),
                     qPrintable(app.DbConnection.lastError().message));
        return 1;
    }
    if (args[2] == QLatin1String("numbers")) {
        const int count = args[3].toInt();
        for (int i = 0; i < count; ++i) {
            const auto number =
                jobs::GetNewJobNumber(app.DbConnection, app.prompter, app.ManualNumbering);
            if (!number) {
                std::fprintf(stderr, "no number: %s\n",
                             qPrintable(app.DbConnection.lastError().message));
                return 1;
            }
            std::printf("%d\n", *number);
        }
        return 0;
    }
    if (args[2] == QLatin1String("save") && args.size() == 6) {
        const qint32 jobNo = args[3].toInt();
        const JobFields fields = workstation::version(args[4].toInt());
        const int count = args[5].toInt();
        for (int i = 0; i < count; ++i) {
            // As the job screen does: the job as stored, then the save over that version.
            const jobs::LoadedJob read = testjobs::read(app, jobNo);
            const jobs::SavedJob saved = testjobs::save(app, fields, jobNo, std::nullopt, read.row);
            if (saved.outcome == SaveOutcome::ChangedElsewhere) {
                std::printf("conflict\n");
                continue;
            }
            if (!saved.ok || saved.jobNo != jobNo) {
                std::fprintf(stderr, "save failed: %s\n", qPrintable(saved.error));
                return 1;
            }
            std::printf("saved\n");
        }
        return 0;
    }
    std::fprintf(stderr, "unknown request\n");
    return 2;
}
