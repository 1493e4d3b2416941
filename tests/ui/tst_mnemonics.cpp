#include "mainwindow/frmSplash.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"
#include "ui/EveryWindow.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

// Every window, in each of the ways it can show itself (each tab, each pop-up panel, before and
// after starting an entry), gives each Alt key to one control at most among those the user can
// reach at the time.
class tst_mnemonics : public QObject {
    Q_OBJECT

    using Make = MakeWindow;

    // The Alt key of each control the user can reach now, with the controls that answer it.
    static QMap<QKeySequence, QStringList> altKeys(QWidget* window) {
        QMap<QKeySequence, QStringList> keys;
        auto add = [&keys](const QString& text, const QString& who) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (!key.isEmpty()) {
                keys[key] << who;
            }
        };
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled()) {
                continue;
            }
            const QString who =
                w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
            if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                add(button->text(), who);
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                if (label->buddy()) {
                    add(label->text(), who + " (" + label->text() + ")");
                }
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                add(group->title(), who);
            } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
                for (int i = 0; i < tabs->count(); ++i) {
                    if (tabs->isTabEnabled(i) && tabs->isTabVisible(i)) {
                        add(tabs->tabText(i), "tab " + tabs->tabText(i));
                    }
                }
            } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
                for (QAction* action : bar->actions()) {
                    if (action->isVisible() && action->isEnabled()) {
                        add(action->text(), "menu " + action->text());
                    }
                }
            }
        }
        return keys;
    }

    // "Alt+N: cmdNew, Label1_0" for each key that more than one control answers.
    static QStringList shared(QWidget* window, const QString& state) {
        QStringList out;
        const auto keys = altKeys(window);
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            if (it.value().size() > 1) {
                out << state + ": " + it.key().toString() + " " + it.value().join(", ");
            }
        }
        return out;
    }

    // Opens a pop-up panel the way the user does: a button's click, a caption's double-click.
    static void openPanel(QWidget* window, const QString& opener) {
        auto* control = window->findChild<QWidget*>(opener);
        QVERIFY2(control, qPrintable(opener));
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->click();
        } else {
            QTest::mouseDClick(control, Qt::LeftButton);
        }
    }

    // Each tab of each tab set in turn.
    static QStringList sharedOnEveryTab(QWidget* window, const QString& state) {
        QStringList out = shared(window, state);
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                out << shared(window, state + ", tab " + tabs->tabText(i));
            }
        }
        out.removeDuplicates();
        return out;
    }

private Q_SLOTS:
    void oneControlForEachAltKey_data() {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("start");       // a button that starts an entry, or none
        QTest::addColumn<QStringList>("panels");  // the controls that open its pop-up panels
        const QMap<QString, QStringList> panels = {
            {"jobs",
             {"cmdChangeStatus_0", "cmdFindClient_0", "cmdFindEngineer", "Label1_0", "cmdNewDoc"}},
            {"estimates", {"cmdAddItem", "cmdFind"}}};
        const QMap<QString, QString> starts = {
            {"jobs", "cmdNewJob"}, {"estimates", "cmdNewEstimate"}, {"address book", "cmdNew"}};
        for (const auto& [name, make] : windows::every()) {
            QTest::newRow(name) << make << "" << panels.value(name);
            if (starts.contains(name)) {
                QTest::addRow("%s, after %s", name, qPrintable(starts[name]))
                    << make << starts[name] << panels.value(name);
            }
        }
        QTest::newRow("about") << Make([](AppState&) -> QWidget* { return new frmSplash; }) << ""
                               << QStringList();
    }
    void oneControlForEachAltKey() {
        QFETCH(Make, make);
        QFETCH(QString, start);
        QFETCH(QStringList, panels);
        TestEnv env;
        env.openNewDatabase();
        QVERIFY(testjobs::save(env.app(), JobFields{}, 0, 5).ok);
        env.app().AppSettings.SetValue("LastJob", "5");
        QStringList found;
        for (const QString& panel : QStringList{QString()} + panels) {
            env.prompter.clear();
            env.prompter.answer(Prompter::Answer::No);
            std::unique_ptr<QWidget> window(make(env.app()));
            window->show();
            if (!start.isEmpty()) {
                auto* button = window->findChild<QPushButton*>(start);
                QVERIFY(button);
                button->click();
            }
            if (!panel.isEmpty()) {
                openPanel(window.get(), panel);
            }
            found << sharedOnEveryTab(
                window.get(),
                window->objectName() + (panel.isEmpty() ? QString() : ", after " + panel));
        }
        for (const QString& line : found) {
            qWarning().noquote() << line;
        }
        QVERIFY2(found.isEmpty(), "Alt keys shared, as listed above");
    }
};

QTEST_MAIN(tst_mnemonics)
#include "tst_mnemonics.moc"
