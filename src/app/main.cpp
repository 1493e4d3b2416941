// Verdell: the job register of a small trade or property-services business.

#include "db/TextIndex.h"
#include "mainwindow/MainWindowStartup.h"
#include "mainwindow/frmMain.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/QtPrompter.h"
#include "platform/QtScreenMetrics.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"
#include "setup/JetConversion.h"
#include "setup/ProgressWidgets.h"
#include "setup/frmSetup.h"
#include "startup/Startup.h"
#include "startup/frmLocateDatabase.h"
#include "widgets/FocusFrameStyle.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <cstdio>

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

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Verdell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERDELL_VERSION));
}

void describeArguments(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Verdell: the job register of a small trade or property-services "
                       "business.\nWithout a FILE it opens the database its settings name."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A Verdell database (.mdb or .cvn) to open for this run only, or one of "
                       "the earlier Windows release to convert."),
        QStringLiteral("[FILE]"));
}

// Help and version need no screen, so they are answered before one is opened.
bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--") == 0) {
            return false;
        }
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (qstrcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication application(argc, argv);
        nameTheProgram();
        QCommandLineParser parser;
        describeArguments(parser);
        parser.process(application);  // prints the answer and ends the program
    }
    QApplication application(argc, argv);
    QApplication::setStyle(new FocusFrameStyle);
    nameTheProgram();
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvane.verdell"));
    QCommandLineParser parser;
    describeArguments(parser);
    parser.process(application);  // an unknown option ends the program with a message
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("verdell: one database at a time\n", stderr);
        return 2;
    }

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
    // A search that finds the text index damaged answers by reading the rows; the index is
    // built again here, on the screen's thread, with its progress shown.
    textindex::whenDamaged([&app] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&app] { RebuildSearchIndex(app); },
            Qt::QueuedConnection);
    });
    app.offerJetConversion = [&app](const QString& file) {
        return conversion::OfferJetConversion(app, file);
    };
    app.showLocator = [&app] {
        frmLocateDatabase locator(app);
        locator.Form_Load();
        locator.exec();
    };
    app.showNetworkSetup = [&app] {
        frmSetup setup(app);
        setup.Form_Load();
        setup.showNetworkTab();
        setup.exec();
    };

    MainWindowStartup ui(app);
    if (!StartProgram(app, ui, files.value(0))) {
        return 1;
    }
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
