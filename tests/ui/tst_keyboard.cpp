#include "support/JobScreen.h"
#include "support/ScreenControls.h"
#include "ui/EveryWindow.h"
#include "widgets/FocusFrameStyle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

// The main work without a mouse: keys on the named controls do what the mouse does.
class tst_keyboard : public QObject {
    Q_OBJECT

    using Make = MakeWindow;

    // The window, shown and active, so that keys reach the control with the focus.
    static std::unique_ptr<QWidget> open(TestEnv& env, const Make& make) {
        std::unique_ptr<QWidget> window(make(env.app()));
        window->show();
        QApplication::setActiveWindow(window.get());
        return window;
    }

    static void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

private Q_SLOTS:
    void enterAndSpaceChooseTheCurrentRow_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("search");  // typed and searched for, then Tab to the list
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("chosen");
        for (const auto& [name, key] :
             {std::pair{"Enter", Qt::Key_Return}, {"Space", Qt::Key_Space}}) {
            QTest::addRow("customer, %s", name) << "cmdFindClient_0"
                                                << "Smi"
                                                << "fgFindClient" << int(key) << "txtCustName"
                                                << "Smith";
            QTest::addRow("client, %s", name) << "cmdFindClient_1"
                                              << "Harb"
                                              << "fgFindClient" << int(key) << "txtCliName"
                                              << "Harbour Estates";
            QTest::addRow("engineer, %s", name) << "cmdFindEngineer"
                                                << ""
                                                << "lstEngineers" << int(key) << "txtClientRef"
                                                << "Bob";
        }
    }
    void enterAndSpaceChooseTheCurrentRow() {
        QFETCH(QString, opener);
        QFETCH(QString, search);
        QFETCH(QString, list);
        QFETCH(int, key);
        QFETCH(QString, field);
        QFETCH(QString, chosen);
        TestEnv env;
        withJobFive(env);
        TestEnv::addRow(env.app().DbConnection, "customers",
                        {{"Name", "Smith"}, {"Address", "1 High St"}, {"Contact", "555"}});
        TestEnv::addRow(env.app().DbConnection, "engineers", {{"Engineer", "Bob"}});
        auto s = openJobScreen(env);
        control<QAbstractButton>(s, opener)->click();
        if (!search.isEmpty()) {
            QTest::keyClicks(QApplication::focusWidget(), search);
            tst_keyboard::key(Qt::Key_Return);
            tst_keyboard::key(Qt::Key_Tab);  // Search
            tst_keyboard::key(Qt::Key_Tab);
        }
        QCOMPARE(focused(), list);
        tst_keyboard::key(key);
        QCOMPARE(control<QLineEdit>(s, field)->text(), chosen);
        QVERIFY(!control(s, list)->isVisible());
    }

    // From the search box, Down goes into the list the search filled; Tab and Shift+Tab leave it.
    void theKeysGoIntoAndOutOfTheList_data() {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("box");  // typed into and searched from; empty: no search
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("previous");  // empty: the way out is not checked
        QTest::addColumn<QString>("next");
        QTest::newRow("documents") << Make([](AppState& app) -> QWidget* {
            auto* jobs = new frmJobs(app);
            jobs->Form_Load();
            control<QTabWidget>(jobs, "tabJobs")->setCurrentIndex(2);
            control(jobs, "fgDocs")->setFocus();
            return jobs;
        }) << ""
                                   << ""
                                   << "fgDocs"
                                   << "cmdChangeStatus_1"
                                   << "cmdNewDoc";
        QTest::newRow("job search") << windows::jobSearch() << "txtSearch"
                                    << "Brien"
                                    << "fgSearch"
                                    << "cmdSearch"
                                    << "cmdLoadJob";
        QTest::newRow("contact search") << windows::contactSearch() << "txtSearch"
                                        << "Mrs"
                                        << "fgSearch"
                                        << "cmdGo"
                                        << "cmdOK";
        QTest::newRow("customer lookup") << Make([](AppState& app) -> QWidget* {
            auto* jobs = new frmJobs(app);
            jobs->Form_Load();
            control<QAbstractButton>(jobs, "cmdFindClient_0")->click();
            return jobs;
        }) << "txtFindClient"
                                         << "Smi"
                                         << "fgFindClient"
                                         << ""
                                         << "";
    }
    void theKeysGoIntoAndOutOfTheList() {
        QFETCH(Make, make);
        QFETCH(QString, box);
        QFETCH(QString, search);
        QFETCH(QString, list);
        QFETCH(QString, previous);
        QFETCH(QString, next);
        TestEnv env;
        withJobFive(env);
        TestEnv::addRow(env.app().DbConnection, "customers",
                        {{"Name", "Smith"}, {"Address", "1 High St"}, {"Contact", "555"}});
        for (int doc = 1; doc <= 3; ++doc) {
            TestEnv::addRow(env.app().DbConnection, "Docs",
                            {{"JobNumber", 5},
                             {"Title", QString("Letter %1").arg(doc)},
                             {"FileName", QString("%1.doc").arg(doc)}});
        }
        auto window = open(env, make);
        auto* view = control<QAbstractItemView>(window.get(), list);
        if (!box.isEmpty()) {
            control(window.get(), box)->setFocus();
            QTest::keyClicks(QApplication::focusWidget(), search);
            key(Qt::Key_Return);
            key(Qt::Key_Down);
            QCOMPARE(focused(), list);
            QCOMPARE(view->currentIndex().row(), 0);
        }
        if (!next.isEmpty()) {
            view->setFocus();
            key(Qt::Key_Tab);
            QCOMPARE(focused(), next);
            view->setFocus();
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(focused(), previous);
        }
    }

    void tabFromTheTabsGoesToTheirPage() {
        TestEnv env;
        withJobFive(env);
        auto s = openJobScreen(env);
        auto* tabs = control<QTabWidget>(s, "tabJobs");
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            tabs->tabBar()->setFocus();
            key(Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            QVERIFY2(now->inherits("QLineEdit") || now->inherits("QComboBox") ||
                         now->inherits("QAbstractButton"),
                     now->metaObject()->className());
            QVERIFY(tabs->currentWidget()->isAncestorOf(now));
        }
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("button");
        QTest::newRow("jobs") << loaded<frmJobs>() << "cmdNewJob";
        QTest::newRow("estimates") << loaded<frmEstimate>() << "cmdFind";
        QTest::newRow("address book, no default button") << windows::addressBook() << "cmdNew";
        QTest::newRow("contact search") << windows::contactSearch() << "SSCommand1";
        QTest::newRow("reports") << loaded<frmReports>() << "cmdJobAge";
    }
    void enterPressesTheFocusedButton() {
        QFETCH(Make, make);
        QFETCH(QString, button);
        TestEnv env;
        withJobFive(env);
        auto window = open(env, make);
        auto* pressed = control<QAbstractButton>(window.get(), button);
        QSignalSpy clicks(pressed, &QAbstractButton::clicked);
        pressed->setFocus();
        key(Qt::Key_Return);
        QCOMPARE(clicks.size(), 1);
    }

    void escapeCloses_data() {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("opener");  // a button, or a caption to double-click
        QTest::addColumn<QString>("closed");  // the panel closed; empty for the window
        QTest::newRow("job status") << loaded<frmJobs>() << "cmdChangeStatus_0"
                                    << "panNewStatus";
        QTest::newRow("find customer") << loaded<frmJobs>() << "cmdFindClient_0"
                                       << "panFindClient";
        QTest::newRow("engineers") << loaded<frmJobs>() << "cmdFindEngineer"
                                   << "panEngineers";
        QTest::newRow("caption") << loaded<frmJobs>() << "Label1_0"
                                 << "panLabels";
        QTest::newRow("new document") << loaded<frmJobs>() << "cmdNewDoc"
                                      << "panDocs";
        QTest::newRow("estimate search") << loaded<frmEstimate>() << "cmdFind"
                                         << "panSearch";
        QTest::newRow("reports menu") << loaded<frmReports>() << ""
                                      << "";
        QTest::newRow("job age") << loaded<frmJobAge>() << ""
                                 << "";
        QTest::newRow("job report") << loaded<frmJobReport>() << ""
                                    << "";
        QTest::newRow("job status report") << loaded<frmMarketingRpt>() << ""
                                           << "";
        QTest::newRow("preview") << windows::reportPreview() << ""
                                 << "";
    }
    void escapeCloses() {
        QFETCH(Make, make);
        QFETCH(QString, opener);
        QFETCH(QString, closed);
        TestEnv env;
        withJobFive(env);
        auto window = open(env, make);
        if (opener.startsWith("cmd")) {
            control<QAbstractButton>(window.get(), opener)->click();
        } else if (!opener.isEmpty()) {
            QTest::mouseDClick(control(window.get(), opener), Qt::LeftButton);
        }
        QWidget* gone = closed.isEmpty() ? window.get() : control(window.get(), closed);
        QVERIFY(gone->isVisible());
        key(Qt::Key_Escape);
        QVERIFY(!gone->isVisible());
        QCOMPARE(window->isVisible(), !closed.isEmpty());
    }

    // The button that has the focus is framed in the highlight colour; the others are not.
    void theFocusedButtonIsFramed() {
        FocusFrameStyle style;
        QPushButton button("Save");
        button.resize(100, 30);
        const QColor highlight = button.palette().color(QPalette::Highlight);
        const auto framed = [&](bool focused) {
            QStyleOptionButton option;
            option.initFrom(&button);
            option.text = button.text();
            option.state.setFlag(QStyle::State_HasFocus, focused);
            QImage shown(button.size(), QImage::Format_ARGB32);
            shown.fill(Qt::white);
            QPainter painter(&shown);
            style.drawControl(QStyle::CE_PushButton, &option, &painter, &button);
            painter.end();
            int pixels = 0;
            for (int x = 0; x < shown.width(); ++x) {
                pixels += shown.pixelColor(x, 1) == highlight;
            }
            return pixels > shown.width() / 2;
        };
        QVERIFY(framed(true));
        QVERIFY(!framed(false));
    }
};

QTEST_MAIN(tst_keyboard)
#include "tst_keyboard.moc"
