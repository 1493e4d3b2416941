#include "support/TestEnv.h"

#include "startup/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

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

}  // namespace

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
    restart();
}

TestEnv::~TestEnv() {
    app_.reset();
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
    return *app_;
}

QString TestEnv::settingsFile() const { return app_->AppSettings.storeFile(); }

void TestEnv::createSettings(const QMap<QString, QString>& values) {
    QVERIFY(app_->AppSettings.CreateKey() == 0);
    for (auto it = values.begin(); it != values.end(); ++it) {
        QCOMPARE(app_->AppSettings.SetValue(it.key(), it.value()), 0);
    }
}

QString TestEnv::setting(const QString& name) { return app_->AppSettings.GetValue(name); }

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
    const QString file = makeDatabase(dataFolder() + QStringLiteral("/verdell.mdb"));
    if (!QFileInfo::exists(settingsFile())) {
        createSettings();
    }
    app_->AppSettings.SetValue(QStringLiteral("datapath"), dataFolder());
    app_->AppSettings.SetValue(QStringLiteral("dataname"), QStringLiteral("verdell.mdb"));
    if (!app_->DbConnection.open(connection::forFile(file))) {
        qFatal("cannot open %s: %s", qPrintable(file),
               qPrintable(app_->DbConnection.lastError().message));
    }
    return file;
}

void TestEnv::writeFile(const QString& file, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size()) {
        qFatal("cannot write %s", qPrintable(file));
    }
}
