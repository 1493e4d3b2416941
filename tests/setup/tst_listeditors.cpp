// The three list editors: adding, refusing blanks and duplicates, the apostrophe rule, deleting,
// and the captions each window takes.

#include "setup/PickList.h"
#include "setup/frmListEditor.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

using setupvalues::PickList;

QPushButton* button(QWidget& editor, const char* name) {
    return control<QPushButton>(&editor, name);
}
QLineEdit* box(QWidget& editor) {
    return control<QLineEdit>(&editor, "txtStatus");
}
QListWidget* listOf(QWidget& editor) {
    return control<QListWidget>(&editor, "lstStatus");
}

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

}  // namespace

class tst_listeditors : public QObject {
    Q_OBJECT

    // Types the text and presses Save; the window's list afterwards.
    void addEntry(frmListEditor& editor, const QString& text) {
        if (button(editor, "cmdAdd")->text() == "&Add") {
            button(editor, "cmdAdd")->click();
        }
        QTest::keyClicks(box(editor), text);
        button(editor, "cmdAdd")->click();
    }

private Q_SLOTS:
    void eachWindowKeepsItsOwnTable_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("heading");
        QTest::newRow("job status") << 0 << "jobStatus"
            << "Status" << "Verdell [Job Status Settings]" << "Job Status Options";
        QTest::newRow("introducers") << 1 << "IntroducedBy"
            << "IntroducedBy" << "Verdell [Agent:]" << "Agent:";
        QTest::newRow("document types") << 2 << "DocType"
            << "DocType" << "Verdell [Document Types]" << "Document Types";
    }
    void eachWindowKeepsItsOwnTable() {
        QFETCH(int, which);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(QString, heading);
        TestEnv env;
        env.openNewDatabase();
        env.app().FieldCaptions.set(1, "Agent:");
        std::unique_ptr<frmListEditor> editor;
        switch (which) {
            case 0:
                editor = std::make_unique<frmJobStatus>(env.app());
                break;
            case 1:
                editor = std::make_unique<frmIntroducedBy>(env.app());
                break;
            default:
                editor = std::make_unique<frmDocType>(env.app());
                break;
        }
        editor->Form_Load();
        QCOMPARE(editor->windowTitle(), caption);
        QCOMPARE(control<QLabel>(editor.get(), "labHelp")->text(), heading);
        PickList list(env.app().DbConnection, table, field);
        QCOMPARE(items(listOf(*editor)), list.entries());

        addEntry(*editor, "Bob's Agency");
        QCOMPARE(list.entries().last(), QString("Bob`s Agency"));
        QCOMPARE(items(listOf(*editor)).last(), QString("Bob`s Agency"));
        QCOMPARE(button(*editor, "cmdAdd")->text(), QString("&Add"));
        QVERIFY(button(*editor, "cmdExit")->isEnabled());
        QVERIFY(box(*editor)->isHidden());

        const int before = list.entries().size();
        listOf(*editor)->setCurrentRow(0);
        const QString first = listOf(*editor)->item(0)->text();
        button(*editor, "cmdDelete")->click();
        QCOMPARE(list.entries().size(), before - 1);
        QVERIFY(!list.entries().contains(first));
        QVERIFY(!items(listOf(*editor)).contains(first));
        QCOMPARE(env.prompter.count(), 0);  // no question before deleting
    }

    void refusesBlanksTheSameTextAndNothingSelected() {
        TestEnv env;
        env.openNewDatabase();
        frmJobStatus editor(env.app());
        editor.Form_Load();
        PickList list(env.app().DbConnection, "jobStatus", "Status");
        const QStringList start = list.entries();

        addEntry(editor, "");
        QCOMPARE(env.prompter.last().prompt, QString("You cannot add a blank status option."));
        QCOMPARE(env.prompter.last().title, QString("Invalid Entry"));
        QCOMPARE(button(editor, "cmdAdd")->text(), QString("&Save"));
        QVERIFY(!button(editor, "cmdExit")->isEnabled());

        box(editor)->clear();
        addEntry(editor, "CLOSED");
        QCOMPARE(env.prompter.last().prompt, QString("The entry already exists"));
        QCOMPARE(env.prompter.last().title, QString("No Duplicate Entries"));
        QCOMPARE(list.entries(), start);

        // Another letter case is another entry; Enter in the box saves it.
        box(editor)->clear();
        QTest::keyClicks(box(editor), "Closed");
        QTest::keyClick(box(editor), Qt::Key_Return);
        QCOMPARE(list.entries(), start + QStringList{"Closed"});

        // Cancel leaves adding without a row.
        button(editor, "cmdAdd")->click();
        QTest::keyClicks(box(editor), "Pending");
        button(editor, "cmdDelete")->click();
        QCOMPARE(button(editor, "cmdDelete")->text(), QString("&Delete"));
        QVERIFY(box(editor)->isHidden());
        QCOMPARE(list.entries(), start + QStringList{"Closed"});

        // Delete with nothing selected deletes nothing.
        listOf(editor)->setCurrentRow(-1);
        button(editor, "cmdDelete")->click();
        QCOMPARE(env.prompter.last().prompt,
                 QString("You have to select an entry before pressing Delete"));
        QCOMPARE(env.prompter.last().title, QString("Nothing Selected"));
        QCOMPARE(list.entries(), start + QStringList{"Closed"});
    }
};

QTEST_MAIN(tst_listeditors)
#include "tst_listeditors.moc"
