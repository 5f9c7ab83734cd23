// The find windows against a real server with the demo records and a few
// members of our own: full and partial matches by name and by application-form
// number, the journals of earlier years, quotes in the typed text, the rights
// of the account, the refusals, and a double click that opens the member in a
// real main window. Also the graduation-year dialog.
#include "app/formmain.h"
#include "data/services.h"
#include "frames/groupbar.h"
#include "loggedinmodule.h"
#include "members/dlgyear.h"
#include "members/finddialog.h"
#include "members/memberframe.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {
QStringList ids(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    out.sort();
    return out;
}
QStringList rowTexts(const QTreeWidgetItem* item) {
    QStringList out;
    for (int c = 0; c < item->columnCount(); ++c)
        out << item->text(c);
    return out;
}
QStringList headerTexts(const QTreeWidget* list) {
    return rowTexts(list->headerItem());
}
// Checks the models of a dialog's lists while it lives; the testers go before
// the lists, whose models announce a reset while they are destroyed.
class ModelWatch {
public:
    explicit ModelWatch(FindMemberDialog& dialog) {
        for (bool staff : {false, true}) {
            watch(dialog.checkList(staff)->model());
            for (int category = 0; category < 4; ++category)
                watch(dialog.resultList(staff, category)->model());
        }
    }

private:
    void watch(QAbstractItemModel* model) {
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};
void search(FindMemberDialog& dialog, const QString& text, bool exact) {
    dialog.edtText->setText(text);
    (exact ? dialog.rbExact : dialog.rbPart)->setChecked(true);
    dialog.btnFind->click();
}
} // namespace

class TestFindDialogs : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    int m_settingsFiles = 0;
    std::unique_ptr<TDM> m_dm;
    // Two branches of organization 01 and one of 02, per population.
    QString m_branch[2][2], m_otherBranch[2], m_orgName;

    std::unique_ptr<TDM> startedModule(const QString& user) {
        return testing::startedModule(m_server,
                                      m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_settingsFiles)), user);
    }
    // A find window with its models checked.
    struct Watched {
        std::unique_ptr<FindMemberDialog> dialog;
        ModelWatch watch{*dialog};
        FindMemberDialog* operator->() const { return dialog.get(); }
        FindMemberDialog& operator*() const { return *dialog; }
    };
    static Watched dialog(bool byFormNumber, TDM& dm) {
        std::unique_ptr<FindMemberDialog> d;
        if (byFormNumber)
            d = std::make_unique<TDlgFindZYS>(dm);
        else
            d = std::make_unique<TDlgFindDY>(dm);
        return Watched{std::move(d)};
    }
    static QString prefix(bool staff) { return QString::fromLatin1(staff ? "Staff_" : "Stud_"); }
    static QString id(bool staff, const char* org, int n) {
        return QString::fromLatin1(staff ? "Z" : "X") + QLatin1String(org) + QStringLiteral("-99000") +
               QString::number(n);
    }
    void addMember(bool staff, const QString& id, const QString& name, const QString& formNumber,
                   const QString& org, const QString& branch, const QString& journal) {
        QString error;
        QVERIFY2(m_server.exec(
                     QStringLiteral("Insert into %1DYInfo (DY_ID,Name,Sex,JiGuan,ZYS_No) VALUES "
                                    "(%2,%3,'男','江苏南京',%4)")
                         .arg(prefix(staff), TDM::quoted(id), TDM::quoted(name), TDM::quoted(formNumber)),
                     &error),
                 qPrintable(error));
        const QString values = QStringLiteral("(%1,'%2','%3'").arg(TDM::quoted(id), org, branch);
        const QString row =
            journal.isEmpty()
                ? QStringLiteral("XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES %1,0)").arg(values)
                : QStringLiteral("JianSao (DY_ID,DZZ_ID,DZB_ID,JianSaoRQ,JianSaoLX) VALUES "
                                 "%1,'%2','毕业转出')")
                      .arg(values, journal);
        QVERIFY2(m_server.exec(QStringLiteral("Insert into ") + prefix(staff) + row, &error),
                 qPrintable(error));
    }

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        QVERIFY2(m_server.start({}, &error, 0), qPrintable(error));
        m_orgName = m_server.scalar(QStringLiteral("Select DZZ_Name from DZZ_List where DZZ_ID='01'"));
        for (bool staff : {false, true}) {
            const QString table = QString::fromLatin1(staff ? "DZB_ZG" : "DZB_XS");
            const QStringList own = m_server.column(
                QStringLiteral("Select ZB_ID from %1 where DZZ_ID='01' order by ZB_ID").arg(table));
            QVERIFY(own.size() >= 2);
            m_branch[staff][0] = own[0];
            m_branch[staff][1] = own[1];
            m_otherBranch[staff] =
                m_server.scalar(QStringLiteral("Select Max(ZB_ID) from %1 where DZZ_ID='02'").arg(table));
            // The same name and number in another organization is never found.
            addMember(staff, id(staff, "01", 1), QStringLiteral("隗冬"), QStringLiteral("QZX-7701"),
                      QStringLiteral("01"), m_branch[staff][0], {});
            addMember(staff, id(staff, "01", 2), QStringLiteral("小隗冬梅"), QStringLiteral("QZX-77012"),
                      QStringLiteral("01"), m_branch[staff][0], {});
            addMember(staff, id(staff, "02", 3), QStringLiteral("隗冬"), QStringLiteral("QZX-7701"),
                      QStringLiteral("02"), m_otherBranch[staff], {});
            addMember(staff, id(staff, "01", 4), QStringLiteral("奥'尼尔"), QStringLiteral("QZX'88"),
                      QStringLiteral("01"), m_branch[staff][0], {});
            // Left long before the work year.
            addMember(staff, id(staff, "01", 5), QStringLiteral("隗冬青"), QStringLiteral("QZX-5501"),
                      QStringLiteral("01"), m_branch[staff][1], QStringLiteral("2019-06-30"));
            // Left in the work year.
            addMember(staff, id(staff, "01", 6), QStringLiteral("隗春"), QStringLiteral("QZX-6601"),
                      QStringLiteral("01"), m_branch[staff][1], QStringLiteral("2026-03-01"));
        }
        m_dm = startedModule(QStringLiteral("admin"));
        QVERIFY(m_dm);
    }
    void init() { m_messages.clear(); }

    // Full matches find only the exact text, partial ones every text that
    // contains it; a quote in the text is part of it. Only the organization's
    // own members are found.
    void matching_data() {
        QTest::addColumn<bool>("staff");
        QTest::addColumn<bool>("byFormNumber");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("found");
        for (bool staff : {false, true}) {
            const char* who = staff ? "staff" : "students";
            QTest::addRow("%s, full name", who) << staff << false << true << "隗冬" << QList<int>{1};
            QTest::addRow("%s, part of names", who) << staff << false << false << "隗冬" << QList<int>{1, 2};
            QTest::addRow("%s, full form number", who)
                << staff << true << true << "QZX-7701" << QList<int>{1};
            QTest::addRow("%s, part of form numbers", who)
                << staff << true << false << " QZX-7701 " << QList<int>{1, 2};
            QTest::addRow("%s, name with a quote", who)
                << staff << false << true << "奥'尼尔" << QList<int>{4};
            QTest::addRow("%s, part with a quote", who) << staff << false << false << "奥'" << QList<int>{4};
            QTest::addRow("%s, form number with a quote", who)
                << staff << true << false << "X'8" << QList<int>{4};
            QTest::addRow("%s, nobody", who) << staff << false << true << "隗" << QList<int>{};
        }
    }
    void matching() {
        QFETCH(bool, staff);
        QFETCH(bool, byFormNumber);
        QFETCH(bool, exact);
        QFETCH(QString, text);
        QFETCH(QList<int>, found);
        auto d = dialog(byFormNumber, *m_dm);
        search(*d, text, exact);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().at(0).kind, MessageKind::Info);
        QCOMPARE(m_messages.shown().at(0).text, QStringLiteral("查找完成！"));
        QStringList expected;
        for (int n : found)
            expected << id(staff, "01", n);
        QTreeWidget* list = d->resultList(staff, Current);
        QCOMPARE(ids(list), expected);
        QCOMPARE(d->pages->currentIndex(), 0);
        if (found.isEmpty()) return;

        // The columns of a hit.
        QStringList header{"党员ID", "姓名", "性别", "籍贯", "二级党组织", "党支部", "党组织ID", "党支部ID"};
        const QTreeWidgetItem* hit = list->findItems(expected[0], Qt::MatchExactly).value(0);
        QVERIFY(hit);
        const QString branchName =
            m_server.scalar(QStringLiteral("Select ZB_Name from %1 where ZB_ID='%2'")
                                .arg(QString::fromLatin1(staff ? "DZB_ZG" : "DZB_XS"), m_branch[staff][0]));
        QStringList row{
            expected[0],
            m_server.scalar(
                QStringLiteral("Select Name from %1DYInfo where DY_ID='%2'").arg(prefix(staff), expected[0])),
            "男",
            "江苏南京",
            m_orgName,
            branchName,
            "01",
            m_branch[staff][0]};
        if (byFormNumber) {
            header.insert(4, QStringLiteral("入党志愿书编号"));
            row.insert(4, m_server.scalar(QStringLiteral("Select ZYS_No from %1DYInfo where DY_ID='%2'")
                                              .arg(prefix(staff), expected[0])));
        }
        QCOMPARE(headerTexts(list), header);
        QCOMPARE(rowTexts(hit), row);
    }

    // The journals are searched in every year: a member who left years ago
    // is on the decreased page.
    void earlierYearsAreSearched_data() {
        QTest::addColumn<bool>("staff");
        QTest::newRow("students") << false;
        QTest::newRow("staff") << true;
    }
    void earlierYearsAreSearched() {
        QFETCH(bool, staff);
        auto d = dialog(false, *m_dm);
        search(*d, QStringLiteral("隗冬青"), true);
        QCOMPARE(ids(d->resultList(staff, Decreased)), QStringList{id(staff, "01", 5)});
        QCOMPARE(ids(d->resultList(staff, Current)), QStringList());
        search(*d, QStringLiteral("隗"), false);
        QCOMPARE(ids(d->resultList(staff, Decreased)), QStringList({id(staff, "01", 5), id(staff, "01", 6)}));
    }

    // An account with one population's right searches that population only;
    // unticked categories hide their pages.
    void rights_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("staff");
        QTest::newRow("students only") << "xuesheng" << false;
        QTest::newRow("staff only") << "zhigong" << true;
    }
    void rights() {
        QFETCH(QString, user);
        QFETCH(bool, staff);
        auto dm = startedModule(user);
        QVERIFY(dm);
        auto d = dialog(false, *dm);
        CategoryCheckList* own = d->checkList(staff);
        CategoryCheckList* other = d->checkList(!staff);
        QVERIFY(own->isEnabled());
        QVERIFY(!other->isEnabled());
        QCOMPARE(own->tickedCount(), 4);
        QCOMPARE(other->tickedCount(), 0);
        for (int category = 0; category < 4; ++category) {
            QVERIFY(d->pages->isTabVisible(FindMemberDialog::pageOf(staff, category)));
            QVERIFY(!d->pages->isTabVisible(FindMemberDialog::pageOf(!staff, category)));
        }
        QCOMPARE(d->pages->currentIndex(), FindMemberDialog::pageOf(staff, Current));

        own->setTicked(Current, false);
        search(*d, QStringLiteral("隗"), false);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().at(0).text, QStringLiteral("查找完成！"));
        QVERIFY(!d->pages->isTabVisible(FindMemberDialog::pageOf(staff, Current)));
        QVERIFY(d->pages->isTabVisible(FindMemberDialog::pageOf(staff, Decreased)));
        QCOMPARE(d->pages->currentIndex(), FindMemberDialog::pageOf(staff, PreReview));
        QCOMPARE(ids(d->resultList(staff, Decreased)), QStringList({id(staff, "01", 5), id(staff, "01", 6)}));
        QVERIFY(ids(d->resultList(staff, Current)).isEmpty());
        for (int category = 0; category < 4; ++category)
            QVERIFY(ids(d->resultList(!staff, category)).isEmpty());
    }

    // Refusals send nothing: the lists and pages of the last search stay.
    void refusals_data() {
        QTest::addColumn<bool>("byFormNumber");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("untickAll");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << false << "  " << false << "请输入要查找党员的姓名。";
        QTest::newRow("no form number") << true << "" << false << "请输入要查找入党志愿书编号。";
        QTest::newRow("no category") << false << "隗春" << true << "请指定查找范围！";
    }
    void refusals() {
        QFETCH(bool, byFormNumber);
        QFETCH(QString, text);
        QFETCH(bool, untickAll);
        QFETCH(QString, message);
        auto d = dialog(byFormNumber, *m_dm);
        search(*d, byFormNumber ? QStringLiteral("QZX-7701") : QStringLiteral("隗冬"), false);
        m_messages.clear();
        const QStringList before = ids(d->resultList(false, Current));
        QCOMPARE(before.size(), 2);
        for (bool staff : {false, true})
            for (int category = 0; untickAll && category < 4; ++category)
                d->checkList(staff)->setTicked(category, false);
        search(*d, text, false);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().at(0).kind, MessageKind::Error);
        QCOMPARE(m_messages.shown().at(0).text, message);
        QCOMPARE(ids(d->resultList(false, Current)), before);
        for (int page = 0; page < 8; ++page)
            QVERIFY(d->pages->isTabVisible(page));
    }

    // The main window keeps each find window with what it shows.
    void windowIsKept() {
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.setAskBeforeClose(false);
        window.show();
        window.action("actTool_FindDY")->trigger();
        auto* byName = window.findChild<TDlgFindDY*>();
        QVERIFY(byName);
        ModelWatch watch(*byName);
        QVERIFY(byName->isVisible());
        QVERIFY(!byName->isModal());
        search(*byName, QStringLiteral("隗冬"), false);
        byName->btnClose->click();
        QVERIFY(!byName->isVisible());
        window.action("actTool_FindZYS")->trigger();
        auto* byForm = window.findChild<TDlgFindZYS*>();
        QVERIFY(byForm);
        QCOMPARE(byForm->windowTitle(), QStringLiteral("查找入党志愿书"));
        window.action("actTool_FindDY")->trigger();
        QCOMPARE(window.findChildren<TDlgFindDY*>().size(), 1);
        QVERIFY(byName->isVisible());
        QCOMPARE(byName->edtText->text(), QStringLiteral("隗冬"));
        QVERIFY(byName->rbPart->isChecked());
        QCOMPARE(byName->resultList(false, Current)->topLevelItemCount(), 2);
    }

    // A double click on a hit shows the member frame of his branch on his
    // category's page with his row selected.
    void doubleClickShowsTheMember_data() {
        QTest::addColumn<bool>("staff");
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("branch");
        QTest::addColumn<bool>("byFormNumber");
        QTest::newRow("student, current, by name") << false << int(Current) << 1 << 0 << false;
        QTest::newRow("staff, decreased this year, by form number")
            << true << int(Decreased) << 6 << 1 << true;
    }
    void doubleClickShowsTheMember() {
        QFETCH(bool, staff);
        QFETCH(int, category);
        QFETCH(int, member);
        QFETCH(int, branch);
        QFETCH(bool, byFormNumber);
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.setAskBeforeClose(false);
        window.show();
        window.action(byFormNumber ? "actTool_FindZYS" : "actTool_FindDY")->trigger();
        auto* d = window.findChild<FindMemberDialog*>();
        QVERIFY(d);
        ModelWatch watch(*d);
        QVERIFY(QTest::qWaitForWindowExposed(d));
        const QString memberId = id(staff, "01", member);
        const QString field = QString::fromLatin1(byFormNumber ? "ZYS_No" : "Name");
        search(*d,
               m_server.scalar(QStringLiteral("Select %1 from %2DYInfo where DY_ID='%3'")
                                   .arg(field, prefix(staff), memberId)),
               true);
        QTreeWidget* list = d->resultList(staff, category);
        d->pages->setCurrentIndex(FindMemberDialog::pageOf(staff, category));
        QCOMPARE(list->topLevelItemCount(), 1);
        const QRect rect = list->visualItemRect(list->topLevelItem(0));
        QSignalSpy hits(d, &FindMemberDialog::showMember);
        // A real double click: press, release, then the double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(hits.size(), 1);

        auto* frame = qobject_cast<TFrameDY*>(window.currentFrame());
        QVERIFY(frame);
        QCOMPARE(frame->tag(), staff ? 21 : 11);
        QCOMPARE(frame->branchId(), m_branch[staff][branch]);
        QCOMPARE(frame->currentPage(), 1 + category);
        QTreeWidgetItem* row = frame->list(category)->currentItem();
        QVERIFY(row);
        QCOMPARE(row->text(0), memberId);
        QVERIFY(row->isSelected());
        QVERIFY(window.GroupBar1()->isOpen(staff ? TFormMain::RzGroupStaff : TFormMain::RzGroupStud));
        QVERIFY(window.PanelWork()->isVisible());
    }

    // Pictures of the find windows after a search, to look at (CORVEXA_SCREENSHOTS=DIR).
    void screenshots() {
        const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS");
        if (shots.isEmpty()) QSKIP("CORVEXA_SCREENSHOTS not set");
        for (bool byFormNumber : {false, true}) {
            auto d = dialog(byFormNumber, *m_dm);
            d->show();
            search(*d, byFormNumber ? QStringLiteral("QZX") : QStringLiteral("隗"), false);
            QVERIFY(d->grab().save(
                shots + (byFormNumber ? QStringLiteral("/findzys.png") : QStringLiteral("/finddy.png"))));
        }
        TDlgYear year;
        year.show();
        QVERIFY(year.grab().save(shots + QStringLiteral("/year.png")));
    }

    // The year starts at this year unless the caller presets another.
    void yearDialog() {
        {
            TDlgYear year;
            QCOMPARE(year.windowTitle(), QStringLiteral("设置毕业生毕业年度"));
            QVERIFY(year.isModal());
            QCOMPARE(year.year(), 2026);
            QCOMPARE(year.edtYear->minimum(), 2000);
            QCOMPARE(year.edtYear->maximum(), 2100);
            year.setYear(2031);
            year.show();
            for (QPushButton* button : year.findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("确定")) button->click();
            QCOMPARE(year.result(), int(QDialog::Accepted));
            QCOMPARE(year.year(), 2031);
        }
        m_clock.setToday(QDate(2030, 1, 2));
        TDlgYear year;
        QCOMPARE(year.year(), 2030);
        m_clock.setToday(QDate(2026, 7, 10));
    }
};

QTEST_MAIN(TestFindDialogs)
#include "tst_finddialogs.moc"
