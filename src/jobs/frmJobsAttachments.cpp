// The job screen's attached files: choosing or dropping them, copying them in, and removing the
// copies with their rows or with the job.

#include "jobs/DocumentsPage.h"
#include "jobs/frmJobs.h"

#include "documents/Attachments.h"
#include "documents/MergeEngine.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <atomic>
#include <vector>

namespace {

// Up to this much is copied at once on the screen's thread; more goes to a thread of its own
// with a progress window, so that the screen keeps being drawn.
constexpr qint64 kCopiedAtOnce = 16 << 20;

// Copies each file in and records it (the recording on this thread, where the database is),
// one file after another; what could not be attached, each with the reason.
QStringList attachAll(AppState& app, QWidget* screen, qint32 jobNo, const QStringList& paths) {
    const QString folder = documentsFolder(app);
    std::vector<attachments::Copy> copies(size_t(paths.size()));
    QStringList problems;
    QSet<QString> taken;
    const auto record = [&](size_t i) {
        const QString why = attachments::record(app, jobNo, copies[i]);
        if (!why.isEmpty()) {
            problems << why;
        }
    };
    qint64 total = 0;
    for (const QString& path : paths) {
        total += QFileInfo(path).size();
    }
    if (total <= kCopiedAtOnce) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (size_t i = 0; i < copies.size(); ++i) {
            copies[i] = attachments::copyIn(folder, jobNo, paths[qsizetype(i)], taken);
            record(i);
        }
        QApplication::restoreOverrideCursor();
        return problems;
    }
    // The copies are made on a thread of their own, then recorded here one by one with the
    // screen's events run between them. (Recording each as it came made the database's syncs
    // wait behind the copies' on the same disk, holding the screen for half a second.)
    QProgressDialog progress(QStringLiteral("Copying the files into the job's documents..."),
                             QStringLiteral("Stop"), 0, int(paths.size()), screen);
    progress.setObjectName(QStringLiteral("dlgAttaching"));
    progress.setWindowTitle(Prompter::applicationTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    std::atomic<bool> stop{false};
    QObject::connect(&progress, &QProgressDialog::canceled, [&stop] { stop = true; });
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (size_t i = 0; i < copies.size() && !stop; ++i) {
            copies[i] = attachments::copyIn(folder, jobNo, paths[qsizetype(i)], taken);
            QMetaObject::invokeMethod(
                &progress, [&progress, i] { progress.setValue(int(i) + 1); }, Qt::QueuedConnection);
        }
    }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    worker->start();
    loop.exec();
    worker->wait();
    int stopped = 0;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].file || !copies[i].error.isEmpty()) {
            record(i);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else {
            ++stopped;
        }
    }
    if (stopped > 0) {
        problems << QStringLiteral(
                        "Copying was stopped: %1 of the files chosen were not "
                        "attached.")
                        .arg(stopped);
    }
    return problems;
}

}  // namespace

void frmJobs::cmdAttachFiles_Click() {
    if (refuseDocumentWithoutJob()) {
        return;
    }
    attachFiles(app_.prompter.openFiles(QStringLiteral("Attach Files"), QDir::homePath(),
                                        QStringLiteral("All Files (*)")));
}

void frmJobs::attachFiles(const QStringList& paths) {
    if (paths.isEmpty() || refuseDocumentWithoutJob()) {
        return;
    }
    const qint32 job = jobNumber();
    const QString folder = documentsFolder(app_);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        app_.prompter.message(QStringLiteral("The documents folder \"%1\" cannot be found, so "
                                             "nothing was attached. Choose it in Setup, on the "
                                             "File Locations tab.")
                                  .arg(QDir::toNativeSeparators(folder)),
                              QStringLiteral("Files Not Attached"), Prompter::Buttons::Ok,
                              Prompter::Icon::Exclamation);
        return;
    }
    const QStringList problems = attachAll(app_, this, job, paths);
    LoadDocs(job);
    if (!problems.isEmpty()) {
        app_.prompter.message(problems.join(QStringLiteral("\r\n\r\n")),
                              QStringLiteral("Files Not Attached"), Prompter::Buttons::Ok,
                              Prompter::Icon::Exclamation);
    }
}

std::optional<bool> frmJobs::removeCopyToo(const QString& fileName) {
    if (!attachments::isAttachment(fileName)) {
        return false;
    }
    const Prompter::Answer answer = app_.prompter.message(
        QStringLiteral("Delete the attached file's copy \"%1\" in the documents folder too?\r\n\r\n"
                       "Yes deletes the copy; No keeps it in that folder.")
            .arg(QDir::toNativeSeparators(fileName)),
        QStringLiteral("Delete Attached File"), Prompter::Buttons::YesNoCancel,
        Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel) {
        return std::nullopt;
    }
    return answer == Prompter::Answer::Yes;
}

std::optional<QStringList> frmJobs::attachmentsGoingWithJob(qint32 jobNo) {
    const QStringList copies = attachments::jobAttachments(app_.DbConnection, jobNo);
    if (copies.isEmpty()) {
        return QStringList();
    }
    const Prompter::Answer answer = app_.prompter.message(
        QStringLiteral("Job %1 has %2 attached file(s), copied into the documents folder under "
                       "\"%3\".\r\n\r\nDelete those copies with the job? Yes deletes them; No "
                       "keeps them in that folder.")
            .arg(jobNo)
            .arg(copies.size())
            .arg(QDir::toNativeSeparators(attachments::jobFolder(jobNo))),
        QStringLiteral("Delete Job ") + QString::number(jobNo), Prompter::Buttons::YesNoCancel,
        Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel) {
        return std::nullopt;
    }
    return answer == Prompter::Answer::Yes ? copies : QStringList();
}

void frmJobs::removeAttachmentCopies(const QStringList& fileNames) {
    if (fileNames.isEmpty()) {
        return;
    }
    const QStringList kept = attachments::removeCopies(documentsFolder(app_), fileNames);
    if (!kept.isEmpty()) {
        app_.prompter.message(QStringLiteral("These attached files could not be deleted from the "
                                             "documents folder:\r\n") +
                                  kept.join(QStringLiteral("\r\n")),
                              QStringLiteral("Attached Files Not Deleted"), Prompter::Buttons::Ok,
                              Prompter::Icon::Exclamation);
    }
}
