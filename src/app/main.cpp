// Verdell: the job register of a small trade or property-services business.

#include "mainwindow/MainWindowStartup.h"
#include "mainwindow/frmMain.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/QtPrompter.h"
#include "platform/QtScreenMetrics.h"
#include "platform/SystemLocale.h"
#include "setup/NetworkTab.h"
#include "setup/ProgressWidgets.h"
#include "setup/frmSetup.h"
#include "startup/AppState.h"
#include "startup/Startup.h"
#include "startup/frmLocateDatabase.h"

#include <QApplication>
#include <QEvent>

namespace {

// For the start-up benchmark: ends the program once the main window has been painted.
class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verdell"));
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(VERDELL_VERSION));

    QtPrompter prompter;
    DesktopLauncher launcher;
    SystemClock clock;
    QtScreenMetrics screen;
    SystemDriveRoots roots;
    HostLocale locale;
    SambaFolderSharing sharing;
    AppState app(Services{prompter, launcher, clock, screen, roots, locale, sharing});
    DialogProgress conversionProgress(QStringLiteral("Converting the Database"));
    app.conversionProgress = &conversionProgress;
    app.showLocator = [&app] {
        frmLocateDatabase locator(app);
        locator.Form_Load();
        locator.exec();
    };
    app.showNetworkSetup = [&app] {
        frmSetup setup(app);
        setup.Form_Load();
        setup.SSTab1->setCurrentWidget(setup.network);
        setup.exec();
    };

    MainWindowStartup ui(app);
    StartProgram(app, ui);
    // From now on the screens follow other workstations' changes, and a database server that
    // goes away is reconnected when it is back.
    app.changes.start();
    app.server.start();

    QuitAfterFirstPaint quitter;
    if (qEnvironmentVariableIsSet("VERDELL_QUIT_WHEN_SHOWN") && ui.mainWindow()) {
        ui.mainWindow()->installEventFilter(&quitter);
    }
    return application.exec();
}
