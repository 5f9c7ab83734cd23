// The per-machine settings: defaults, round trip, names without regard to case.
#include "data/settings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexa::client;

class TestClientSettings : public QObject {
    Q_OBJECT
private slots:
    void settingsDefaults() {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(QStringLiteral("velmor.ini")));
        const LetterSettings s = readLetterSettings(store, QStringLiteral("计算机学院"),
                                                    QStringLiteral("计算机学院党委"), QDate(2026, 7, 10));
        QCOMPARE(s.DangFei, 6);
        QCOMPARE(s.YouXiaoQi, 90);
        QCOMPARE(s.UseCurDate, true);
        QCOMPARE(s.DWFrom, QStringLiteral("计算机学院"));
        QCOMPARE(s.DZZFrom, QStringLiteral("计算机学院党委"));
        QCOMPARE(s.PrintDate, QDate(2026, 7, 10));
        QCOMPARE(s.DZZ_Tel, QString());
    }

    void settingsRoundTrip() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmor.ini"));
        LetterSettings s;
        s.DangFei = 12;
        s.YouXiaoQi = 30;
        s.PrintDate = QDate(2008, 5, 15);
        s.UseCurDate = false;
        s.DWFrom = QStringLiteral("经济学院");
        s.DZZFrom = QStringLiteral("经济学院党委");
        s.DZZ_Tel = QStringLiteral("0731-1234567");
        s.DZZ_Addr = QStringLiteral("岳麓山 1 号");
        {
            SettingsStore store(path);
            // A value written earlier under another letter case is the same value.
            store.setValue(QStringLiteral("dangfei"), 3);
            writeLetterSettings(store, s);
        }
        SettingsStore store(path);
        const LetterSettings back = readLetterSettings(store, QString(), QString(), QDate(2026, 1, 1));
        QCOMPARE(back.DangFei, 12);
        QCOMPARE(back.YouXiaoQi, 30);
        QCOMPARE(back.PrintDate, QDate(2008, 5, 15));
        QCOMPARE(back.UseCurDate, false);
        QCOMPARE(back.DWFrom, s.DWFrom);
        QCOMPARE(back.DZZFrom, s.DZZFrom);
        QCOMPARE(back.DZZ_Tel, s.DZZ_Tel);
        QCOMPARE(back.DZZ_Addr, s.DZZ_Addr);
        QVERIFY(!store.contains(QStringLiteral("DZZ_Nothing")));
        QCOMPARE(store.value(QStringLiteral("DANGFEI")).toInt(), 12);
    }

    // Value names written by hand in another letter case are read.
    void settingsIgnoreCase() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("velmor.ini"));
        {
            QSettings raw(path, QSettings::IniFormat);
            raw.setValue(QStringLiteral("WorkYEar"), 2025);
            raw.setValue(QStringLiteral("youxiaoqi"), 45);
        }
        SettingsStore store(path);
        QCOMPARE(store.value(QStringLiteral("WorkYear")).toInt(), 2025);
        store.setValue(QStringLiteral("WorkYear"), 2026);
        QSettings raw(path, QSettings::IniFormat);
        store.sync();
        raw.sync();
        QVERIFY(!raw.contains(QStringLiteral("WorkYEar")));
        QCOMPARE(readLetterSettings(store, {}, {}, QDate(2026, 1, 1)).YouXiaoQi, 45);
    }
};

QTEST_GUILESS_MAIN(TestClientSettings)
#include "tst_clientsettings.moc"
