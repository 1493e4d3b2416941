#include "support/TestEnv.h"

#include "db/RowValues.h"
#include "db/Schema.h"
#include "db/ServerAddress.h"
#include "setup/JetConversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cstdio>
#include <cstdlib>

namespace {

// A database made once per test program and copied for each test.
QString templateDatabase() {
    static QTemporaryDir dir;
    static QString file;
    if (file.isEmpty()) {
        file = dir.path() + QStringLiteral("/template.mdb");
        const QString failure = schema::createDatabaseFile(file);
        if (!failure.isEmpty()) {
            qFatal("cannot make the template database: %s", qPrintable(failure));
        }
    }
    return file;
}

// A connection to the test server's database that makes and drops the tests' schemas.
// It is closed with the application, before Qt's own connections go.
Database* admin = nullptr;

Database& serverAdmin() {
    if (!admin) {
        admin = new Database;
        qAddPostRoutine([] {
            delete admin;
            admin = nullptr;
        });
    }
    // A test that stopped and started the server has left this connection without one.
    if (admin->isOpen() && !admin->exec(QStringLiteral("SELECT 1")) && admin->serverAway()) {
        admin->reconnect();
    }
    if (!admin->isOpen() && !admin->probe(TestEnv::testServer().connectionString())) {
        qFatal("cannot reach the test database server: %s",
               qPrintable(admin->lastError().message));
    }
    return *admin;
}

}  // namespace

bool TestEnv::onServer() {
    return qgetenv("VERDELL_TEST_ENGINE").compare("postgresql", Qt::CaseInsensitive) == 0;
}

ServerAddress TestEnv::testServer() {
    const QString url = qEnvironmentVariable("VERDELL_TEST_PG");
    if (url.isEmpty()) {
        std::fprintf(stderr, "SKIPPED: no PostgreSQL server named; set VERDELL_TEST_PG to "
                             "postgresql://user@host:port/database to run these tests on one\n");
        std::exit(77);
    }
    QString why;
    const auto server = ServerAddress::fromUrl(url, &why);
    if (!server) {
        qFatal("VERDELL_TEST_PG: %s", qPrintable(why));
    }
    return *server;
}

TestEnv::TestEnv()
    : roots({}, {}),
      oldHome_(qgetenv("HOME")),
      oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    QDir().mkpath(home());
    QDir().mkpath(driveD());
    QDir().mkpath(driveE());
    QDir().mkpath(installFolder());
    roots = FixedDriveRoots({home(), driveD(), driveE()}, installFolder());
    qputenv("HOME", QFile::encodeName(home()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root() + QStringLiteral("/config")));
    if (onServer()) {
        testServer();  // ends the program as skipped when no server is named
    }
    restart();
}

TestEnv::~TestEnv() {
    app_.reset();
    if (!serverSchema_.isEmpty()) {
        serverAdmin().exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(serverSchema_));
    }
    qputenv("HOME", oldHome_);
    if (oldConfig_.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", oldConfig_);
    }
}

AppState& TestEnv::restart() {
    app_.reset();
    app_ = std::make_unique<AppState>(
        Services{prompter, launcher, clock, screen, roots, locale, sharing});
    // As in the programs: a database of the earlier release is offered for conversion.
    app_->offerJetConversion = [this](const QString& file) {
        return conversion::OfferJetConversion(*app_, file);
    };
    return *app_;
}

QString TestEnv::settingsFile() const { return app_->AppSettings.storeFile(); }

void TestEnv::createSettings(const QMap<QString, QString>& values) {
    QVERIFY(app_->AppSettings.CreateKey() == 0);
    for (auto it = values.begin(); it != values.end(); ++it) {
        QCOMPARE(app_->AppSettings.SetValue(it.key(), it.value()), 0);
    }
}

QString TestEnv::setting(const QString& name) {
    // What the store holds, whatever this run holds in its place.
    TReg stored;
    stored.setKey(app_->AppSettings.Key());
    stored.setPath(app_->AppSettings.Path());
    return stored.GetValue(name);
}

QString TestEnv::makeDatabase(const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile::remove(file);
    if (!QFile::copy(templateDatabase(), file)) {
        qFatal("cannot copy the template database to %s", qPrintable(file));
    }
    QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file;
}

QString TestEnv::openNewDatabase() {
    if (onServer()) {
        static int serial = 0;
        ServerAddress server = testServer();
        if (serverSchema_.isEmpty()) {
            serverSchema_ = QStringLiteral("verdell_test_%1_%2")
                                .arg(QCoreApplication::applicationPid())
                                .arg(++serial);
            Database& admin = serverAdmin();
            admin.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(serverSchema_));
            if (!admin.exec(QStringLiteral("CREATE SCHEMA %1").arg(serverSchema_))) {
                qFatal("cannot make a schema on the test server: %s",
                       qPrintable(admin.lastError().message));
            }
        }
        server.schema = serverSchema_;
        if (!QFileInfo::exists(settingsFile())) {
            createSettings();
        }
        ServerAddress::store(app_->AppSettings, server);
        connectionString_ = server.connectionString();
        app_->ConnectionString = connectionString_;
        if (!app_->DbConnection.open(connectionString_)) {
            qFatal("cannot open %s: %s", qPrintable(connectionString_),
                   qPrintable(app_->DbConnection.lastError().message));
        }
        return {};
    }
    const QString file = makeDatabase(dataFolder() + QStringLiteral("/verdell.mdb"));
    if (!QFileInfo::exists(settingsFile())) {
        createSettings();
    }
    app_->AppSettings.SetValue(QStringLiteral("datapath"), dataFolder());
    app_->AppSettings.SetValue(QStringLiteral("dataname"), QStringLiteral("verdell.mdb"));
    connectionString_ = connection::forFile(file);
    app_->ConnectionString = connectionString_;
    if (!app_->DbConnection.open(connectionString_)) {
        qFatal("cannot open %s: %s", qPrintable(file),
               qPrintable(app_->DbConnection.lastError().message));
    }
    return file;
}

bool TestEnv::refuse(Database& db, const QString& event, const QString& table,
                     const QString& message) {
    if (!db.onServer()) {
        return db.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE %1 ON %2 BEGIN "
                                      "SELECT RAISE(ABORT, '%3'); END")
                           .arg(event, table, message));
    }
    return db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger "
                                  "LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION '%1'; END$$")
                       .arg(message)) &&
           db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 FOR EACH ROW "
                                  "EXECUTE FUNCTION refuse()")
                       .arg(event, table));
}

bool TestEnv::allow(Database& db, const QString& table) {
    return db.exec(db.onServer() ? QStringLiteral("DROP TRIGGER refuse ON %1").arg(table)
                                 : QStringLiteral("DROP TRIGGER refuse"));
}

void TestEnv::writeFile(const QString& file, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size()) {
        qFatal("cannot write %s", qPrintable(file));
    }
}

QByteArray TestEnv::readFile(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

bool TestEnv::addRow(Database& db, const QString& table, const QVariantMap& values) {
    RowValues row(db.dialect(), table);
    for (auto it = values.begin(); it != values.end(); ++it) {
        row.set(it.key(), it.value());
    }
    return db.exec(row.insert(), row.values());
}
