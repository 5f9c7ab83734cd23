// The small dialogs of the member operations: what each refuses (the dialog
// stays open with its message) and what each hands back; the change-branch
// trees against a real server with the demo records; the secretary list's
// sort directions, which outlive the dialog.
#include "data/datamodule.h"
#include "data/recordset.h"
#include "data/services.h"
#include "loggedinmodule.h"
#include "members/dlgchangezb.h"
#include "members/dlggetshuji.h"
#include "members/dlgjiansaody.h"
#include "members/dlgyubei.h"
#include "org/branchtree.h"
#include "transfer/dlghuizhi.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using namespace corvexa;
using namespace corvexa::client;

namespace {
// exec() answer of a dialog that was still open after the scripted action.
constexpr int kStayedOpen = -1;

// Runs the dialog modally and does action once it shows; a dialog the action
// did not close is closed with kStayedOpen, so a refusal cannot hang the test.
int execWith(QDialog& dialog, const std::function<void()>& action) {
    QTimer::singleShot(0, &dialog, [&] {
        action();
        if (dialog.isVisible()) dialog.done(kStayedOpen);
    });
    return dialog.exec();
}

QPushButton* button(QDialog& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Clicks "确定" (or the given caption) once the dialog shows.
int confirm(QDialog& dialog, const std::function<void()>& before = {},
            const QString& ok = QStringLiteral("确定")) {
    return execWith(dialog, [&] {
        if (before) before();
        QPushButton* b = button(dialog, ok);
        QVERIFY(b);
        b->click();
    });
}

QStringList childTexts(QTreeWidgetItem* root) {
    QStringList out;
    for (int i = 0; i < root->childCount(); ++i)
        out << root->child(i)->text(0);
    return out;
}

QStringList columnTexts(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

void selectOnly(QTreeWidget* tree, QTreeWidgetItem* item) {
    tree->clearSelection();
    if (item) item->setSelected(true);
}

// The change-branch dialog set up for a refusal or an answer.
using ChangeZBSetUp = std::function<void(TDlgChangeZB&)>;
} // namespace
Q_DECLARE_METATYPE(ChangeZBSetUp)

class TestMemberDialogs : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;

    void expectOneMessage(MessageKind kind, const QString& text) {
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().first().kind, kind);
        QCOMPARE(m_messages.shown().first().text, text);
    }

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
    void init() {
        m_messages.clear();
        m_clock.setToday(QDate(2026, 7, 10));
    }

    void yuBeiRefusesBlankName_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("   ");
    }
    void yuBeiRefusesBlankName() {
        QFETCH(QString, name);
        TDlgYuBei dialog(name);
        QCOMPARE(confirm(dialog), kStayedOpen);
        expectOneMessage(MessageKind::Warning, QStringLiteral("姓名不能为空！请重新输入"));
    }

    // The name cannot be changed; the joining date starts at today.
    void yuBeiReturnsJoinDate() {
        TDlgYuBei dialog(QStringLiteral("张三"));
        QVERIFY(dialog.edtName->isReadOnly());
        QCOMPARE(dialog.edtName->text(), QStringLiteral("张三"));
        QCOMPARE(dialog.joinDate(), QDate(2026, 7, 10));
        QCOMPARE(confirm(dialog, [&] { dialog.edtRuDang->setDate(QDate(2026, 6, 30)); }),
                 int(QDialog::Accepted));
        QCOMPARE(dialog.joinDate(), QDate(2026, 6, 30));
        QVERIFY(m_messages.shown().isEmpty());
    }

    // The types come from the code table; nothing is chosen until the user
    // picks, and a kept dialog offers the last choice again, with the date
    // of its first day rather than the day of the later use.
    void jianSaoKeepsItsValues() {
        TDlgJianSaoDY dialog(*m_dm);
        QStringList types;
        for (int i = 0; i < dialog.cmbType->count(); ++i)
            types << dialog.cmbType->itemText(i);
        QCOMPARE(types, m_server.column(QStringLiteral("Select JSLX from Code_JianSaoLX order by JSLX_ID")));
        QCOMPARE(dialog.type(), QString());
        QCOMPARE(dialog.date(), QDate(2026, 7, 10));
        QCOMPARE(confirm(dialog,
                         [&] {
                             dialog.cmbType->setCurrentText(QStringLiteral("死亡"));
                             dialog.edtDate->setDate(QDate(2026, 7, 1));
                         }),
                 int(QDialog::Accepted));
        QCOMPARE(dialog.type(), QStringLiteral("死亡"));
        QCOMPARE(dialog.date(), QDate(2026, 7, 1));
        m_clock.setToday(QDate(2026, 7, 11));
        QCOMPARE(confirm(dialog), int(QDialog::Accepted));
        QCOMPARE(dialog.type(), QStringLiteral("死亡"));
        QCOMPARE(dialog.date(), QDate(2026, 7, 1));
    }

    // Each page: the organization as expanded root, its branches below in
    // the branch set's order, with the population's node type.
    void changeZBTrees_data() {
        QTest::addColumn<bool>("staff");
        QTest::newRow("students") << false;
        QTest::newRow("staff") << true;
    }
    void changeZBTrees() {
        QFETCH(bool, staff);
        TDlgChangeZB dialog(*m_dm);
        QTreeWidget* tree = staff ? dialog.tvStaff : dialog.tvStudents;
        QAbstractItemModelTester tester(tree->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(dialog.pages->tabText(dialog.pages->indexOf(tree)),
                 staff ? QStringLiteral("职工支部") : QStringLiteral("学生支部"));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), m_dm->login.DZZ_Name);
        QVERIFY(root->isExpanded());
        QCOMPARE(nodeOf(root).NodeType, int(TDZZNode::Organization));
        QCOMPARE(nodeOf(root).NodeID, m_dm->login.DZZ_ID);
        const QString table = staff ? QStringLiteral("DZB_ZG") : QStringLiteral("DZB_XS");
        const QString order = QStringLiteral(" from %1 where DZZ_ID='%2' order by ZB_Index, ZB_ID")
                                  .arg(table, m_dm->login.DZZ_ID);
        const QStringList names = m_server.column(QStringLiteral("Select ZB_Name") + order);
        const QStringList ids = m_server.column(QStringLiteral("Select ZB_ID") + order);
        QVERIFY(names.size() > 1);
        QCOMPARE(childTexts(root), names);
        for (int i = 0; i < root->childCount(); ++i) {
            QCOMPARE(nodeOf(root->child(i)).NodeID, ids[i]);
            QCOMPARE(nodeOf(root->child(i)).NodeType,
                     int(staff ? TDZZNode::StaffBranch : TDZZNode::StudentBranch));
        }
    }

    // "确定" needs a branch of the page in front.
    void changeZBRefusals_data() {
        QTest::addColumn<ChangeZBSetUp>("setUp");
        QTest::newRow("nothing selected") << ChangeZBSetUp([](TDlgChangeZB& d) { d.openPage(false); });
        QTest::newRow("organization selected") << ChangeZBSetUp([](TDlgChangeZB& d) {
            d.openPage(true);
            selectOnly(d.tvStaff, d.tvStaff->topLevelItem(0));
        });
        QTest::newRow("branch on the other page") << ChangeZBSetUp([](TDlgChangeZB& d) {
            selectOnly(d.tvStudents, d.tvStudents->topLevelItem(0)->child(0));
            d.openPage(true);
        });
    }
    void changeZBRefusals() {
        QFETCH(ChangeZBSetUp, setUp);
        TDlgChangeZB dialog(*m_dm);
        QCOMPARE(confirm(dialog, [&] { setUp(dialog); }), kStayedOpen);
        expectOneMessage(MessageKind::Error, QStringLiteral("请选择一个支部"));
    }

    // The branch selected on the open page is the answer, whatever is
    // selected on the other page.
    void changeZBReturnsBranch_data() {
        QTest::addColumn<bool>("openStaff");
        QTest::addColumn<bool>("otherPageSelected");
        QTest::newRow("student branch") << false << false;
        QTest::newRow("staff branch") << true << false;
        QTest::newRow("student branch, staff selected too") << false << true;
        QTest::newRow("staff branch, student selected too") << true << true;
    }
    void changeZBReturnsBranch() {
        QFETCH(bool, openStaff);
        QFETCH(bool, otherPageSelected);
        TDlgChangeZB dialog(*m_dm);
        QTreeWidget* open = openStaff ? dialog.tvStaff : dialog.tvStudents;
        QTreeWidget* other = openStaff ? dialog.tvStudents : dialog.tvStaff;
        QTreeWidgetItem* chosen = open->topLevelItem(0)->child(1);
        QVERIFY(chosen);
        const int result = confirm(dialog, [&] {
            if (otherPageSelected) selectOnly(other, other->topLevelItem(0)->child(0));
            dialog.openPage(openStaff);
            selectOnly(open, chosen);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(dialog.nodeType(), int(openStaff ? TDZZNode::StaffBranch : TDZZNode::StudentBranch));
        QCOMPARE(dialog.nodeId(), nodeOf(chosen).NodeID);
        QVERIFY(m_messages.shown().isEmpty());
    }

    void getShuJiRefusesWithoutRow() {
        TDlgGetShuJi dialog;
        dialog.addMember(QStringLiteral("X01-000001"), QStringLiteral("张三"));
        QCOMPARE(confirm(dialog), kStayedOpen);
        expectOneMessage(MessageKind::Error, QStringLiteral("未选中任何党员！请重新选择或取消。"));
    }

    void getShuJiReturnsChosenRow() {
        TDlgGetShuJi dialog;
        dialog.addMember(QStringLiteral("X01-000001"), QStringLiteral("张三"));
        dialog.addMember(QStringLiteral("X01-000002"), QStringLiteral("李四"));
        QCOMPARE(confirm(dialog, [&] { selectOnly(dialog.lvMembers, dialog.lvMembers->topLevelItem(1)); }),
                 int(QDialog::Accepted));
        QCOMPARE(dialog.chosenId(), QStringLiteral("X01-000002"));
        QCOMPARE(dialog.chosenName(), QStringLiteral("李四"));
    }

    // Header clicks sort without regard to case; each column's direction
    // carries over to the next dialog, the first click sorting descending.
    void getShuJiSortDirectionsOutliveTheDialog() {
        auto fill = [](TDlgGetShuJi& dialog) {
            dialog.addMember(QStringLiteral("X01-000001"), QStringLiteral("Bob"));
            dialog.addMember(QStringLiteral("x01-000002"), QStringLiteral("alice"));
            dialog.addMember(QStringLiteral("X01-000003"), QStringLiteral("Carol"));
        };
        auto click = [](TDlgGetShuJi& dialog, int column) {
            emit dialog.lvMembers->header()->sectionClicked(column);
        };
        {
            TDlgGetShuJi first;
            QAbstractItemModelTester tester(first.lvMembers->model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
            QCOMPARE(first.lvMembers->headerItem()->text(0), QStringLiteral("党员编号"));
            QCOMPARE(first.lvMembers->headerItem()->text(1), QStringLiteral("党员姓名"));
            fill(first);
            click(first, 1);
            QCOMPARE(columnTexts(first.lvMembers, 1), QStringList({"Carol", "Bob", "alice"}));
        }
        TDlgGetShuJi second;
        fill(second);
        click(second, 1);
        QCOMPARE(columnTexts(second.lvMembers, 1), QStringList({"alice", "Bob", "Carol"}));
        click(second, 0); // never clicked before: descending
        QCOMPARE(columnTexts(second.lvMembers, 0), QStringList({"X01-000003", "x01-000002", "X01-000001"}));
        click(second, 0);
        QCOMPARE(columnTexts(second.lvMembers, 0), QStringList({"X01-000001", "x01-000002", "X01-000003"}));
    }

    // "收到回执" is chosen at open, the date is today; the two choices
    // exclude each other.
    void huiZhiAnswers_data() {
        QTest::addColumn<bool>("withdraw");
        QTest::newRow("received") << false;
        QTest::newRow("withdrawn") << true;
    }
    void huiZhiAnswers() {
        QFETCH(bool, withdraw);
        TDlgHuiZhi dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("党员组织关系转移回执签收"));
        QVERIFY(dialog.received());
        QCOMPARE(dialog.date(), QDate(2026, 7, 10));
        const int result = confirm(
            dialog,
            [&] {
                if (withdraw) dialog.rbWithdrawn->click();
                dialog.edtDate->setDate(QDate(2026, 7, 3));
            },
            QStringLiteral("确  定"));
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(dialog.received(), !withdraw);
        QCOMPARE(dialog.rbWithdrawn->isChecked(), withdraw);
        QCOMPARE(dialog.date(), QDate(2026, 7, 3));
    }

    void huiZhiCancels() {
        TDlgHuiZhi dialog;
        QCOMPARE(confirm(dialog, {}, QStringLiteral("取  消")), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestMemberDialogs)
#include "tst_memberdialogs.moc"
