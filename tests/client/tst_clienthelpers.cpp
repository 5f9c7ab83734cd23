// The small rules shared by the screens, the settings store and the message
// boxes' titles and answers.
#include "data/connection.h"
#include "data/helpers.h"
#include "data/services.h"
#include "data/settings.h"
#include "data/widgethelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace corvexa::client;

class TestClientHelpers : public QObject {
    Q_OBJECT
private slots:
    void nextNo_data() {
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("next");
        QTest::newRow("padded") << 7 << 4 << "0008";
        QTest::newRow("longer than the width is not cut") << 12345 << 4 << "12346";
        QTest::newRow("member serial") << 123 << 6 << "000124";
        QTest::newRow("fresh") << 0 << 4 << "0001";
    }
    void nextNo() {
        QFETCH(int, counter);
        QFETCH(int, width);
        QFETCH(QString, next);
        TAutoIncNo no(counter);
        QCOMPARE(no.NextNo(width), next);
        // A cancelled record gives its number back; the same one comes again.
        no.UndoNo();
        QCOMPARE(no.NextNo(width), next);
    }

    void orgUnitName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unit");
        QTest::newRow("committee") << "计算机学院党委"
                                   << "计算机学院";
        QTest::newRow("general branch") << "图书馆党总支"
                                        << "图书馆";
        QTest::newRow("neither") << "机关直属支部"
                                 << "机关直属支部";
        QTest::newRow("committee comes first") << "甲党总支乙党委丙"
                                               << "甲党总支乙";
        QTest::newRow("empty") << ""
                               << "";
    }
    void orgUnitName() {
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QCOMPARE(OrgUnitName(name), unit);
    }

    void compareNumText_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("result");
        QTest::newRow("empty and zero") << ""
                                        << "0" << 0;
        QTest::newRow("blank and zero") << "  "
                                        << "0" << 0;
        QTest::newRow("10 > 9") << "10"
                                << "9" << 1;
        QTest::newRow("2 < 10") << "2"
                                << "10" << -1;
        QTest::newRow("equal numbers, other texts") << "1.0"
                                                    << "1" << -1;
        QTest::newRow("identical") << "3.5"
                                   << "3.5" << 0;
    }
    void compareNumText() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, result);
        QCOMPARE(CompareNumText(a, b), result);
    }

    void dropLastChar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("trailing comma") << "a,b,"
                                        << "a,b";
        QTest::newRow("two blanks") << "  "
                                    << "  ";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("chinese") << "张三、"
                                 << "张三";
    }
    void dropLastChar() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(DropLastChar(text), result);
    }

    void zeroPad() {
        QCOMPARE(ZeroPad(7, 4), QStringLiteral("0007"));
        QCOMPARE(ZeroPad(123456, 4), QStringLiteral("123456"));
    }

    void age_data() {
        QTest::addColumn<QDate>("born");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("age");
        QTest::newRow("the day of the 20th birthday") << QDate(2000, 1, 1) << QDate(2020, 1, 1) << 19;
        QTest::newRow("one day later") << QDate(2000, 1, 1) << QDate(2020, 1, 2) << 20;
        QTest::newRow("summer birthday") << QDate(1990, 6, 15) << QDate(2008, 6, 15) << 17;
        QTest::newRow("summer, a day later") << QDate(1990, 6, 15) << QDate(2008, 6, 16) << 18;
        QTest::newRow("no birth date") << QDate() << QDate(2026, 7, 10) << 126;
    }
    void age() {
        QFETCH(QDate, born);
        QFETCH(QDate, today);
        QFETCH(int, age);
        QCOMPARE(memberAge(born, today), age);
    }

    void overdue_data() {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("memberType");
        QTest::addColumn<bool>("probationOverdue");
        QTest::addColumn<bool>("preReviewOverdue");
        QTest::newRow("122 days") << 122 << "预备" << false << false;
        QTest::newRow("123 days") << 123 << "预备" << false << true;
        QTest::newRow("365 days") << 365 << "预备" << false << true;
        QTest::newRow("366 days") << 366 << "预备" << true << true;
        QTest::newRow("366 days, full member") << 366 << "正式" << false << true;
    }
    void overdue() {
        QFETCH(int, daysAgo);
        QFETCH(QString, memberType);
        QFETCH(bool, probationOverdue);
        QFETCH(bool, preReviewOverdue);
        const QDate today(2024, 3, 1); // a leap year's February lies in between
        const QDate since = today.addDays(-daysAgo);
        QCOMPARE(isProbationOverdue(since, memberType, today), probationOverdue);
        QCOMPARE(isPreReviewOverdue(since, today), preReviewOverdue);
        // Without a date nobody is overdue.
        QVERIFY(!isProbationOverdue(QDate(), memberType, today));
        QVERIFY(!isPreReviewOverdue(QDate(), today));
    }

    void serverAddress_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host only") << "10.1.2.3"
                                   << "10.1.2.3" << 211;
        QTest::newRow("host and port") << " server:2110 "
                                       << "server" << 2110;
        QTest::newRow("empty") << ""
                               << "127.0.0.1" << 211;
        QTest::newRow("bad port") << "server:x"
                                  << "" << -1;
        QTest::newRow("port out of range") << "server:70000"
                                           << "" << -1;
    }
    void serverAddress() {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto address = parseServerAddress(text);
        QCOMPARE(address.has_value(), port > 0);
        if (!address) return;
        QCOMPARE(address->host, host);
        QCOMPARE(int(address->port), port);
    }

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

    void messageBoxes() {
        ScriptedMessageService scripted;
        MessageService* previous = installMessageService(&scripted);
        scripted.script({MessageAnswer::No});
        QCOMPARE(AskDelete(QStringLiteral("删除吗？")), MessageAnswer::No);
        QCOMPARE(AskConfirm(QStringLiteral("继续吗？")), MessageAnswer::Cancel); // script used up
        QCOMPARE(ShowTransError(QStringLiteral("失败")), MessageAnswer::Ok);
        ShowError(QStringLiteral("e"));
        ShowInfo(QStringLiteral("i"));
        ShowWarning(QStringLiteral("w"));
        QStringList titles;
        for (const auto& shown : scripted.shown())
            titles << shown.title;
        QCOMPARE(titles,
                 QStringList({"确认删除", "请确认选择", "事务处理错误", "系统错误", "系统提示", "系统警告"}));
        installMessageService(previous);
    }

    // The real boxes: titles, buttons, icons and the preselected button.
    void dialogBoxes_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("error") << int(MessageKind::Error) << "系统错误" << int(QMessageBox::Critical)
                               << int(QMessageBox::Ok);
        QTest::newRow("info") << int(MessageKind::Info) << "系统提示" << int(QMessageBox::Information)
                              << int(QMessageBox::Ok);
        QTest::newRow("warning") << int(MessageKind::Warning) << "系统警告" << int(QMessageBox::Warning)
                                 << int(QMessageBox::Ok);
        QTest::newRow("confirm") << int(MessageKind::Confirm) << "请确认选择" << int(QMessageBox::Question)
                                 << int(QMessageBox::Yes);
        QTest::newRow("delete") << int(MessageKind::Delete) << "确认删除" << int(QMessageBox::Question)
                                << int(QMessageBox::No);
    }
    void dialogBoxes() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QString seenTitle;
        int seenIcon = -1, seenDefault = -1, buttons = 0;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                seenTitle = box->windowTitle();
                seenIcon = box->icon();
                seenDefault =
                    box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok;
                buttons = int(box->buttons().size());
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        DialogMessageService dialogs;
        const MessageAnswer answer = dialogs.show(MessageKind(kind), QStringLiteral("文本"));
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenIcon, icon);
        QCOMPARE(seenDefault, defaultButton);
        const bool question = defaultButton != int(QMessageBox::Ok);
        QCOMPARE(buttons, question ? 3 : 1);
        QCOMPARE(answer, question ? MessageAnswer::Cancel : MessageAnswer::Ok);
    }

    void numKeyFilter() {
        QLineEdit edit;
        NumKeyFilter filter;
        edit.installEventFilter(&filter);
        QTest::keyClicks(&edit, QStringLiteral("43a0-1.5x"));
        QCOMPARE(edit.text(), QStringLiteral("4301.5"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("4301."));
    }

    // Backgrounds of grid cells: stripes, the read-only column, selection.
    void gridCellBackground_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("striped");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("colour");
        const QPalette palette = QApplication::palette();
        QTest::newRow("odd row, striped") << 1 << true << true << false << QColor(192, 220, 192);
        QTest::newRow("even row") << 2 << true << true << false << palette.color(QPalette::ToolTipBase);
        QTest::newRow("odd row, not striped")
            << 1 << true << false << false << palette.color(QPalette::ToolTipBase);
        QTest::newRow("read-only column") << 1 << false << true << false << QColor(Qt::yellow);
        QTest::newRow("selected") << 1 << false << true << true << palette.color(QPalette::Highlight);
    }
    void gridCellBackground() {
        QFETCH(int, row);
        QFETCH(bool, editable);
        QFETCH(bool, striped);
        QFETCH(bool, selected);
        QFETCH(QColor, colour);
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        GridCellDelegate::DrawGridCell(&painter, row, image.rect(), editable, QStringLiteral("2"),
                                       selected ? QStyle::State_Selected : QStyle::State_None, striped,
                                       QStringLiteral("12"), QApplication::palette());
        painter.end();
        QCOMPARE(image.pixelColor(1, 1), colour);
    }

    void listSortingAndFinding() {
        QTreeWidget list;
        list.setColumnCount(2);
        for (auto [name, count] : {std::pair{"beta", "10"}, {"Alpha", "9"}, {"gamma", ""}, {"alpha2", "2"}})
            list.addTopLevelItem(
                new QTreeWidgetItem({QString::fromLatin1(name), QString::fromLatin1(count)}));
        ListSorter sorter(&list, {1});
        auto column = [&](int c) {
            QStringList out;
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                out << list.topLevelItem(i)->text(c);
            return out;
        };
        sorter.sortBy(1);
        QCOMPARE(column(1), QStringList({"", "2", "9", "10"}));
        sorter.sortBy(1); // the same header again: the other way
        QCOMPARE(column(1), QStringList({"10", "9", "2", ""}));
        sorter.sortBy(0); // each column keeps its own direction
        QCOMPARE(column(0), QStringList({"Alpha", "alpha2", "beta", "gamma"}));
        QCOMPARE(FindListItem(&list, QStringLiteral(" beta ")), list.topLevelItem(2));
        QCOMPARE(FindListItem(&list, QStringLiteral("BETA")), nullptr);
    }
};

QTEST_MAIN(TestClientHelpers)
#include "tst_clienthelpers.moc"
