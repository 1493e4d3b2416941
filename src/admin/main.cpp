// verdell-admin: what an administrator or a script needs of Verdell, without a screen.

#include "admin/AdminCommands.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/ScreenMetrics.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"
#include "setup/JetConversion.h"

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv) {
    // Reports lay out and draw text, which needs the fonts of a GUI application; nothing is
    // shown, so without a platform of its own it draws off screen.
    const bool drawing = argc > 1 && qstrcmp(argv[1], "report") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> application =
        drawing ? std::make_unique<QGuiApplication>(argc, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdell-admin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERDELL_VERSION));

    // Nothing here may stop to ask: questions get the answer that changes nothing.
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    SystemClock clock;
    FixedScreenMetrics screen;
    SystemDriveRoots roots;
    HostLocale locale;
    SambaFolderSharing sharing;
    AppState app(Services{prompter, launcher, clock, screen, roots, locale, sharing});
    app.offerJetConversion = [&app](const QString& file) {
        return conversion::OfferJetConversion(app, file);
    };
    QTextStream out(stdout);
    QTextStream err(stderr);
    app.AppSettings.onWriteFailure = [&err](const QString& why) {
        err << "settings not saved: "
            << QString(why).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).simplified()
            << Qt::endl;
    };

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return admin::run(app, arguments, {out, err});
}
