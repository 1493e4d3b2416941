#include "LoadWorkstation.h"

#include "BenchApplication.h"
#include "addressbook/ContactRecord.h"
#include "documents/JobDocuments.h"
#include "documents/MergeEngine.h"
#include "estimates/EstimateStore.h"
#include "jobs/JobStore.h"
#include "records/Captions.h"
#include "reports/JobAgeReport.h"
#include "search/JobSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace load {

namespace {

constexpr qint64 kLookMs = 1000;
const QStringList kStatuses = {QStringLiteral("Awaiting Survey"), QStringLiteral("Quoted"),
                               QStringLiteral("In Progress"), QStringLiteral("Completed")};
const QStringList kWords = {QStringLiteral("Load"), QStringLiteral("Shared"),
                            QStringLiteral("street"), QStringLiteral("w3-"),
                            QStringLiteral("nothing like it")};

}  // namespace

Workstation::Workstation(BenchApplication& bench, int index, QTextStream& log)
    : bench_(bench), index_(index), log_(log), random_(quint32(index) * 7919u + 17u) {
    bench_.app.Workstation = QStringLiteral("workstation %1").arg(index);
}

int Workstation::toldAway() const {
    return int(bench_.prompter.titles().count(ServerLink::title()));
}

void Workstation::write(const QString& operation, const QString& outcome, qint64 ms,
                        const QString& key, qint64 version, const QString& marker) {
    log_ << operation << '\t' << outcome << '\t' << ms << '\t' << key << '\t' << version << '\t'
         << marker << '\n';
    log_.flush();
}

void Workstation::failed(const QString& operation, qint64 ms, const QString& reason) {
    const bool away = bench_.app.DbConnection.serverAway();
    write(operation, away ? QStringLiteral("refused") : QStringLiteral("error"), ms, {}, 0,
          QString(reason).replace(u'\t', u' ').replace(u'\n', u' '));
}

bool Workstation::waitForServer(qint64 deadlineMs) {
    QElapsedTimer waited;
    waited.start();
    qint64 lastLook = -kLookMs;
    while (bench_.app.DbConnection.serverAway()) {
        if (waited.elapsed() > deadlineMs) {
            return false;
        }
        // Once a second, as the program's own timer looks: every look knocks at the server's
        // port, and each knock costs the server a process.
        if (waited.elapsed() - lastLook >= kLookMs) {
            lastLook = waited.elapsed();
            bench_.app.server.check();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(50);
    }
    return true;
}

bool Workstation::run(int operations, qint64 deadlineMs) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < operations; ++i) {
        const QString marker = QStringLiteral("w%1-%2").arg(index_).arg(i);
        const quint32 roll = random_.bounded(100u);
        if (roll < 20) {
            newJob(marker);
        } else if (roll < 45) {
            saveJob(marker);
        } else if (roll < 55) {
            saveContact(marker);
        } else if (roll < 65) {
            saveEstimate(marker);
        } else if (roll < 80) {
            search(marker);
        } else if (roll < 88) {
            report(marker);
        } else {
            document(marker);
        }
        // The link notices a server that went away, and says so, as in the program.
        bench_.app.server.check();
        QCoreApplication::processEvents();
        if (!waitForServer(deadlineMs - clock.elapsed())) {
            return false;
        }
    }
    return true;
}

void Workstation::newJob(const QString& marker) {
    JobFields job;
    job.WorkName = QStringLiteral("Load customer ") + marker;
    job.WorkDetails = marker;
    job.JobStatus = kStatuses[qsizetype(random_.bounded(quint32(kStatuses.size())))];
    job.CliName = QStringLiteral("Load client %1").arg(index_);
    QElapsedTimer timer;
    timer.start();
    const jobs::SavedJob saved = jobs::writeJob(
        bench_.app.DbConnection, jobs::jobFormat(bench_.app), bench_.app.saveStamp(), job, 0);
    if (!saved.ok) {
        failed(QStringLiteral("new-job"), timer.elapsed(), saved.error);
        return;
    }
    write(QStringLiteral("new-job"), QStringLiteral("done"), timer.elapsed(),
          QString::number(saved.jobNo), saved.row.version.number, marker);
}

void Workstation::saveJob(const QString& marker) {
    const qint32 jobNo = qint32(random_.bounded(quint32(kSharedJobs))) + 1;
    QElapsedTimer timer;
    timer.start();
    jobs::LoadedJob job =
        jobs::readJob(bench_.app.DbConnection, jobs::jobFormat(bench_.app), jobNo);
    if (job.outcome != jobs::LoadedJob::Outcome::Found) {
        failed(QStringLiteral("save-job"), timer.elapsed(), QStringLiteral("not read"));
        return;
    }
    job.fields.WorkNotes = marker;
    // The time the user waits for the save, without the reading and the thinking before it.
    timer.restart();
    jobs::JobRow base = job.row;
    QString outcome = QStringLiteral("done");
    for (;;) {
        const jobs::SavedJob saved =
            jobs::writeJob(bench_.app.DbConnection, jobs::jobFormat(bench_.app),
                           bench_.app.saveStamp(), job.fields, jobNo, std::nullopt, base);
        if (saved.outcome == SaveOutcome::ChangedElsewhere) {
            if (!keepMine()) {
                write(QStringLiteral("save-job"), QStringLiteral("cancelled"), timer.elapsed(),
                      QString::number(jobNo), 0, marker);
                return;
            }
            outcome = QStringLiteral("kept");
            base = saved.row;
            continue;
        }
        if (!saved.ok) {
            failed(QStringLiteral("save-job"), timer.elapsed(), saved.error);
            return;
        }
        write(QStringLiteral("save-job"), outcome, timer.elapsed(), QString::number(jobNo),
              saved.row.version.number, marker);
        return;
    }
}

void Workstation::saveContact(const QString& marker) {
    const qint32 id = qint32(random_.bounded(quint32(kSharedContacts))) + 1;
    clsCustomers customer(bench_.app.DbConnection);
    customer.Load(id);
    if (customer.DummyID != id) {
        failed(QStringLiteral("save-contact"), 0, QStringLiteral("not read"));
        return;
    }
    customer.Address = marker;
    QElapsedTimer timer;
    timer.start();
    QString outcome = QStringLiteral("done");
    for (;;) {
        const SaveOutcome saved = customer.Save(bench_.app.saveStamp());
        if (saved == SaveOutcome::ChangedElsewhere) {
            if (!keepMine()) {
                write(QStringLiteral("save-contact"), QStringLiteral("cancelled"),
                      timer.elapsed(), QString::number(id), 0, marker);
                return;
            }
            outcome = QStringLiteral("kept");
            customer.Version = customer.Theirs;
            continue;
        }
        if (saved != SaveOutcome::Saved) {
            failed(QStringLiteral("save-contact"), timer.elapsed(),
                   bench_.app.DbConnection.lastError().message);
            return;
        }
        write(QStringLiteral("save-contact"), outcome, timer.elapsed(), QString::number(id),
              customer.Version.number, marker);
        return;
    }
}

void Workstation::saveEstimate(const QString& marker) {
    const qint64 estNo = kFirstEstimate + random_.bounded(quint32(kSharedEstimates));
    const std::optional<estimates::StoredEstimate> stored =
        estimates::LoadFullEstimate(bench_.app.DbConnection, estNo);
    if (!stored) {
        failed(QStringLiteral("save-estimate"), 0, QStringLiteral("not read"));
        return;
    }
    estimates::EstimateSave save;
    save.EstNo = estNo;
    save.CustomerID = stored->ClientId;
    save.customer = stored->customer;
    save.Delivery = QStringLiteral("12.50");
    save.DateCreated = stored->DateCreated;
    save.version = stored->version;
    QList<estimates::EstimateLine> lines = stored->lines;
    lines.first().Description = marker;
    QElapsedTimer timer;
    timer.start();
    QString outcome = QStringLiteral("done");
    for (;;) {
        const estimates::SavedEstimate saved = estimates::saveNumberedEstimate(
            bench_.app.DbConnection, save, lines, bench_.app.saveStamp());
        if (saved.outcome == SaveOutcome::ChangedElsewhere) {
            if (!keepMine()) {
                write(QStringLiteral("save-estimate"), QStringLiteral("cancelled"),
                      timer.elapsed(), QString::number(estNo), 0, marker);
                return;
            }
            outcome = QStringLiteral("kept");
            save.version = saved.version;
            continue;
        }
        if (!saved) {
            failed(QStringLiteral("save-estimate"), timer.elapsed(),
                   bench_.app.DbConnection.lastError().message);
            return;
        }
        write(QStringLiteral("save-estimate"), outcome, timer.elapsed(), QString::number(estNo),
              saved.version.number, marker);
        return;
    }
}

void Workstation::search(const QString& marker) {
    QElapsedTimer timer;
    timer.start();
    const QString text = kWords[qsizetype(random_.bounded(quint32(kWords.size())))];
    if (!searchJobs(bench_.app.DbConnection, text, {}, QStringLiteral("JobNo"))) {
        failed(QStringLiteral("search"), timer.elapsed(),
               bench_.app.DbConnection.lastError().message);
        return;
    }
    write(QStringLiteral("search"), QStringLiteral("done"), timer.elapsed(), text, 0, marker);
}

void Workstation::report(const QString& marker) {
    // Each workstation asks for its own status, so rows of another's report would show.
    const QString status = kStatuses[index_ % kStatuses.size()];
    QElapsedTimer timer;
    timer.start();
    Database& db = bench_.app.DbConnection;
    if (!UpdateAgeTable(bench_.app.DbConnection, bench_.app.FieldCaptions, bench_.app.clock.today(),
                        status, QStringLiteral("All"),
                        bench_.app.FieldCaptions[Caption::DateCreated])) {
        failed(QStringLiteral("report"), timer.elapsed(), db.lastError().message);
        return;
    }
    const QVariant others =
        db.scalar(QStringLiteral("SELECT count(*) FROM jobsreport WHERE JobStatus <> ?"), {status});
    if (!others.isValid()) {
        failed(QStringLiteral("report"), timer.elapsed(), db.lastError().message);
        return;
    }
    if (others.toInt() != 0) {
        write(QStringLiteral("report"), QStringLiteral("error"), timer.elapsed(), status, 0,
              QStringLiteral("rows of another workstation's report"));
        return;
    }
    write(QStringLiteral("report"), QStringLiteral("done"), timer.elapsed(), status, 0, marker);
}

void Workstation::document(const QString& marker) {
    const qint32 jobNo = qint32(random_.bounded(quint32(kSharedJobs))) + 1;
    QElapsedTimer timer;
    timer.start();
    const jobs::LoadedJob job =
        jobs::readJob(bench_.app.DbConnection, jobs::jobFormat(bench_.app), jobNo);
    if (job.outcome != jobs::LoadedJob::Outcome::Found) {
        failed(QStringLiteral("document"), timer.elapsed(), QStringLiteral("job not read"));
        return;
    }
    const int before = bench_.prompter.count();
    const MadeDocument doc = makeJobDocument(bench_.app, jobNo, kTemplate, marker, job.fields);
    if (!doc.error.isEmpty()) {
        failed(QStringLiteral("document"), timer.elapsed(), doc.error);
        return;
    }
    if (doc.path.isEmpty()) {
        write(QStringLiteral("document"), QStringLiteral("error"), timer.elapsed(), doc.fileName,
              0,
              bench_.prompter.count() > before ? bench_.prompter.last().prompt.simplified()
                                               : QStringLiteral("not made"));
        return;
    }
    write(QStringLiteral("document"), QStringLiteral("done"), timer.elapsed(), doc.fileName, 0,
          marker);
}

}  // namespace load
