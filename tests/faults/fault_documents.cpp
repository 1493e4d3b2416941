// Documents when the disk fills, when a counter has gone back, and when the program is stopped
// while it makes one.

#include "FaultTests.h"
#include "documents/FileWriting.h"
#include "documents/Workbook.h"
#include "support/JobRecords.h"
#include "jobs/frmJobs.h"
#include "startup/Startup.h"
#include "support/AdminRun.h"
#include "support/ScreenControls.h"
#include "support/SmallDisk.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

class NoScreens : public StartupUi {
public:
    void showMainWindow() override {}
    void setBusy(bool) override {}
};

}  // namespace

class DocumentFaults : public QObject {
    Q_OBJECT

    // Job 5 in a new database, the merge fixtures as templates, documents kept in `docs`.
    static void prepare(TestEnv& env, const QString& docs, const JobFields& job = {}) {
        env.openNewDatabase();
        QDir().mkpath(docs);
        templatefiles::install(env, templatefiles::MergeFixtures, docs);
        QVERIFY(testjobs::save(env.app(), job, 0, 5).ok);
    }

    // Creates a document for job 5 on the job screen from the template listed at `index`.
    static std::unique_ptr<frmJobs> create(TestEnv& env, int index) {
        auto screen = std::make_unique<frmJobs>(env.app());
        screen->Form_Load();
        screen->show();
        screen->LoadJob(5);
        QTest::mouseClick(control<QPushButton>(screen.get(), "cmdNewDoc"), Qt::LeftButton);
        control<QComboBox>(screen.get(), "comDocType")->setCurrentIndex(index);
        QTest::mouseClick(control<QPushButton>(screen.get(), "cmdSaveDoc"), Qt::LeftButton);
        return screen;
    }

    static QStringList recorded(TestEnv& env) {
        QStringList names;
        const auto rows =
            env.app().DbConnection.query("SELECT FileName FROM Docs ORDER BY FileName");
        for (int i = 0; rows && i < rows->count(); ++i) {
            names << rows->text(i, "FileName");
        }
        return names;
    }

    static qint64 counter(TestEnv& env, const char* column) {
        return env.app().DbConnection.scalar(QString("SELECT %1 FROM Counters").arg(column))
            .toLongLong();
    }

private Q_SLOTS:
    // Documents smaller than the write buffer, on a disk with less room than they take.
    void aFullDiskMakesNoDocument_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("letter") << 0;
        QTest::newRow("invoice") << 1;
    }
    void aFullDiskMakesNoDocument() {
        QFETCH(int, index);
        SmallDisk disk;
        if (!disk.mounted()) {
            QSKIP("no small file system can be mounted here (needs root)");
        }
        TestEnv env;
        prepare(env, disk.folder());
        disk.fill(4096);
        auto screen = create(env, index);
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY2(env.prompter.last().prompt.startsWith("CreateDocument \r\n61\r\n"),
                 qPrintable(env.prompter.last().prompt));
        QVERIFY(env.prompter.last().prompt.contains("the disk is full"));
        QCOMPARE(filesIn(disk.folder()), QStringList());
        QCOMPARE(recorded(env), QStringList());
        QCOMPARE(control<QTableView>(screen.get(), "fgDocs")->model()->rowCount(), 0);
        QVERIFY(env.launcher.requests.isEmpty());
    }

    // The same from verdell-admin, which printed the path of the short file and said success.
    void verdellAdminOnAFullDiskFails() {
        if (TestEnv::onServer()) {
            QSKIP("verdell-admin is run on the embedded database");
        }
        SmallDisk disk;
        if (!disk.mounted()) {
            QSKIP("no small file system can be mounted here (needs root)");
        }
        TestEnv env;
        prepare(env, disk.folder());
        // verdell-admin keeps its documents in the data folder's Docs.
        QDir(env.dataFolder()).rmdir("Docs");
        QVERIFY(QFile::link(disk.folder(), env.dataFolder() + "/Docs"));
        disk.fill(4096);
        const AdminRun run =
            runAdmin({"create-document", "--job", "5", "--template", "every-token.dotx"});
        QVERIFY2(run.status != 0 && run.out.isEmpty() && run.err.contains("the disk is full"),
                 qPrintable(run.out + run.err));
        QCOMPARE(filesIn(disk.folder()), QStringList());
        QCOMPARE(recorded(env), QStringList());
    }

    // Numbers already taken by a file, or by a recorded document whose file is gone, after a
    // restore, an import or Setup put the counter back.
    void aNewDocumentNeverTakesAnExistingName_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("made");
        QTest::addColumn<qint64>("next");
        QTest::newRow("letter") << 0 << QStringList{"30.doc", "31.doc"} << QStringList{"32.doc"}
                                << "33.doc" << qint64(34);
        QTest::newRow("invoice") << 1 << QStringList{"507.XLS", "508.XLSX"}
                                 << QStringList{"509.XLS"} << "510.XLSX" << qint64(511);
    }
    void aNewDocumentNeverTakesAnExistingName() {
        QFETCH(int, index);
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        QFETCH(QString, made);
        QFETCH(qint64, next);
        TestEnv env;
        const QString docs = env.dataFolder() + "/Docs";
        prepare(env, docs);
        for (const QString& file : files) {
            TestEnv::writeFile(docs + "/" + file, "the older " + file.toUtf8());
        }
        Database& db = env.app().DbConnection;
        for (const QString& row : rows) {
            db.exec("INSERT INTO Docs (JobNumber, FileName, Title) VALUES (4, ?, 'Older')", {row});
        }
        db.exec("UPDATE Counters SET FileCounter = 30, Free2 = 507");
        create(env, index);
        QCOMPARE(env.prompter.count(), 0);
        for (const QString& file : files) {
            QCOMPARE(TestEnv::readFile(docs + "/" + file), "the older " + file.toUtf8());
        }
        QCOMPARE(recorded(env), QStringList(rows) << made);
        QVERIFY(QFile::exists(docs + "/" + made));
        QCOMPARE(counter(env, index == 0 ? "FileCounter" : "Free2"), next);
    }

    // verdell-admin making an invoice, killed as soon as anything appears in the documents
    // folder: the document's name then holds a whole, merged invoice that is recorded, or
    // nothing; the next start clears away whatever else was left.
    void aKilledCreationLeavesNoHalfDocument() {
        if (TestEnv::onServer()) {
            QSKIP("the killed program and the next start use the embedded database");
        }
        TestEnv env;
        const QString docs = env.dataFolder() + "/Docs";
        JobFields job;
        job.WorkDetails = QString(2000000, u'w');  // so that merging takes a while
        prepare(env, docs, job);
        env.app().DbConnection.exec("UPDATE Counters SET Free2 = 507");

        const int watch = ::inotify_init1(IN_CLOEXEC);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(docs).constData(),
                                    IN_CREATE | IN_MOVED_TO) >= 0);
        QProcess admin;
        admin.start(VERDELL_ADMIN,
                    {"create-document", "--job", "5", "--template", "every-token.xltx"});
        QVERIFY(admin.waitForStarted());
        pollfd created{watch, POLLIN, 0};
        while (::poll(&created, 1, 50) == 0 && !admin.waitForFinished(0)) {
        }
        admin.kill();
        admin.waitForFinished();
        ::close(watch);
        QVERIFY2(created.revents & POLLIN, "nothing appeared in the documents folder");

        const QString invoice = docs + "/507.XLSX";
        QCOMPARE(QFile::exists(invoice), recorded(env) == QStringList{"507.XLSX"});
        // The number is taken with the row or not at all.
        QCOMPARE(counter(env, "Free2"), QFile::exists(invoice) ? 508 : 507);
        if (QFile::exists(invoice)) {
            Workbook book;
            QVERIFY(book.open(invoice));
            QVERIFY(!book.find("[JOBNO]", false));
        }
        const QStringList left = filesIn(docs).filter(".part");
        const QString said = runAdmin({"check"}).out;
        QCOMPARE(filesIn(docs).filter(".part"), QStringList());
        for (const QString& file : left) {
            QVERIFY2(said.contains(file + ", left while the document 507.XLSX was being made, "
                                          "was removed"),
                     qPrintable(said));
        }
    }

    // The database stops between the number being taken and the document's row being recorded:
    // on the server the session is ended, the embedded file refuses the row. The user is told,
    // no number is taken, nothing is left in the documents folder, and once the database is
    // back the next document has the number.
    void aDatabaseStoppingBeforeTheRowTakesNoNumber_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("column");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("made");
        QTest::newRow("letter") << 0 << "FileCounter" << qint64(30) << "30.doc";
        QTest::newRow("invoice") << 1 << "Free2" << qint64(507) << "507.XLSX";
    }
    void aDatabaseStoppingBeforeTheRowTakesNoNumber() {
        QFETCH(int, index);
        QFETCH(QString, column);
        QFETCH(qint64, number);
        QFETCH(QString, made);
        TestEnv env;
        const QString docs = env.dataFolder() + "/Docs";
        prepare(env, docs);
        Database& db = env.app().DbConnection;
        db.exec("UPDATE Counters SET FileCounter = 30, Free2 = 507");
        Database control;
        if (TestEnv::onServer()) {
            QVERIFY(control.open(env.connectionString()));
            QVERIFY2(control.exec("CREATE FUNCTION go_away() RETURNS trigger LANGUAGE plpgsql AS "
                                  "$$BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); "
                                  "PERFORM pg_sleep(5); RETURN NEW; END$$") &&
                         control.exec("CREATE TRIGGER go_away BEFORE INSERT ON Docs "
                                      "FOR EACH ROW EXECUTE FUNCTION go_away()"),
                     qPrintable(control.lastError().message));
        } else {
            QVERIFY(TestEnv::refuseInserts(db, "Docs", "disk I/O error"));
        }
        create(env, index);
        QVERIFY2(env.prompter.count() == 1 &&
                     env.prompter.last().prompt.startsWith("cmdSaveDoc Error"),
                 qPrintable(env.prompter.last().prompt));
        QCOMPARE(filesIn(docs), QStringList());
        QVERIFY(env.launcher.requests.isEmpty());

        if (TestEnv::onServer()) {
            QVERIFY(control.exec("DROP TRIGGER go_away ON Docs"));
            if (db.serverAway()) {
                QVERIFY(db.reconnect());
            }
        } else {
            QVERIFY(TestEnv::allowInserts(db, "Docs"));
        }
        QCOMPARE(recorded(env), QStringList());
        QCOMPARE(counter(env, qPrintable(column)), number);
        create(env, index);
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(recorded(env), QStringList{made});
        QCOMPARE(filesIn(docs), QStringList{made});
        QCOMPARE(counter(env, qPrintable(column)), number + 1);
    }

    // What writers that stopped between writing a document whole and naming it left, and one
    // that is writing still: the next start names the recorded document, removes the one that
    // was never recorded, leaves the third alone and says what it did.
    void theNextStartFinishesWhatWasRecorded() {
        TestEnv env;
        const QString docs = env.dataFolder() + "/Docs";
        prepare(env, docs);
        for (const char* name : {"40.doc", "41.doc"}) {
            const pid_t writer = ::fork();
            if (writer == 0) {
                office::NewFile file;
                OfficeError error;
                file.write(docs + "/" + name, QByteArray("the letter ") + name, error);
                ::_exit(error ? 1 : 0);
            }
            int status = 0;
            ::waitpid(writer, &status, 0);
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        env.app().DbConnection.exec(
            "INSERT INTO Docs (JobNumber, FileName, Title) VALUES (5, '40.doc', 'Letter')");
        office::NewFile writing;
        OfficeError error;
        QVERIFY(writing.write(docs + "/42.doc", "the letter being written", error));

        NoScreens ui;
        Main(env.restart(), ui);
        QCOMPARE(TestEnv::readFile(docs + "/40.doc"), QByteArray("the letter 40.doc"));
        QVERIFY(!QFile::exists(docs + "/41.doc"));
        QCOMPARE(filesIn(docs),
                 QStringList({"40.doc", QFileInfo(writing.temporaryPath()).fileName()}));
        QCOMPARE(env.prompter.last().title, QString("Documents Put Right"));
        const QString said = env.prompter.last().prompt;
        QVERIFY2(said.contains("The document 40.doc of job 5 had been written and recorded but "
                               "not yet given its name; it now has it.") &&
                     said.contains("left while the document 41.doc was being made, was removed"),
                 qPrintable(said));
        QVERIFY(writing.place(error));
        QCOMPARE(TestEnv::readFile(docs + "/42.doc"), QByteArray("the letter being written"));
    }
};

VERDELL_FAULT_TEST(DocumentFaults)
#include "fault_documents.moc"
