#include "documents/MailAttachment.h"
#include "jobs/frmJobs.h"
#include "support/JobScreen.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>
#include <utime.h>

// A job's document sent by e-mail from the Documents tab: who it goes to, what is attached and
// what the user is told. The programs it starts are fakes on a PATH of the test's own: a
// LibreOffice that makes a PDF, one that fails, or none.
class tst_jobmail : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    QByteArray path_, tmpdir_;
    QTemporaryDir tmp_;  // the temporary folder of the whole run: the mail folders go there

    QString bin(const QString& kind) const { return env->root() + "/bin/" + kind; }
    QString sofficeArgs() const { return env->root() + "/soffice-args"; }
    QString docs() const { return env->root() + "/Docs \"Seán's\" été"; }
    QString fileName_;  // the job's document
    QString document() const { return docs() + "/" + fileName_; }
    static const inline QString Title = "Survey \"Seán\" O'Brien: 50%, every-token.dotx";

    void script(const QString& file, const QByteArray& body) {
        TestEnv::writeFile(file, "#!/bin/sh\n" + body);
        QFile(file).setPermissions(QFile(file).permissions() | QFileDevice::ExeOwner);
    }
    void usePrograms(const QString& kind) { qputenv("PATH", QFile::encodeName(bin(kind))); }

    // Job 5 (Mrs O'Brien for Harbour Estates) with one document, its address book rows given
    // these addresses, on the screen.
    JobScreen open(const QString& customerEmail, const QString& clientEmail) {
        withJobFive(*env);
        Database& db = env->app().DbConnection;
        db.exec("UPDATE customers SET Email = ?", {customerEmail});
        db.exec("UPDATE clients SET Email = ?", {clientEmail});
        env->app().AppSettings.SetValue("DocPath", docs());
        TestEnv::writeFile(document(), "a document");
        TestEnv::addRow(db, "Docs", {{"JobNumber", 5}, {"FileName", fileName_}, {"Title", Title}});
        return openJobScreen(*env);
    }
    QStringList sent(const QString& attachment, const QStringList& to) const {
        return QStringList{"--utf8", "--subject", "Job 5: " + Title, "--attach", attachment} + to;
    }

private Q_SLOTS:
    void initTestCase() {
        path_ = qgetenv("PATH");
        tmpdir_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp_.path()));
    }
    void cleanupTestCase() { qputenv("TMPDIR", tmpdir_); }
    void init() {
        env = std::make_unique<TestEnv>();
        fileName_ = "30.doc";
        QDir().mkpath(bin("none"));
        const QByteArray log = "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                               sofficeArgs().toUtf8() + "\"\n";
        script(bin("office") + "/soffice",
               log +
                   "while [ $# -gt 1 ]; do [ \"$1\" = --outdir ] && out=$2; shift; done\n"
                   "name=${1##*/}\nprintf '%%PDF-1.4' > \"$out/${name%.*}.pdf\"\n");
        script(bin("broken") + "/soffice", log +
                                               "echo 'Error: source file could not be loaded'\n"
                                               "exit 1\n");
        usePrograms("none");
    }
    void cleanup() {
        qputenv("PATH", path_);
        env.reset();
    }

    void recipients_data() {
        QTest::addColumn<QString>("customerEmail");
        QTest::addColumn<QString>("clientEmail");
        QTest::addColumn<bool>("twoCustomers");  // another customer of the same name
        QTest::addColumn<int>("pick");           // the answer to "who to", when asked
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QString>("told");
        const QString cust = "ann@example.com", cli = "office@harbour.example";
        const QString none =
            "The message opens without a recipient: %1.\r\n"
            "Type the address in the mail program.";
        const QString noneForEither = none.arg(
            "no e-mail address is on record for the customer \"Mrs O'Brien\"; "
            "no e-mail address is on record for the client \"Harbour Estates\"");
        QTest::newRow("customer only") << cust << "" << false << -1 << QStringList{cust} << "";
        QTest::newRow("client only") << "" << cli << false << -1 << QStringList{cli} << "";
        QTest::newRow("both, the customer chosen")
            << cust << cli << false << 0 << QStringList{cust} << "";
        QTest::newRow("both, both chosen")
            << cust << cli << false << 2 << QStringList{cust, cli} << "";
        QTest::newRow("quoted, accented, two in one field")
            << "\"Seán O'Brien\" <seán@exämple.ie>;\nsecond@example.com"
            << "" << false << -1
            << QStringList{"\"Seán O'Brien\" <seán@exämple.ie>", "second@example.com"} << "";
        QTest::newRow("none on record") << ""
                                        << "  " << false << -1 << QStringList{} << noneForEither;
        QTest::newRow("a name two customers have")
            << cust << "" << true << -1 << QStringList{}
            << none.arg(
                   "2 customers are named \"Mrs O'Brien\", so it cannot be told whose "
                   "address to use; no e-mail address is on record for the client "
                   "\"Harbour Estates\"");
        QTest::newRow("what a mail link would misread")
            << "-x@y.z, mailto:a@b.c, a@b.c?attach=/etc/passwd"
            << "" << false << -1 << QStringList{} << noneForEither;
    }
    void recipients() {
        QFETCH(QString, customerEmail);
        QFETCH(QString, clientEmail);
        QFETCH(bool, twoCustomers);
        QFETCH(int, pick);
        QFETCH(QStringList, to);
        QFETCH(QString, told);
        auto screen = open(customerEmail, clientEmail);
        if (twoCustomers) {
            QVERIFY(TestEnv::addRow(env->app().DbConnection, "customers",
                                    {{"Name", "MRS O'BRIEN"}, {"Email", "other@example.com"}}));
        }
        if (pick >= 0) {
            env->prompter.pick(pick);
        }
        control<QPushButton>(screen, "cmdEmailDoc")->click();
        QCOMPARE(env->launcher.mails.size(), 1);
        QCOMPARE(env->launcher.mails[0].program, QString("xdg-email"));
        QCOMPARE(env->launcher.mails[0].arguments, sent(document(), to));
        QCOMPARE(env->prompter.count(), int(pick >= 0) + int(!told.isEmpty()));
        if (pick >= 0) {
            QCOMPARE(env->prompter.last().choices.size(), 4);
            QVERIFY(env->prompter.last().prompt.contains(
                "The customer Mrs O'Brien: ann@example.com\r\n"
                "The client Harbour Estates: office@harbour.example"));
        }
        if (!told.isEmpty()) {
            QCOMPARE(env->prompter.last().prompt, told);
        }
    }

    void attachment_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("programs");
        QTest::addColumn<int>("answer");        // to "send the document itself?"; -1: not asked
        QTest::addColumn<QString>("attached");  // PDF: the PDF made; "": nothing sent
        QTest::newRow("no LibreOffice: the document") << "30.doc"
                                                      << "none" << -1 << "document";
        QTest::newRow("LibreOffice: a PDF") << "30.doc"
                                            << "office" << -1 << "PDF";
        QTest::newRow("a photo goes as it is") << "photo.JPG"
                                               << "office" << -1 << "document";
        QTest::newRow("no PDF made, the document instead") << "30.doc"
                                                           << "broken" << 1 << "document";
        QTest::newRow("no PDF made, nothing sent") << "30.doc"
                                                   << "broken" << 0 << "";
    }
    void attachment() {
        QFETCH(QString, file);
        QFETCH(QString, programs);
        QFETCH(int, answer);
        QFETCH(QString, attached);
        fileName_ = file;
        auto screen = open("ann@example.com", "");
        usePrograms(programs);
        if (answer >= 0) {
            env->prompter.answer(answer ? Prompter::Answer::Yes : Prompter::Answer::No);
        }
        control<QPushButton>(screen, "cmdEmailDoc")->click();
        QCOMPARE(env->prompter.count(), answer >= 0 ? 1 : 0);
        if (answer >= 0) {
            QCOMPARE(env->prompter.last().prompt,
                     QString("No PDF could be made of the document: LibreOffice could not make a "
                             "PDF of the document. Error: source file could not be loaded\r\n\r\n"
                             "Send the document itself instead?"));
        }
        if (attached.isEmpty()) {
            QVERIFY(env->launcher.mails.isEmpty());
            return;
        }
        QCOMPARE(env->launcher.mails.size(), 1);
        const QString attachment = env->launcher.mails[0].arguments[4];
        if (attached == "document") {
            QCOMPARE(attachment, document());
            QCOMPARE(QFileInfo::exists(sofficeArgs()), programs == "broken");
        } else {
            // Named after the job and the document, in a folder of its own for this message.
            const QString folder =
                QStringLiteral("%1/verdell-mail-%2").arg(tmp_.path()).arg(getuid());
            QCOMPARE(attachment.section('/', -1),
                     QString("Job 5 - Survey _Seán_ O'Brien_ 50%, every-token.pdf"));
            QCOMPARE(attachment.section('/', 0, -3), folder);
            QVERIFY(QFileInfo(attachment).size() > 0);
            QFile args(sofficeArgs());
            QVERIFY(args.open(QIODevice::ReadOnly));
            const QStringList given = QString::fromUtf8(args.readAll()).split('\n');
            QCOMPARE(given.mid(0, 3), QStringList({"--headless", "--norestore", "--nolockcheck"}));
            QVERIFY(given[3].startsWith("-env:UserInstallation=file:///"));
            QCOMPARE(given.mid(4, 4), QStringList({"--convert-to", "pdf", "--outdir",
                                                   attachment.section('/', 0, -2)}));
            QVERIFY(given[8].endsWith("/in/Job 5 - Survey _Seán_ O'Brien_ 50%, every-token.doc"));
        }
        QCOMPARE(env->launcher.mails[0].arguments, sent(attachment, {"ann@example.com"}));
    }

    // The folders of earlier messages go once they are a day old.
    void oldMailFoldersAreRemoved() {
        auto screen = open("ann@example.com", "");
        const QString root = QStringLiteral("%1/verdell-mail-%2").arg(tmp_.path()).arg(getuid());
        QVERIFY(QDir().mkpath(root + "/old") && QDir().mkpath(root + "/recent"));
        TestEnv::writeFile(root + "/old/Job 1.pdf", "x");
        const time_t twoDaysAgo = time(nullptr) - 2 * 24 * 3600;
        const utimbuf times{twoDaysAgo, twoDaysAgo};
        QCOMPARE(utime(QFile::encodeName(root + "/old").constData(), &times), 0);
        usePrograms("office");
        control<QPushButton>(screen, "cmdEmailDoc")->click();
        QVERIFY(!QFileInfo::exists(root + "/old"));
        QVERIFY(QFileInfo::exists(root + "/recent"));
    }

    // LibreOffice that does not finish is stopped at the time limit, or when the user cancels
    // (a LibreOffice left running would outlast the test's time).
    void aConversionThatHangsIsStopped() {
        script(bin("slow") + "/soffice", "exec /bin/sleep 600\n");
        TestEnv::writeFile(env->root() + "/in.doc", "x");
        mail::PdfConversion conversion(bin("slow") + "/soffice");
        conversion.setTimeout(1500);
        QSignalSpy done(&conversion, &mail::PdfConversion::finished);
        QVERIFY(conversion.start(env->root() + "/in.doc", env->root(), "out"));
        QVERIFY(done.wait(30000));
        QCOMPARE(conversion.error(), QString("LibreOffice did not finish within 2 seconds."));
        QVERIFY(conversion.pdf().isEmpty());
    }
    void cancellingThePdfSendsNothing() {
        auto screen = open("ann@example.com", "");
        script(bin("slow") + "/soffice", "exec /bin/sleep 600\n");
        usePrograms("slow");
        QTimer::singleShot(50, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
                    progress->findChild<QPushButton*>()->click();
                }
            }
        });
        control<QPushButton>(screen, "cmdEmailDoc")->click();
        QVERIFY(env->launcher.mails.isEmpty());
        QCOMPARE(env->prompter.count(), 0);
    }

    void withoutXdgEmailTheUserIsToldWhatToInstall() {
        auto screen = open("ann@example.com", "");
        usePrograms("office");
        env->launcher.mailProgramInstalled = false;
        control<QPushButton>(screen, "cmdEmailDoc")->click();
        QCOMPARE(env->prompter.count(), 1);
        QVERIFY(env->prompter.last().prompt.contains("Install the package xdg-utils"));
        QCOMPARE(env->prompter.last().title, QString("No Mail Program"));
        QVERIFY(env->launcher.mails.isEmpty());
        QVERIFY(!QFileInfo::exists(sofficeArgs()));
    }
};

QTEST_MAIN(tst_jobmail)
#include "tst_jobmail.moc"
