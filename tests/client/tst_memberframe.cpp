// The member frames' lists against a real server with the demo records:
// which rows each list shows and in what order, the columns that depend on
// other values, titles, and sorting. The staff frame runs the same cases
// through its own data.
#include "data/services.h"
#include "loggedinmodule.h"
#include "memberframefixture.h"
#include "members/branchpage.h"

#include <QAction>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {
const MemberPopulation& population(bool staff) {
    return staff ? staffMembers() : studentMembers();
}
QStringList columnTexts(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}
int columnOf(QTreeWidget* list, const QString& caption) {
    for (int c = 0; c < list->columnCount(); ++c)
        if (list->headerItem()->text(c) == caption) return c;
    return -1;
}
} // namespace

class TestMemberFrame : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;

    std::unique_ptr<testing::MemberFrameOnBranch> frameOn(bool staff, int branch, TDM* dm = nullptr) {
        return testing::memberFrameOn(dm ? *dm : *m_dm, staff, branch);
    }
    QString scalar(const QString& query) { return m_server.scalar(query); }

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        QVERIFY2(m_server.start({}, &error, 0), qPrintable(error));
        m_dm = testing::startedModule(m_server, m_dir.filePath(QStringLiteral("s.ini")),
                                      QStringLiteral("admin"));
        QVERIFY(m_dm);
    }

    void population_data() {
        QTest::addColumn<bool>("staff");
        QTest::newRow("students") << false;
        QTest::newRow("staff") << true;
    }

    // The current list follows the roster (DY_Index) and leaves out roster
    // rows without a member record; the other lists show every record.
    void listsShowTheBranch_data() { population_data(); }
    void listsShowTheBranch() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        const QString p = QString::fromLatin1(staff ? "Staff_" : "Stud_");
        const QString branch = frame.branchId();
        QVERIFY(!branch.isEmpty());
        const QStringList roster = m_server.column(
            QStringLiteral("Select DY_ID from %1XianYou where DZB_ID='%2' order by DY_Index, DY_ID")
                .arg(p, branch));
        QCOMPARE(columnTexts(frame.list(Current), 0), roster);
        // A roster row whose member has no record is not listed.
        QVERIFY(m_server.exec(QStringLiteral("Insert into %1XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES "
                                             "('%2','01','%3',0)")
                                  .arg(p, QString::fromLatin1(staff ? "Z01-999999" : "X01-999999"), branch)));
        frame.FrameShow();
        QCOMPARE(columnTexts(frame.list(Current), 0), roster);
        QVERIFY(m_server.exec(QStringLiteral("Delete from %1XianYou where DY_ID like '%_01-999999'").arg(p)));
        for (int category : {PreReview, Added, Decreased}) {
            const char* tables[] = {"", "YuSen", "XinZen", "JianSao"};
            const QString count =
                scalar(QStringLiteral("Select Count(*) from %1%2 where DZB_ID='%3'%4")
                           .arg(p, QString::fromLatin1(tables[category]), branch,
                                category == PreReview ? QString()
                                                      : QStringLiteral(" and Year(%1RQ)=2026")
                                                            .arg(QString::fromLatin1(tables[category]))));
            QCOMPARE(frame.list(category)->topLevelItemCount(), count.toInt());
        }
        QCOMPARE(frame.list(Current)->columnCount(), int(population(staff).pages[Current].columns.size()));
    }

    // Titles name the population, the branch and the page.
    void titles_data() { population_data(); }
    void titles() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        f->frame->openPage(1 + PreReview);
        QCOMPARE(f->frame->title(), QString::fromUtf8(staff ? "职工支部【" : "学生支部【") +
                                        f->frame->branchName() + QStringLiteral("】预审党员"));
    }

    // Mobile members show 是 with their type; a decreased member's receipt
    // columns show only when the receipt came.
    void dependentColumns() {
        auto f = frameOn(false, 0);
        QTreeWidget* current = f->frame->list(Current);
        const int mobile = columnOf(current, QStringLiteral("流动党员"));
        const int type = columnOf(current, QStringLiteral("流动类型"));
        for (int i = 0; i < current->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = current->topLevelItem(i);
            const QString flag = scalar(
                QStringLiteral("Select isLiuDong from Stud_DYInfo where DY_ID='%1'").arg(row->text(0)));
            QCOMPARE(row->text(mobile), flag == u"true" ? QStringLiteral("是") : QString());
            if (flag != u"true") QCOMPARE(row->text(type), QString());
        }
        QTreeWidget* decreased = f->frame->list(Decreased);
        const int receipt = columnOf(decreased, QStringLiteral("收到回执"));
        const int date = columnOf(decreased, QStringLiteral("收到回执日期"));
        for (int i = 0; i < decreased->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = decreased->topLevelItem(i);
            if (row->text(receipt).isEmpty())
                QCOMPARE(row->text(date), QString());
            else
                QCOMPARE(row->text(receipt), QStringLiteral("已收到"));
        }
    }

    // The first click sorts descending; the directions stay when another
    // branch is shown; the age column sorts by number.
    void sorting_data() { population_data(); }
    void sorting() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        QVERIFY(list->topLevelItemCount() > 1);
        frame.sortList(Current, 1);
        QStringList names = columnTexts(list, 1);
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return CompareListText(a, b) > 0; });
        QCOMPARE(names, sorted);
        f->tree.setCurrentItem(f->tree.topLevelItem(0)->child(1));
        frame.FrameShow();
        frame.sortList(Current, 1); // the same column of another branch: the other way
        names = columnTexts(list, 1);
        sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return CompareListText(a, b) < 0; });
        QCOMPARE(names, sorted);
        const int age = population(staff).ageColumn;
        QCOMPARE(list->headerItem()->text(age), QStringLiteral("年龄"));
        frame.sortList(Current, age);
        const QStringList ages = columnTexts(list, age);
        for (int i = 1; i < ages.size(); ++i)
            QVERIFY2(CompareNumText(ages[i - 1], ages[i]) >= 0, qPrintable(ages.join(u',')));
    }

    // The branch page's counts, checked in this order.
    void branchCounts_data() {
        QTest::addColumn<int>("headCount");
        QTest::addColumn<int>("applicants");
        QTest::addColumn<int>("activists");
        QTest::addColumn<int>("members");
        QTest::addColumn<QString>("message");
        QTest::newRow("fine") << 30 << 10 << 5 << 20 << "";
        QTest::newRow("all empty") << 0 << 0 << 0 << 0 << "";
        QTest::newRow("fewer than activists")
            << 8 << 5 << 9 << 0 << "支部人数不能少于积极分子人数或申请入党人数！";
        QTest::newRow("more activists than applicants")
            << 30 << 10 << 12 << 0 << "积极分子人数不能大于申请入党人数！";
        QTest::newRow("applicants and members")
            << 30 << 10 << 0 << 25 << "支部人数不能小于现有党员人数与申请人数之和！";
    }
    void branchCounts() {
        QFETCH(int, headCount);
        QFETCH(int, applicants);
        QFETCH(int, activists);
        QFETCH(int, members);
        QFETCH(QString, message);
        QCOMPARE(BranchPage::checkCounts(headCount, applicants, activists, members), message);
    }

    // Saving the branch page: refused counts store nothing; a new name is
    // stored and follows into the title and the tree.
    void branchPageSaves_data() { population_data(); }
    void branchPageSaves() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        BranchPage* page = f->frame->branchPage();
        const QString prefix = QString::fromLatin1(staff ? "ZG" : "XS");
        const QString table = QString::fromLatin1(staff ? "DZB_ZG" : "DZB_XS");
        const QString id = f->frame->branchId();
        auto type = [&](const QString& field, const QString& text) {
            QLineEdit* edit = page->edit(field);
            QVERIFY2(edit, qPrintable(field));
            edit->setText(text);
            emit edit->textEdited(text);
        };
        QVERIFY(!page->actSave->isEnabled());
        type(prefix + QStringLiteral("RS_JiChu"), QStringLiteral("30"));
        type(prefix + QStringLiteral("RS_SenQing"), QStringLiteral("10"));
        type(prefix + QStringLiteral("RS_JiJi"), QStringLiteral("12"));
        QVERIFY(page->actSave->isEnabled());
        m_messages.clear();
        QVERIFY(!page->save());
        QCOMPARE(m_messages.shown().last().text, QStringLiteral("积极分子人数不能大于申请入党人数！"));
        page->cancel();
        QVERIFY(!page->actSave->isEnabled());
        const QString name = QStringLiteral("改名后的支部");
        type(QStringLiteral("ZB_Name"), name);
        QVERIFY(page->save());
        QCOMPARE(m_server.scalar(QStringLiteral("Select ZB_Name from %1 where ZB_ID='%2'").arg(table, id)),
                 name);
        QCOMPARE(f->tree.currentItem()->text(0), name);
        QVERIFY(f->frame->title().contains(QStringLiteral("【") + name + QStringLiteral("】")));
    }

    // The panel shows the selected member; typed changes are stored by
    // 保存修改 (or when another row is chosen) and shown in the row.
    void currentPanelEdits_data() { population_data(); }
    void currentPanelEdits() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        QVERIFY(list->topLevelItemCount() > 2);
        list->setCurrentItem(list->topLevelItem(1));
        auto* name = qobject_cast<QLineEdit*>(frame.currentPanel()->editor(QStringLiteral("Name")));
        QVERIFY(name);
        QCOMPARE(name->text(), list->topLevelItem(1)->text(1));
        // A graduation date after today shows as it is.
        const int graduation = columnOf(list, QString::fromUtf8(staff ? "工作时间" : "毕业时间"));
        auto* date = qobject_cast<QDateEdit*>(
            frame.currentPanel()->editor(QString::fromLatin1(staff ? "GongZuoRQ" : "BiYeRQ")));
        QCOMPARE(date->date().toString(QStringLiteral("yyyy-MM-dd")),
                 list->topLevelItem(1)->text(graduation));
        for (const char* field : {"DY_ID", "Age", "ZYS_No"})
            QVERIFY(qobject_cast<QLineEdit*>(frame.currentPanel()->editor(QString::fromLatin1(field)))
                        ->isReadOnly());
        auto* phone = qobject_cast<QLineEdit*>(frame.currentPanel()->editor(QStringLiteral("LX_TEL")));
        QVERIFY(!frame.actXY_Save->isEnabled());
        phone->setText(QStringLiteral("0551-1234567"));
        emit phone->textEdited(phone->text());
        QVERIFY(frame.actXY_Save->isEnabled());
        frame.cancelCurrent();
        QVERIFY(phone->text() != QStringLiteral("0551-1234567"));

        phone->setText(QStringLiteral("0551-7654321"));
        emit phone->textEdited(phone->text());
        const QString id = list->topLevelItem(1)->text(0);
        list->setCurrentItem(list->topLevelItem(2)); // moving on saves the member
        QVERIFY(!frame.actXY_Save->isEnabled());
        const QString table = QString::fromLatin1(staff ? "Staff_DYInfo" : "Stud_DYInfo");
        QCOMPARE(scalar(QStringLiteral("Select LX_TEL from %1 where DY_ID='%2'").arg(table, id)),
                 QStringLiteral("0551-7654321"));
        const int column = columnOf(list, QStringLiteral("家庭固定电话"));
        QCOMPARE(list->topLevelItem(1)->text(column), QStringLiteral("0551-7654321"));
        QCOMPARE(name->text(), list->topLevelItem(2)->text(1));
    }

    // Graduates' data is typed only with the graduate right.
    void graduateFieldsNeedTheRight() {
        for (const char* user : {"admin", "xuesheng"}) {
            auto dm = testing::startedModule(
                m_server, m_dir.filePath(QStringLiteral("%1.ini").arg(QLatin1String(user))),
                QString::fromLatin1(user));
            QVERIFY(dm);
            auto f = frameOn(false, 0, dm.get());
            auto* unit =
                qobject_cast<QLineEdit*>(f->frame->currentPanel()->editor(QStringLiteral("QianYueDW")));
            QVERIFY(unit);
            QCOMPARE(unit->isReadOnly(), qstrcmp(user, "xuesheng") == 0);
        }
    }

    // The question mark: probation over at 366 days (not for full members),
    // pre-review over at 123 days. Today is 2026-07-10.
    void overdueMarks() {
        auto f = frameOn(false, 0);
        const QString branch = f->frame->branchId();
        const struct {
            const char* id;
            const char* type;
            const char* date;
            bool candidate;
            bool marked;
        } people[] = {
            {"X01-990001", "预备", "2025-07-09", false, true},
            {"X01-990002", "预备", "2025-07-10", false, false},
            {"X01-990003", "正式", "2020-01-01", false, false},
            {"X01-990004", "预审", "2026-03-09", true, true},
            {"X01-990005", "预审", "2026-03-10", true, false},
        };
        for (const auto& p : people) {
            QVERIFY(m_server.exec(
                QStringLiteral("Insert into Stud_DYInfo (DY_ID,Name,DangYuanLX,RuDangRQ) VALUES "
                               "('%1','T%4','%2',%3)")
                    .arg(QLatin1String(p.id), QString::fromUtf8(p.type),
                         p.candidate ? QStringLiteral("NULL")
                                     : QStringLiteral("'%1'").arg(QLatin1String(p.date)),
                         QLatin1String(p.id).mid(4))));
            QVERIFY(m_server.exec(
                p.candidate
                    ? QStringLiteral(
                          "Insert into Stud_YuSen (DY_ID,DZZ_ID,DZB_ID,YuSenRQ) VALUES ('%1','01','%2','%3')")
                          .arg(QLatin1String(p.id), branch, QLatin1String(p.date))
                    : QStringLiteral("Insert into Stud_XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES "
                                     "('%1','01','%2',99)")
                          .arg(QLatin1String(p.id), branch)));
        }
        f->frame->FrameShow();
        for (const auto& p : people) {
            QTreeWidget* list = f->frame->list(p.candidate ? PreReview : Current);
            const QList<QTreeWidgetItem*> rows = list->findItems(QLatin1String(p.id), Qt::MatchExactly, 0);
            QCOMPARE(rows.size(), 1);
            QVERIFY2(rows[0]->data(0, Qt::UserRole).toBool() == p.marked, p.id);
        }
        for (const char* table : {"Stud_XianYou", "Stud_YuSen", "Stud_DYInfo"})
            QVERIFY(m_server.exec(
                QStringLiteral("Delete from %1 where DY_ID like 'X01-9900%'").arg(QLatin1String(table))));
    }

    // The member pages, to look at (CORVEXA_SCREENSHOTS=DIR).
    void screenshots() {
        const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS");
        if (shots.isEmpty()) QSKIP("CORVEXA_SCREENSHOTS not set");
        auto f = frameOn(false, 0);
        f->frame->resize(1100, 600);
        f->frame->show();
        for (int page = 0; page < 5; ++page) {
            f->frame->openPage(page);
            QTest::qWait(20);
            QVERIFY(f->frame->grab().save(shots + QStringLiteral("/member%1.png").arg(page)));
        }
    }
};

QTEST_MAIN(TestMemberFrame)
#include "tst_memberframe.moc"
