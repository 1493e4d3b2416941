#include "support/JobScreen.h"

#include "support/JobRecords.h"

#include <QApplication>

TestEnv& withJobFive(TestEnv& env) {
    env.openNewDatabase();
    env.app().DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
    JobFields job;
    job.JobStatus = QStringLiteral("Quoted");
    job.WorkName = QStringLiteral("Mrs O'Brien");
    job.DateDue = QStringLiteral("01/02/2010");
    job.CliName = QStringLiteral("Harbour Estates");
    if (!testjobs::save(env.app(), job, 0, 5).ok) {
        qFatal("job 5 not saved");
    }
    env.app().AppSettings.SetValue(QStringLiteral("LastJob"), QStringLiteral("5"));
    return env;
}

JobScreen openJobScreen(TestEnv& env) {
    JobScreen screen{std::make_unique<frmJobs>(env.app())};
    screen->Form_Load();
    screen->show();
    QApplication::setActiveWindow(screen);
    return screen;
}
