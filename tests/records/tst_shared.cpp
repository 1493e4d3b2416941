#include "records/Captions.h"
#include "records/DateFormats.h"
#include "records/SharedRoutines.h"
#include "support/TestEnv.h"
#include "widgets/DateBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

// The small routines every screen shares, and the display date format.
class tst_shared : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captionToField_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("field");
        QTest::newRow("renamed") << "Booked:" << "DateCreated";
        QTest::newRow("old caption of a renamed label") << "Created:" << "";
        QTest::newRow("as delivered") << "Job No:" << "JobNo";
        QTest::newRow("age") << "Job Age" << "Age";
        QTest::newRow("other") << "Name:" << "";
    }
    void captionToField() {
        QFETCH(QString, caption);
        QFETCH(QString, field);
        TestEnv env;
        AppState& app = env.app();
        for (int i : {0, 1, 3, 5, 6, 9, 11, 20}) {
            app.FieldCaptions.set(i, captions::defaults()[i]);
        }
        app.FieldCaptions.set(11, "Booked:");
        QCOMPARE(CaptionToField(app.FieldCaptions, caption), field);
    }

    void listFilesFindsEveryMatch() {
        TestEnv env;
        const QString folder = env.root() + "/templates";
        for (int i = 0; i < 120; ++i) {
            TestEnv::writeFile(folder + QString("/t%1.dotx").arg(i), "x");
        }
        TestEnv::writeFile(folder + "/.hidden.dotx", "x");
        TestEnv::writeFile(folder + "/UPPER.DOTX", "x");
        TestEnv::writeFile(folder + "/sheet.xltx", "x");
        QDir().mkpath(folder + "/sub.dotx");
        const QStringList found = ListFiles(folder, "*.dotx");
        QCOMPARE(found.size(), 122);
        QVERIFY(found.contains(".hidden.dotx"));
        QVERIFY(found.contains("UPPER.DOTX"));
        QVERIFY(!found.contains("sub.dotx"));
        QCOMPARE(ListFiles(folder + "/", "*.dot").size(), 0);
        QCOMPARE(ListFiles(env.root() + "/none", "*.dotx"), QStringList());
    }

    void folderAndFileNames_data() {
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("drive and folder") << "C:\\a\\b.mdb" << "C:\\a" << "b.mdb";
        QTest::newRow("host path") << "/home/ann/verdell.mdb" << "/home/ann" << "verdell.mdb";
        QTest::newRow("mixed") << "/home/ann\\x.cvn" << "/home/ann" << "x.cvn";
        QTest::newRow("bare name") << "b.mdb" << "" << "b.mdb";
        QTest::newRow("empty") << "" << "" << "";
    }
    void folderAndFileNames() {
        QFETCH(QString, full);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QCOMPARE(FolderOf(full), folder);
        QCOMPARE(FileNameOf(full), file);
    }

    void findBrowserAsksAboutAThrowAwayFile() {
        TestEnv env;
        env.launcher.registeredProgram = "/usr/bin/firefox";
        QCOMPARE(FindBrowser(env.app(), "html"), QString("/usr/bin/firefox"));
        QCOMPARE(env.launcher.lookedUp.size(), 1);
        const QString probe = env.launcher.lookedUp.first();
        QVERIFY(probe.endsWith(".html"));
        QVERIFY(QFileInfo(probe).fileName().startsWith("~"));
        QVERIFY(!QFile::exists(probe));
    }

    void shareFolderUsesTheSystemsSharing() {
        TestEnv env;
        env.sharing.status = 2;
        QCOMPARE(ShareFolder(env.app(), "", "Verdell", "/home/ann/Verdell Std", {"office"}), 2);
        QCOMPARE(env.sharing.requests.size(), 1);
        QCOMPARE(env.sharing.requests[0].shareName, QString("Verdell"));
        QCOMPARE(env.sharing.requests[0].access.group, QString("office"));
        QCOMPARE(env.sharing.requests[0].maxUsers, -1);
    }

    void displayFormat() {
        TestEnv env;
        env.openNewDatabase();
        AppState& app = env.app();
        Database& db = app.DbConnection;
        LoadDefaultDateFormat(app);
        QCOMPARE(app.DefaultDateFormat, QString("dd/mm/yyyy"));
        db.exec("UPDATE DateFormat SET \"Default\" = 0");
        LoadDefaultDateFormat(app);
        QCOMPARE(app.DefaultDateFormat, QString("dd/mm/yy"));
        db.exec("DROP TABLE DateFormat");
        LoadDefaultDateFormat(app);
        QCOMPARE(app.DefaultDateFormat, QString());

        app.DefaultDateFormat = "  dd mmm yyyy ";
        QCOMPARE(GetDateFormat(app), QString("dd mmm yyyy"));
        app.UseSystemDateFormat = true;
        QCOMPARE(GetDateFormat(app), QString("dddd, d mmmm yyyy"));
        QCOMPARE(formatDisplayDate(app, QDateTime(QDate(2010, 2, 1), QTime())),
                 QString("Monday, 1 February 2010"));
        env.clock.set(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
        QCOMPARE(dateTimeStamp(app), QString("Sunday, 6 December 2026, 14:05:09 :"));
    }

    void dateBoxes_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("messages");
        QTest::newRow("six digits") << "dd/mm/yy" << false << "010210" << "01/02/10" << 0;
        QTest::newRow("four-digit year") << "dd mmm yyyy" << false << "01/02/2010"
                                         << "01 Feb 2010" << 0;
        QTest::newRow("empty stays empty") << "dd/mm/yy" << true << "" << "" << 0;
        QTest::newRow("31st of February") << "dd/mm/yy" << false << "31/02/2010"
                                          << "31/02/2010" << 0;
        QTest::newRow("reported when forced") << "dd/mm/yy" << true << "31/02/2010"
                                              << "31/02/2010" << 1;
        QTest::newRow("not a date, forced") << "dd/mm/yy" << true << "soon" << "soon" << 1;
        QTest::newRow("month first shown stays put") << "mm/dd/yyyy" << false << "02/01/2010"
                                                     << "02/01/2010" << 0;
    }
    void dateBoxes() {
        QFETCH(QString, format);
        QFETCH(bool, force);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, messages);
        TestEnv env;
        env.app().DefaultDateFormat = format;
        env.app().ForceDateValidation = force;
        QWidget window;
        QLineEdit box(&window), other(&window);
        window.show();
        box.setText(typed);
        ValidateDateBox(env.app(), &box);
        QCOMPARE(box.text(), shown);
        QCOMPARE(env.prompter.count(), messages);
        if (messages) {
            QCOMPARE(env.prompter.last().prompt,
                     QString("The date you have entered is not valid\r\nplease try again"));
            QCOMPARE(env.prompter.last().title, "Invalid Date: " + typed);
            QCOMPARE(env.prompter.last().icon, Prompter::Icon::Information);
        }
    }
};

QTEST_MAIN(tst_shared)
#include "tst_shared.moc"
