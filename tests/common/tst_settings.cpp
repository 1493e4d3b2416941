#include "support/TestEnv.h"

#include <QFile>
#include <QTest>

// The settings store: one file of text values with case-insensitive names.
class tst_settings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBackWhatWasWritten_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << "verdell.mdb" << "verdell.mdb";
        QTest::newRow("leading spaces go") << "  \\Verdell Std" << "\\Verdell Std";
        QTest::newRow("trailing spaces stay") << "x  " << "x  ";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("commas") << "a, b,c" << "a, b,c";
        QTest::newRow("quotes and equals") << "say \"hi\" = 'x'" << "say \"hi\" = 'x'";
        QTest::newRow("at sign") << "@Variant(x)" << "@Variant(x)";
        QTest::newRow("backslashes") << "\\\\server\\share" << "\\\\server\\share";
        QTest::newRow("accents") << "Zo\u00EB \u00A3" << "Zo\u00EB \u00A3";
        QTest::newRow("254 characters") << QString(254, 'a') << QString(254, 'a');
    }
    void readsBackWhatWasWritten() {
        QFETCH(QString, written);
        QFETCH(QString, read);
        TestEnv env;
        env.createSettings();
        TReg& reg = env.app().AppSettings;
        QCOMPARE(reg.SetValue("LastJob", written), 0);
        QCOMPARE(reg.Value(), written);
        QCOMPARE(reg.GetValue("LastJob"), read);
        QCOMPARE(reg.Error(), 0);
        QCOMPARE(reg.Value(), read);
    }

    void namesWrittenByHandInAnyCaseAreRead() {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(),
                           "[General]\nDataPath=/srv/office\nDataName=office.mdb\n");
        TReg& reg = env.app().AppSettings;
        QCOMPARE(reg.GetValue("datapath"), QString("/srv/office"));
        QCOMPARE(reg.GetValue("DATANAME"), QString("office.mdb"));
        // Written back under one name: the hand-written one gives way, nothing is read twice.
        QCOMPARE(reg.SetValue("datapath", "/srv/new"), 0);
        QCOMPARE(reg.GetValue("DataPath"), QString("/srv/new"));
        QCOMPARE(TestEnv::readFile(env.settingsFile()).toLower().count("datapath="), 1);
    }

    void valuesHeldForThisRunAreNotStored() {
        TestEnv env;
        env.createSettings({{"datapath", "/stored"}, {"dataname", "stored.mdb"}});
        TReg& reg = env.app().AppSettings;
        reg.holdForThisRun({{"DataPath", "/held"}, {"dataname", "held.mdb"}});
        QCOMPARE(reg.GetValue("datapath"), QString("/held"));
        QCOMPARE(reg.GetValue("DATANAME"), QString("held.mdb"));
        QCOMPARE(env.setting("datapath"), QString("/stored"));
        // A value the user then chooses is stored as usual, and the hold goes.
        QCOMPARE(reg.SetValue("dataname", "chosen.mdb"), 0);
        QVERIFY(!reg.holding());
        QCOMPARE(reg.GetValue("datapath"), QString("/stored"));
        QCOMPARE(env.setting("dataname"), QString("chosen.mdb"));
    }

    void missingAndTooLongValues() {
        TestEnv env;
        env.createSettings({{"JobAge", "30"}});
        TReg& reg = env.app().AppSettings;
        QCOMPARE(reg.GetValue("JobAge"), QString("30"));

        QCOMPARE(reg.GetValue("NoSuchValue"), QString());
        QVERIFY(reg.Error() != 0);
        QCOMPARE(reg.Value(), QString("30"));  // the last good read stays

        reg.SetValue("Long", QString(255, 'b'));
        QCOMPARE(reg.GetValue("Long"), QString());
        QCOMPARE(reg.Error(), 234);
        QCOMPARE(reg.Value(), QString(255, 'b'));  // written last, not read
    }

    void missingKeyReadsEmptyAndRefusesWrites() {
        TestEnv env;
        TReg& reg = env.app().AppSettings;
        QVERIFY(reg.SetValue("LastJob", "5") != 0);
        QVERIFY(!QFile::exists(env.settingsFile()));  // writing never makes the key
        QCOMPARE(reg.GetValue("LastJob"), QString());
        QVERIFY(reg.Error() != 0);

        QCOMPARE(reg.CreateKey(), 0);
        QCOMPARE(reg.SetValue("LastJob", "5"), 0);
        QCOMPARE(reg.CreateKey(), 0);  // an existing key is kept
        QCOMPARE(reg.GetValue("LastJob"), QString("5"));
    }

    void otherKeysAreNotThisStore() {
        TestEnv env;
        env.createSettings({{"LastJob", "5"}});
        TReg other;
        other.setPath("Software\\Corvane\\Verdell");
        QCOMPARE(other.GetValue("LastJob"), QString());  // no root key set
        other.setKey(TReg::kCurrentUser);
        QCOMPARE(other.GetValue("LastJob"), QString("5"));
        other.setPath("Software\\..\\etc");
        QVERIFY(other.SetValue("x", "y") != 0);
    }

    void twoCopiesSeeEachOthersWrites() {
        TestEnv env;
        env.createSettings();
        TReg first = env.app().AppSettings;
        TReg second = env.app().AppSettings;
        // Rewrites of the same size follow each other faster than the file clock ticks.
        for (int i = 0; i < 20; ++i) {
            first.SetValue("LastJob", "7");
            QCOMPARE(second.GetValue("LastJob"), QString("7"));
            second.SetValue("LastJob", "8");
            QCOMPARE(first.GetValue("LastJob"), QString("8"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_settings)
#include "tst_settings.moc"
