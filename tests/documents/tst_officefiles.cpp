#include "OfficeTestFiles.h"
#include "support/SmallDisk.h"
#include "documents/LegacyTemplate.h"
#include "documents/WordDocument.h"
#include "documents/Workbook.h"

#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace testfiles;

namespace {

enum class Kind { Word, Excel };

QString fixtureOf(Kind kind) {
    return fixture(kind == Kind::Word ? QStringLiteral("jobsheet.dotx")
                                      : QStringLiteral("invoice.xltx"));
}

QString mainPartOf(Kind kind) {
    return kind == Kind::Word ? QStringLiteral("word/document.xml")
                              : QStringLiteral("xl/worksheets/sheet2.xml");
}

// Opens with the class for the kind; the error, and whether the object is left empty.
OfficeError openBytes(Kind kind, const QByteArray& bytes, bool* empty = nullptr) {
    if (kind == Kind::Word) {
        WordDocument doc;
        doc.openData(bytes);
        if (empty) {
            *empty = doc.storyCount() == 0 && !doc.replaceAll(0, QStringLiteral("["), {});
        }
        return doc.error();
    }
    Workbook book;
    book.openData(bytes);
    if (empty) {
        *empty =
            !book.find(QStringLiteral("["), false) && book.cellText(QStringLiteral("A1")).isEmpty();
    }
    return book.error();
}

OfficeError openPath(Kind kind, const QString& path) {
    if (kind == Kind::Word) {
        WordDocument doc;
        doc.open(path);
        return doc.error();
    }
    Workbook book;
    book.open(path);
    return book.error();
}

// Saves the fixture, as small as the documents merged from the sample templates, under `path`.
OfficeError saveTo(Kind kind, const QString& path) {
    if (kind == Kind::Word) {
        WordDocument doc;
        if (!doc.open(fixtureOf(kind))) {
            return doc.error();
        }
        doc.replaceAll(0, QStringLiteral("[JOBNO]"), QStringLiteral("507"));
        doc.saveAs(path);
        return doc.error();
    }
    Workbook book;
    if (!book.open(fixtureOf(kind))) {
        return book.error();
    }
    book.setCellText(QStringLiteral("F1"), QStringLiteral("507"));
    book.saveAs(path);
    return book.error();
}

// A zip package of `count` parts of `megabytes` of zeros besides the fixture's own.
QByteArray inflating(Kind kind, int count, int megabytes) {
    const QByteArray zeros(qsizetype(megabytes) * 1024 * 1024, '\0');
    QMap<QString, QByteArray> parts;
    for (int i = 0; i < count; ++i) {
        parts.insert(QStringLiteral("media/zeros%1.bin").arg(i), zeros);
    }
    return withParts(read(fixtureOf(kind)), parts, {}, 1);
}

}  // namespace

Q_DECLARE_METATYPE(Kind)

class TestOfficeFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void badPackages_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        const QByteArray types =
            "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas."
            "openxmlformats.org/package/2006/content-types\"/>";
        for (Kind kind : {Kind::Word, Kind::Excel}) {
            const char* k = kind == Kind::Word ? "word: " : "excel: ";
            const QByteArray good = read(fixtureOf(kind));
            const QString main = mainPartOf(kind);
            QTest::addRow("%snot a zip", k) << kind << QByteArray("PK\x03\x04 not really") << 321;
            QTest::addRow("%sempty", k) << kind << QByteArray() << 321;
            QTest::addRow("%szip without any document part", k)
                << kind
                << withParts(good, {{QStringLiteral("[Content_Types].xml"), types}},
                             partNames(good))
                << 321;
            const QString document = kind == Kind::Word ? QStringLiteral("word/document.xml")
                                                        : QStringLiteral("xl/workbook.xml");
            QTest::addRow("%sdocument part missing", k)
                << kind << withParts(good, {}, {document}) << 321;
            QTest::addRow("%spart it refers to missing", k)
                << kind
                << withParts(good, {},
                             {kind == Kind::Word ? QStringLiteral("word/header1.xml") : main})
                << 321;
            if (kind == Kind::Excel) {
                QTest::addRow("%sshared strings it refers to missing", k)
                    << kind << withParts(good, {}, {QStringLiteral("xl/sharedStrings.xml")}) << 321;
            }
            QTest::addRow("%sno content types", k)
                << kind << withParts(good, {}, {QStringLiteral("[Content_Types].xml")}) << 321;
            QTest::addRow("%smalformed XML", k)
                << kind << withParts(good, {{main, part(good, main).left(700)}}) << 321;
            QTest::addRow("%sXML nested past any document", k)
                << kind
                << withParts(good, {{main, QByteArray("<a>").repeated(5000) +
                                               QByteArray("</a>").repeated(5000)}})
                << 321;
            QTest::addRow("%sthe other kind of file", k)
                << kind << read(fixtureOf(kind == Kind::Word ? Kind::Excel : Kind::Word)) << 321;
            QTest::addRow("%sone part over 64 MB unpacked", k)
                << kind << inflating(kind, 1, 65) << 7;
            QTest::addRow("%sover 256 MB unpacked in all", k)
                << kind << inflating(kind, 5, 60) << 7;
        }
    }
    void badPackages() {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        bool empty = false;
        const OfficeError error = openBytes(kind, bytes, &empty);
        QCOMPARE(error.number, number);
        QVERIFY(!error.description.isEmpty());
        QVERIFY(empty);
    }

    void badFiles_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("says");
        for (Kind kind : {Kind::Word, Kind::Excel}) {
            const char* k = kind == Kind::Word ? "word: " : "excel: ";
            QTest::addRow("%svanished", k) << kind << "gone.dotx" << 53 << "was not found";
            QTest::addRow("%sa folder", k) << kind << "folder.dotx" << 75 << "is a folder";
            QTest::addRow("%snot a zip", k)
                << kind << "text.dotx" << 321
                << (kind == Kind::Word ? "is not a Word document" : "is not an Excel workbook");
        }
    }
    void badFiles() {
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder.dotx"));
        write(dir.filePath(QStringLiteral("text.dotx")), "Dear Sir,\n");
        const OfficeError error = openPath(kind, dir.filePath(name));
        QCOMPARE(error.number, number);
        QVERIFY(error.description.contains(name));
        QVERIFY2(error.description.contains(says), qPrintable(error.description));
    }

    // A save that fails leaves what was under the name as it was, and nothing else behind.
    void failedSaves_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("number");
        for (Kind kind : {Kind::Word, Kind::Excel}) {
            const char* k = kind == Kind::Word ? "word: " : "excel: ";
            QTest::addRow("%sfolder missing", k) << kind << "missing" << 75;
            QTest::addRow("%sname is a folder", k) << kind << "folder" << 75;
            QTest::addRow("%sfolder is a file", k) << kind << "under a file" << 75;
            QTest::addRow("%sfolder without write permission", k)
                << kind << "read-only folder" << 70;
            QTest::addRow("%sread-only disk", k) << kind << "read-only disk" << 75;
            QTest::addRow("%sdisk full", k) << kind << "full disk" << 61;
            QTest::addRow("%swrite refused part way", k) << kind << "size limit" << 75;
        }
    }
    void failedSaves() {
        QFETCH(Kind, kind);
        QFETCH(QString, place);
        QFETCH(int, number);
        QTemporaryDir dir;
        QString folder = dir.path();
        QString name = QStringLiteral("507.doc");
        std::unique_ptr<SmallDisk> disk;
        if (place == QLatin1String("missing")) {
            folder = dir.filePath(QStringLiteral("missing"));
        } else if (place == QLatin1String("folder")) {
            QDir(folder).mkdir(name);
        } else if (place == QLatin1String("under a file")) {
            write(dir.filePath(QStringLiteral("file")), "x");
            folder = dir.filePath(QStringLiteral("file"));
        } else if (place == QLatin1String("read-only folder")) {
            if (::geteuid() == 0) {
                QSKIP("root writes whatever the folder's permissions");
            }
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        } else if (place != QLatin1String("size limit")) {
            disk = std::make_unique<SmallDisk>();
            if (!disk->mounted()) {
                QSKIP("no small file system can be mounted here (needs root)");
            }
            folder = disk->folder();
        }
        const QString path = folder + u'/' + name;
        const QByteArray old = "the letter saved before";
        if (disk) {
            write(path, old);
            if (place == QLatin1String("read-only disk")) {
                disk->remountReadOnly();
            } else {
                disk->fill(4096);  // less than the smallest document
            }
        }

        OfficeError error;
        if (place == QLatin1String("size limit")) {
            write(path, old);
            // Writing past 4 KB fails, as when a disk fills; the signal that comes with it is
            // ignored so that the write only fails.
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            const rlimit small{4096, limit.rlim_max};
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &small);
            error = saveTo(kind, path);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, previous);
        } else {
            error = saveTo(kind, path);
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(error.number, number);
        QVERIFY(!error.description.isEmpty());
        if (QFileInfo(path).isFile()) {
            QCOMPARE(read(path), old);
        }
        if (QFileInfo(folder).isDir()) {
            const QStringList left =
                QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            QVERIFY2(left.size() <= 1, qPrintable(left.join(u',')));
        }
    }

    // Refused without an office suite on the path, and before one is looked for.
    void legacyRefused_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("number");
        QTest::newRow("no office suite") << fixture(QStringLiteral("jobsheet.dot")) << 429;
        QTest::newRow("vanished") << fixture(QStringLiteral("gone.dot")) << 53;
        QTest::newRow("not an old template") << fixture(QStringLiteral("jobsheet.fodt")) << 321;
    }
    void legacyRefused() {
        QFETCH(QString, path);
        QFETCH(int, number);
        QTemporaryDir empty;
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        LegacyTemplate legacy;
        const bool converted = legacy.convert(path);
        qputenv("PATH", searchPath);
        QVERIFY(!converted);
        QCOMPARE(legacy.error().number, number);
        QVERIFY(legacy.convertedPath().isEmpty());
    }

    void legacyConverted_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("word") << QStringLiteral("jobsheet.dot");
        QTest::newRow("excel") << QStringLiteral("invoice.xlt");
    }
    void legacyConverted() {
        QFETCH(QString, name);
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty() &&
            QStandardPaths::findExecutable(QStringLiteral("libreoffice")).isEmpty()) {
            QSKIP("LibreOffice is not installed");
        }
        LegacyTemplate legacy;
        QVERIFY2(legacy.convert(fixture(name)), qPrintable(legacy.error().description));
        if (name.endsWith(QLatin1String(".dot"))) {
            QVERIFY(legacy.convertedPath().endsWith(QLatin1String(".dotx")));
            WordDocument doc;
            QVERIFY(doc.open(legacy.convertedPath()));
            QVERIFY(doc.replaceAll(0, QStringLiteral("[JOBNO]"), QStringLiteral("1042")));
            QVERIFY(doc.storyText(0).startsWith(QStringLiteral("Job sheet 1042")));
        } else {
            QVERIFY(legacy.convertedPath().endsWith(QLatin1String(".xltx")));
            Workbook book;
            QVERIFY(book.open(legacy.convertedPath()));
            QCOMPARE(book.find(QStringLiteral("Dear [CUSTNAME]"), false),
                     std::optional<QString>("$B$4"));
        }
    }
};

QTEST_GUILESS_MAIN(TestOfficeFiles)
#include "tst_officefiles.moc"
