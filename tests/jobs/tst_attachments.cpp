#include "documents/Thumbnails.h"
#include "jobs/AttachmentStrip.h"
#include "jobs/frmJobs.h"
#include "support/JobScreen.h"
#include "support/ScreenControls.h"
#include "support/SmallDisk.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Files attached to a job on its Documents tab: copied in under names that cannot collide,
// recorded, opened, removed, shown as thumbnails; and what a job's deletion does with them.
class tst_attachments : public QObject {
    Q_OBJECT

    static JobScreen open(TestEnv& env) {
        withJobFive(env);
        env.app().AppSettings.SetValue("DocPath", docs(env));
        QDir().mkpath(docs(env));
        return openJobScreen(env);
    }
    static QString docs(TestEnv& env) { return env.dataFolder() + "/Docs"; }
    static QString sources(TestEnv& env) { return env.root() + "/chosen"; }

    // The job's Docs rows as "FileName|Title|DocType".
    static QStringList rows(TestEnv& env) {
        const auto found = env.app().DbConnection.query(
            "SELECT FileName, Title, DocType FROM Docs WHERE JobNumber = 5 ORDER BY DummyId");
        QStringList out;
        for (int i = 0; found && i < found->count(); ++i) {
            out << found->text(i, "FileName") + "|" + found->text(i, "Title") + "|" +
                       found->text(i, "DocType");
        }
        return out;
    }
    // What the job's attachments folder holds.
    static QStringList copies(TestEnv& env) {
        return QDir(docs(env) + "/Attachments/5").entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // Attaches one small file through the screen; its copy's file name.
    static QString attachOne(TestEnv& env, frmJobs* screen, const QString& name) {
        TestEnv::writeFile(sources(env) + "/" + name, "contents of " + name.toUtf8());
        screen->attachFiles({sources(env) + "/" + name});
        return "Attachments/5/" + name;
    }

    // A JPEG of two colours side by side, wider than high, whose EXIF orientation (6) says it is
    // to be shown turned a quarter clockwise; with a small picture of its own in the EXIF data
    // when `small` is given.
    static QByteArray turnedJpeg(QColor left = Qt::red, QColor right = Qt::blue,
                                 const QByteArray& small = {}) {
        QImage image(80, 40, QImage::Format_RGB32);
        image.fill(right);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                image.setPixel(x, y, left.rgb());
            }
        }
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 95);
        // Big-endian TIFF data: IFD0 holds Orientation (0x0112) = 6; IFD1, when there is a
        // small picture, its offset (0x0201) and length (0x0202); the picture follows at 56.
        QByteArray tiff = QByteArray::fromHex(
                              "4d4d002a00000008"
                              "0001011200030000000100060000") +
                          QByteArray::fromHex(small.isEmpty() ? "00000000" : "0000001a");
        if (!small.isEmpty()) {
            tiff += QByteArray::fromHex("0002020100040000000100000038020200040000000100000000");
            tiff.replace(tiff.size() - 4, 4,
                         QByteArray::fromHex(
                             QByteArray::number(qint64(small.size()), 16).rightJustified(8, '0')));
            tiff += QByteArray::fromHex("00000000") + small;
        }
        const qsizetype length = 8 + tiff.size();
        const QByteArray exif = QByteArray::fromHex("ffe1") + char(length >> 8) + char(length) +
                                QByteArray("Exif\0\0", 6) + tiff;
        int at = 2;  // after the start of image, and after a JFIF segment when there is one
        if (uchar(jpeg[2]) == 0xff && uchar(jpeg[3]) == 0xe0) {
            at = 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5]));
        }
        return jpeg.insert(at, exif);
    }

private Q_SLOTS:
    void attachingThroughTheButton_data() {
        QTest::addColumn<QStringList>("chosen");  // files of the chosen folder, as named there
        QTest::addColumn<QStringList>("kept");    // their copies' names, in the same order
        QTest::newRow("spaces, quotes and letters beyond ASCII")
            << QStringList{"site photo 1.jpg", "say \"cheese\".jpg", "Ærøskøbing façade.png"}
            << QStringList{"site photo 1.jpg", "say _cheese_.jpg", "Ærøskøbing façade.png"};
        QTest::newRow("the same name twice")
            << QStringList{"a/plan.pdf", "b/plan.pdf", "c/PLAN.pdf"}
            << QStringList{"plan.pdf", "plan (2).pdf", "PLAN (3).pdf"};
        QTest::newRow("names some file systems refuse")
            << QStringList{"CON.txt", "what? when: now.txt", "trailing dots..."}
            << QStringList{"_CON.txt", "what_ when_ now.txt", "trailing dots"};
    }
    void attachingThroughTheButton() {
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, kept);
        TestEnv env;
        auto screen = open(env);
        QStringList paths, expected;
        for (int i = 0; i < chosen.size(); ++i) {
            paths << sources(env) + "/" + chosen[i];
            TestEnv::writeFile(paths.last(), "file " + QByteArray::number(i));
            const QString title = QFileInfo(chosen[i]).fileName();
            expected << "Attachments/5/" + kept[i] + "|" + title + "|Attachment";
        }
        env.prompter.chooseFiles(paths);
        control<QPushButton>(screen, "cmdAttachFiles")->click();

        QCOMPARE(rows(env), expected);
        for (int i = 0; i < chosen.size(); ++i) {
            QFile copy(docs(env) + "/Attachments/5/" + kept[i]);
            QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(kept[i]));
            QCOMPARE(copy.readAll(), "file " + QByteArray::number(i));
            QVERIFY(QFile::exists(paths[i]));  // copied, never moved
        }
        QCOMPARE(copies(env).size(), chosen.size());  // nothing else, no temporary file
        auto* grid = control<QTableView>(screen, "fgDocs");
        QCOMPARE(grid->model()->rowCount(), chosen.size());
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QFileInfo(chosen[0]).fileName());
        QCOMPARE(env.prompter.count(), 1);  // the file dialog only
    }

    void droppingFilesOnTheList() {
        TestEnv env;
        auto screen = open(env);
        TestEnv::writeFile(sources(env) + "/dropped.txt", "x");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(sources(env) + "/dropped.txt")});
        QWidget* target = control<QTableView>(screen, "fgDocs")->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QCOMPARE(rows(env), QStringList{"Attachments/5/dropped.txt|dropped.txt|Attachment"});
    }

    void openingAndRemoving_data() {
        QTest::addColumn<QList<int>>("answers");  // to "remove this document?", then the copy
        QTest::addColumn<bool>("rowKept");
        QTest::addColumn<bool>("copyKept");
        const int yes = int(Prompter::Answer::Yes), no = int(Prompter::Answer::No);
        QTest::newRow("row and copy") << QList<int>{yes, yes} << false << false;
        QTest::newRow("row only") << QList<int>{yes, no} << false << true;
        QTest::newRow("cancelled at the copy") << QList<int>{yes} << true << true;
        QTest::newRow("not removed") << QList<int>{no} << true << true;
    }
    void openingAndRemoving() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, rowKept);
        QFETCH(bool, copyKept);
        TestEnv env;
        auto screen = open(env);
        const QString fileName = attachOne(env, screen, "meter reading.jpg");

        control<QPushButton>(screen, "cmdEditDoc")->click();
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].action, QString("open"));
        QCOMPARE(env.launcher.requests[0].target, docs(env) + "/" + fileName);

        for (int answer : answers) {
            env.prompter.answer(Prompter::Answer(answer));
        }
        control<QPushButton>(screen, "cmdDeleteDoc")->click();
        QCOMPARE(rows(env).size(), rowKept ? 1 : 0);
        QCOMPARE(QFile::exists(docs(env) + "/" + fileName), copyKept);
        QCOMPARE(control<QTableView>(screen, "fgDocs")->model()->rowCount(), rowKept ? 1 : 0);
    }

    void sourcesThatCannotBeCopied_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << "gone.jpg"
                                 << "The file is not there";
        QTest::newRow("a folder") << "folder"
                                  << "It is a folder";
        QTest::newRow("fails part way") << "/proc/self/mem"
                                        << "could not be read to the end";
    }
    void sourcesThatCannotBeCopied() {
        QFETCH(QString, source);
        QFETCH(QString, why);
        TestEnv env;
        auto screen = open(env);
        QDir().mkpath(sources(env) + "/folder");
        const QString path = source.startsWith('/') ? source : sources(env) + "/" + source;
        screen->attachFiles({path});
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().title, QString("Files Not Attached"));
        QVERIFY2(env.prompter.last().prompt.contains(why), qPrintable(env.prompter.last().prompt));
        QCOMPARE(rows(env), QStringList());
        QCOMPARE(copies(env), QStringList());
    }

    void diskWithoutRoom() {
        SmallDisk disk(QStringLiteral("size=256k"));
        if (!disk.mounted()) {
            QSKIP("mounting a small file system needs root");
        }
        TestEnv env;
        auto screen = open(env);
        env.app().AppSettings.SetValue("DocPath", disk.folder());
        TestEnv::writeFile(sources(env) + "/large.jpg", QByteArray(1 << 20, 'x'));
        screen->attachFiles({sources(env) + "/large.jpg"});
        QVERIFY2(env.prompter.last().prompt.contains("has only"),
                 qPrintable(env.prompter.last().prompt));
        QCOMPARE(rows(env), QStringList());
        QCOMPARE(QDir(disk.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void photosReadTheRightWayUp_data() {
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<QColor>("top");  // the left half, turned to the top
        QTest::addColumn<QColor>("bottom");
        QTest::newRow("read whole") << turnedJpeg() << QColor(Qt::red) << QColor(Qt::blue);
        // The camera's small picture (here in other colours) is taken instead of the photo.
        QImage small(80, 40, QImage::Format_RGB32);
        small.fill(Qt::green);
        QByteArray smallJpeg;
        QBuffer buffer(&smallJpeg);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "JPEG", 95);
        QTest::newRow("a broken small picture") << turnedJpeg(Qt::red, Qt::blue, "not a picture")
                                                << QColor(Qt::red) << QColor(Qt::blue);
        QTest::newRow("its own small picture")
            << turnedJpeg(Qt::red, Qt::blue, smallJpeg) << QColor(Qt::green) << QColor(Qt::green);
    }
    void photosReadTheRightWayUp() {
        QFETCH(QByteArray, photo);
        QFETCH(QColor, top);
        QFETCH(QColor, bottom);
        QTemporaryDir dir;
        TestEnv::writeFile(dir.filePath("photo.jpg"), photo);
        const QImage read = thumbnails::read(dir.filePath("photo.jpg"), QSize(128, 128));
        QCOMPARE(read.size(), QSize(40, 80));
        const auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                       std::abs(a.blue() - b.blue()) <
                   90;
        };
        QVERIFY(near(read.pixel(20, 10), top));
        QVERIFY(near(read.pixel(20, 70), bottom));
    }

    void photosShownTheRightWayUp() {
        TestEnv env;
        auto screen = open(env);
        TestEnv::writeFile(sources(env) + "/turned.jpg", turnedJpeg());
        screen->attachFiles({sources(env) + "/turned.jpg"});
        auto* strip = control<AttachmentStrip>(screen, "lstAttachments");
        auto* tabs = screen->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(strip)) {
                tabs->setCurrentIndex(i);
            }
        }
        QVERIFY(strip->isVisible());
        QTRY_COMPARE(strip->thumbnailsShown(), 1);
        const QImage shown = strip->model()
                                 ->index(0, 0)
                                 .data(Qt::DecorationRole)
                                 .value<QIcon>()
                                 .pixmap(QSize(40, 80))
                                 .toImage();
        QCOMPARE(shown.size(), QSize(40, 80));
        QCOMPARE(QColor(shown.pixel(20, 10)).red() > 200, true);

        // A double-click on the thumbnail opens the photo.
        const QPoint photo = strip->visualRect(strip->model()->index(0, 0)).center();
        QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, photo);
        QTest::mouseDClick(strip->viewport(), Qt::LeftButton, {}, photo);
        QCOMPARE(env.launcher.requests.size(), 1);
        QCOMPARE(env.launcher.requests[0].target, docs(env) + "/Attachments/5/turned.jpg");
    }

    void deletingTheJob_data() {
        QTest::addColumn<int>("answer");  // to "delete those copies with the job?"
        QTest::addColumn<bool>("jobKept");
        QTest::addColumn<bool>("copyKept");
        QTest::newRow("with its attachments") << int(Prompter::Answer::Yes) << false << false;
        QTest::newRow("keeping the copies") << int(Prompter::Answer::No) << false << true;
        QTest::newRow("cancelled") << int(Prompter::Answer::Cancel) << true << true;
    }
    void deletingTheJob() {
        QFETCH(int, answer);
        QFETCH(bool, jobKept);
        QFETCH(bool, copyKept);
        TestEnv env;
        auto screen = open(env);
        const QString fileName = attachOne(env, screen, "survey.pdf");
        env.prompter.answer(Prompter::Answer::Yes);
        env.prompter.answer(Prompter::Answer(answer));
        control<QPushButton>(screen, "cmdDelete")->click();
        QCOMPARE(env.prompter.count(), 2);
        QVERIFY(env.prompter.last().prompt.contains("1 attached file"));
        const auto jobs = env.app().DbConnection.query("SELECT JobNo FROM Jobs WHERE JobNo = 5");
        QCOMPARE(jobs->count(), jobKept ? 1 : 0);
        QCOMPARE(QFile::exists(docs(env) + "/" + fileName), copyKept);
    }
};

QTEST_MAIN(tst_attachments)
#include "tst_attachments.moc"
