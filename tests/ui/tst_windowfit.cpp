#include "support/JobScreen.h"
#include "ui/EveryWindow.h"

#include <QTest>
#include <functional>
#include <memory>

// Every window opens inside the part of the screen the desktop leaves to windows, on the screens
// offices use: small and wide laptops, a desktop monitor, and screens scaled to 125% and 200%
// (their sizes in the pixels a window is laid out in), each with a taskbar at the bottom.
class tst_windowfit : public QObject {
    Q_OBJECT

    using Make = MakeWindow;

    struct Setting {
        const char* name;
        QSize screen;
        int taskbar;
    };
    static constexpr Setting kSettings[] = {{"1024x768", {1024, 768}, 40},
                                            {"1366x768", {1366, 768}, 40},
                                            {"1920x1080", {1920, 1080}, 40},
                                            {"1366x768 at 125%", {1093, 614}, 32},
                                            {"2560x1440 at 200%", {1280, 720}, 20}};

private Q_SLOTS:
    void opensInsideTheScreen_data() {
        QTest::addColumn<Make>("make");
        for (const auto& [name, make] : windows::every()) {
            QTest::newRow(name) << make;
        }
    }
    void opensInsideTheScreen() {
        QFETCH(Make, make);
        QStringList outside;
        for (const Setting& setting : kSettings) {
            TestEnv env;
            withJobFive(env);
            env.screen.set(setting.screen);
            const QRect area(QPoint(0, 0), setting.screen - QSize(0, setting.taskbar));
            env.screen.setAvailable(area);
            std::unique_ptr<QWidget> window(make(env.app()));
            window->show();
            QCoreApplication::processEvents();
            const QRect at = window->frameGeometry();
            if (qEnvironmentVariableIsSet("VERDELL_SHOW_WINDOW_SIZES")) {
                qInfo("%s | %s | %dx%d", QTest::currentDataTag(), setting.name, window->width(),
                      window->height());
            }
            if (!area.contains(at)) {
                outside << QStringLiteral("%1: %2x%3 at %4,%5")
                               .arg(QLatin1String(setting.name))
                               .arg(at.width())
                               .arg(at.height())
                               .arg(at.x())
                               .arg(at.y());
            }
        }
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(tst_windowfit)
#include "tst_windowfit.moc"
