#include "platform/Launcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The desktop launcher on a desktop of its own making: `xdg-mime` names the default program of a
// type, whose desktop entry says how to start it; the program writes down how it was started.
class tst_launcher : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QByteArray path_, dataHome_;

    QString bin() const { return dir_.filePath("bin"); }
    QString written() const { return dir_.filePath("started.txt"); }

    static void script(const QString& file, const QByteArray& body) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("#!/bin/sh\n" + body);
        out.close();
        out.setPermissions(out.permissions() | QFileDevice::ExeOwner);
    }

    void entry(const QString& exec) {
        QFile out(dir_.filePath("share/applications/browser.desktop"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(
            "# a fake browser\n[Desktop Entry]\nType=Application\nName=Fake Browser\n"
            "Name[de]=Falscher Browser\nIcon=fake\nExec=" +
            exec.toUtf8() + "\n\n[Desktop Action new-window]\nExec=wrong\n");
        out.close();
    }

    // What the program was given, one line each, after the value of MARK.
    QStringList started() {
        QFile in(written());
        if (!in.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase() {
        path_ = qgetenv("PATH");
        dataHome_ = qgetenv("XDG_DATA_HOME");
        QDir().mkpath(bin());
        QDir().mkpath(dir_.filePath("share/applications"));
        script(bin() + "/xdg-mime",
               "[ \"$1 $2\" = 'query default' ] || exit 1\n"
               "[ \"$3\" = text/html ] && echo browser.desktop\nexit 0\n");
        const QByteArray program =
            "out=\"" + written().toUtf8() +
            "\"\n"
            "{ echo \"MARK=$MARK\"; for a in \"$@\"; do echo \"$a\"; done; } > \"$out.part\"\n"
            "mv \"$out.part\" \"$out\"\n";
        script(bin() + "/fake-browser", program);
        script(bin() + "/fake browser", program);
        script(bin() + "/xdg-email", program);
        qputenv("PATH", QFile::encodeName(bin()) + ":/usr/bin:/bin");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath("share")));
    }
    void cleanupTestCase() {
        qputenv("PATH", path_);
        qputenv("XDG_DATA_HOME", dataHome_);
    }
    void cleanup() { QFile::remove(written()); }

    void theDefaultProgramStartsAsItsEntrySays_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("given");  // after MARK; PAGE stands for the page's URL
        QTest::newRow("through a wrapper")
            << "env MARK=wrapped BAMF_DESKTOP_FILE_HINT=/x/firefox.desktop BIN/fake-browser %u"
            << QStringList{"MARK=wrapped", "PAGE"};
        QTest::newRow("quoted program and arguments")
            << "\"BIN/fake browser\" --new-window \"--title=a b\" %U"
            << QStringList{"MARK=", "--new-window", "--title=a b", "PAGE"};
        QTest::newRow("escapes inside quotes")
            << "BIN/fake-browser \"\\\\$HOME \\\\\\\\ \\\\\"x\\\\\"\" %f"
            << QStringList{"MARK=", "$HOME \\ \"x\"", "FILE"};
        QTest::newRow("other field codes")
            << "BIN/fake-browser %i %c 100%% %k %d %u"
            << QStringList{"MARK=", "--icon", "fake", "Fake Browser", "100%", "ENTRY", "PAGE"};
    }
    void theDefaultProgramStartsAsItsEntrySays() {
        QFETCH(QString, exec);
        QFETCH(QStringList, given);
        entry(QString(exec).replace("BIN", bin()));
        const QString page = dir_.filePath("help page.html");
        QFile(page).open(QIODevice::WriteOnly);
        DesktopLauncher launcher;
        QVERIFY(launcher.openUrl(QUrl::fromLocalFile(page)));
        QTRY_VERIFY(QFile::exists(written()));
        given.replaceInStrings("PAGE", QUrl::fromLocalFile(page).toString());
        given.replaceInStrings("FILE", page);
        given.replaceInStrings("ENTRY", dir_.filePath("share/applications/browser.desktop"));
        QCOMPARE(started(), given);
    }

    void aFileNoProgramTakesFails() {
        entry(bin() + "/fake-browser %u");
        const QString file = dir_.filePath("data.xyz");
        QFile(file).open(QIODevice::WriteOnly);
        DesktopLauncher launcher;
        QVERIFY(!launcher.open(file));
        QVERIFY(!QFile::exists(written()));
    }

    // xdg-email is started without a shell: each text arrives as it was, an argument of its own.
    void mailReachesXdgEmailIntact_data() {
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("attachment");
        QTest::newRow("plain") << QStringList{"ann@example.com"} << "Job 5: Letter"
                               << "/data/Docs/30.doc";
        QTest::newRow("quotes, apostrophes, accents, blanks")
            << QStringList{"\"Seán O'Brien\" <seán@exämple.ie>", "o'neil@example.com"}
            << "Job 5: \"Survey\" – O'Brien's $HOME `id` *"
            << "/data/Docs \"Seán's\" été/Job 5 - Survey.pdf";
        QTest::newRow("nobody") << QStringList{} << "Estimate 1042"
                                << "/data/est1042.doc";
    }
    void mailReachesXdgEmailIntact() {
        QFETCH(QStringList, to);
        QFETCH(QString, subject);
        QFETCH(QString, attachment);
        DesktopLauncher launcher;
        QVERIFY(launcher.canEmail());
        QVERIFY(launcher.email({to, subject, attachment}));
        QTRY_VERIFY(QFile::exists(written()));
        QCOMPARE(
            started(),
            QStringList({"MARK=", "--utf8", "--subject", subject, "--attach", attachment}) + to);
    }

    // Without the xdg tools a page goes to the desktop's own opener, and no mail is sent.
    void withoutTheXdgTools() {
        qputenv("PATH", QFile::encodeName(dir_.filePath("nothing")));
        QList<QUrl> handed;
        DesktopLauncher launcher([&handed](const QUrl& url) {
            handed << url;
            return true;
        });
        const QUrl page = QUrl::fromLocalFile(dir_.filePath("help page.html"));
        const bool opened = launcher.openUrl(page);
        const bool can = launcher.canEmail();
        const bool sent = launcher.email({{"ann@example.com"}, "Job 5", "/data/30.doc"});
        qputenv("PATH", QFile::encodeName(bin()) + ":/usr/bin:/bin");
        QVERIFY(opened);
        QCOMPARE(handed, QList<QUrl>{page});
        QVERIFY(!can);
        QVERIFY(!sent);
    }
};

QTEST_MAIN(tst_launcher)
#include "tst_launcher.moc"
