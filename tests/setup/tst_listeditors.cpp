// The three list editors: adding, refusing blanks and duplicates, the apostrophe rule, deleting,
// and the captions each window takes.

#include "setup/frmListEditor.h"
#include "setup/PickList.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

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
        if (editor.cmdAdd->text() == "&Add") {
            editor.cmdAdd->click();
        }
        QTest::keyClicks(editor.txtStatus, text);
        editor.cmdAdd->click();
    }

private Q_SLOTS:
    void eachWindowKeepsItsOwnTable_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("heading");
        QTest::newRow("job status") << 0 << "jobStatus" << "Status"
                                    << "Verdell [Job Status Settings]" << "Job Status Options";
        QTest::newRow("introducers") << 1 << "IntroducedBy" << "IntroducedBy" << "Verdell [Agent:]"
                                     << "Agent:";
        QTest::newRow("document types") << 2 << "DocType" << "DocType"
                                        << "Verdell [Document Types]" << "Document Types";
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
            case 0: editor = std::make_unique<frmJobStatus>(env.app()); break;
            case 1: editor = std::make_unique<frmIntroducedBy>(env.app()); break;
            default: editor = std::make_unique<frmDocType>(env.app()); break;
        }
        editor->Form_Load();
        QCOMPARE(editor->windowTitle(), caption);
        QCOMPARE(editor->labHelp->text(), heading);
        PickList list(env.app().DbConnection, table, field);
        QCOMPARE(items(editor->lstStatus), list.entries());

        addEntry(*editor, "Bob's Agency");
        QCOMPARE(list.entries().last(), QString("Bob`s Agency"));
        QCOMPARE(items(editor->lstStatus).last(), QString("Bob`s Agency"));
        QCOMPARE(editor->cmdAdd->text(), QString("&Add"));
        QVERIFY(editor->cmdExit->isEnabled());
        QVERIFY(editor->txtStatus->isHidden());

        const int before = list.entries().size();
        editor->lstStatus->setCurrentRow(0);
        const QString first = editor->lstStatus->item(0)->text();
        editor->cmdDelete->click();
        QCOMPARE(list.entries().size(), before - 1);
        QVERIFY(!list.entries().contains(first));
        QVERIFY(!items(editor->lstStatus).contains(first));
        QCOMPARE(env.prompter.count(), 0);  // no question before deleting
    }

    void refusesBlanksAndTheSameText() {
        TestEnv env;
        env.openNewDatabase();
        frmJobStatus editor(env.app());
        editor.Form_Load();
        PickList list(env.app().DbConnection, "jobStatus", "Status");
        const QStringList start = list.entries();

        addEntry(editor, "");
        QCOMPARE(env.prompter.last().prompt, QString("You cannot add a blank status option."));
        QCOMPARE(env.prompter.last().title, QString("Invalid Entry"));
        QCOMPARE(editor.cmdAdd->text(), QString("&Save"));
        QVERIFY(!editor.cmdExit->isEnabled());

        editor.txtStatus->clear();
        addEntry(editor, "CLOSED");
        QCOMPARE(env.prompter.last().prompt, QString("The entry already exists"));
        QCOMPARE(env.prompter.last().title, QString("No Duplicate Entries"));
        QCOMPARE(list.entries(), start);

        // Another letter case is another entry.
        editor.txtStatus->clear();
        addEntry(editor, "Closed");
        QCOMPARE(list.entries(), start + QStringList{"Closed"});

        // Cancel leaves adding without a row.
        editor.cmdAdd->click();
        QTest::keyClicks(editor.txtStatus, "Pending");
        editor.cmdDelete->click();
        QCOMPARE(editor.cmdDelete->text(), QString("&Delete"));
        QVERIFY(editor.txtStatus->isHidden());
        QCOMPARE(list.entries(), start + QStringList{"Closed"});
    }

    void deleteWithNothingSelectedSaysSo() {
        TestEnv env;
        env.openNewDatabase();
        frmDocType editor(env.app());
        editor.Form_Load();
        const int before = editor.lstStatus->count();
        editor.lstStatus->clearSelection();
        editor.cmdDelete->click();
        QCOMPARE(env.prompter.last().prompt,
                 QString("You have to select an entry before pressing Delete"));
        QCOMPARE(env.prompter.last().title, QString("Nothing Selected"));
        QCOMPARE(editor.lstStatus->count(), before);
    }

    void enterInTheBoxSaves() {
        TestEnv env;
        env.openNewDatabase();
        frmIntroducedBy editor(env.app());
        editor.Form_Load();
        editor.cmdAdd->click();
        QTest::keyClicks(editor.txtStatus, "Word of mouth");
        QTest::keyClick(editor.txtStatus, Qt::Key_Return);
        QCOMPARE(PickList(env.app().DbConnection, "IntroducedBy", "IntroducedBy").entries().last(),
                 QString("Word of mouth"));
    }
};

QTEST_MAIN(tst_listeditors)
#include "tst_listeditors.moc"
