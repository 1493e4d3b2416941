// Draws each screen into a PNG file, on a fresh data folder with test doubles.

#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplash.h"
#include "startup/frmLocateDatabase.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace {

void save(QWidget& screen, const QString& folder, const QString& name) {
    screen.show();
    QApplication::processEvents();
    screen.grab().save(folder + u'/' + name + QStringLiteral(".png"));
    screen.hide();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    TestEnv env;
    env.openNewDatabase();
    env.app().FieldCaptions[1] = QStringLiteral("Engineer:");
    {
        frmMain main(env.app());
        main.Form_Load();
        save(main, folder, QStringLiteral("frmMain-starting"));
        env.app().StartupComplete = true;
        main.Timer1_Timer();
        save(main, folder, QStringLiteral("frmMain"));
    }
    {
        frmSplash about;
        save(about, folder, QStringLiteral("frmSplash"));
    }
    {
        frmLocateDatabase locator(env.app());
        locator.Form_Load();
        save(locator, folder, QStringLiteral("frmLocateDatabase"));
    }
    return 0;
}
