#include "platform/DriveRoots.h"
#include "platform/Paths.h"

#include <QTest>

class tst_paths : public QObject {
    Q_OBJECT

    // C: is the home folder, D: and E: two mounted volumes.
    FixedDriveRoots roots{{"/home/ann", "/media/ann/USB", "/mnt/backup"}, "/opt/verdell"};

private Q_SLOTS:
    void toHost_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("host");
        QTest::newRow("root of current drive") << "\\Verdell Std" << "/home/ann/Verdell Std";
        QTest::newRow("below it") << "\\Verdell Std\\Docs" << "/home/ann/Verdell Std/Docs";
        QTest::newRow("drive C") << "c:\\cvnverdell" << "/home/ann/cvnverdell";
        QTest::newRow("drive D") << "D:\\Verdell Std" << "/media/ann/USB/Verdell Std";
        QTest::newRow("drive E") << "e:\\data" << "/mnt/backup/data";
        QTest::newRow("drive that is gone") << "F:\\data" << "F:/data";
        QTest::newRow("old install folder") << "\\Program Files\\Verdell" << "/opt/verdell";
        QTest::newRow("old install folder, drive") << "c:\\program files\\verdell\\x.mdb"
                                                   << "/opt/verdell/x.mdb";
        QTest::newRow("similar name is not it") << "\\program files\\verdell2"
                                                << "/home/ann/program files/verdell2";
        QTest::newRow("network path") << "\\\\server\\share\\Verdell" << "//server/share/Verdell";
        QTest::newRow("host path") << "/srv/data/verdell.mdb" << "/srv/data/verdell.mdb";
        QTest::newRow("empty") << "" << "";
    }
    void toHost() {
        QFETCH(QString, stored);
        QFETCH(QString, host);
        QCOMPARE(paths::toHost(stored, roots), host);
    }

    void splitRoot_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("root");
        QTest::addColumn<QString>("rest");
        QTest::newRow("home") << "/home/ann/Verdell Std" << 0 << "Verdell Std";
        QTest::newRow("volume") << "/media/ann/USB/a/b" << 1 << "a/b";
        QTest::newRow("a root itself") << "/mnt/backup" << 2 << "";
        QTest::newRow("prefix of a name is not a root") << "/home/annette/x" << -1
                                                       << "home/annette/x";
        QTest::newRow("under no root") << "/srv/x" << -1 << "srv/x";
    }
    void splitRoot() {
        QFETCH(QString, path);
        QFETCH(int, root);
        QFETCH(QString, rest);
        const paths::Rooted r = paths::splitRoot(path, roots);
        QCOMPARE(r.root, root);
        QCOMPARE(r.rest, rest);
    }

    void join_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        QTest::newRow("old style keeps backslashes") << "\\Verdell Std" << "\\Verdell Std\\x";
        QTest::newRow("host path") << "/home/ann" << "/home/ann/x";
        QTest::newRow("trailing separator") << "/home/ann/" << "/home/ann/x";
        QTest::newRow("empty is the drive's root") << "" << "\\x";
    }
    void join() {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        QCOMPARE(paths::join(folder, "x"), joined);
    }
};

QTEST_GUILESS_MAIN(tst_paths)
#include "tst_paths.moc"
