// Branch maintenance in the student and staff trees against a real server:
// new branches and their numbers, the delete rules and their questions, and
// moving a branch with the renumbering that survives a restart. The staff
// tree runs the same cases through its own data.
#include "data/datamodule.h"
#include "data/services.h"
#include "loggedinmodule.h"
#include "org/branchtree.h"
#include "org/dlgdzb.h"

#include <QLineEdit>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {
const BranchPopulation& population(bool staff) {
    return staff ? kStaffBranches : kStudentBranches;
}
} // namespace

class TestBranches : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;

    std::unique_ptr<TDM> startedModule() {
        return testing::startedModule(m_server, m_dir.filePath(QStringLiteral("s.ini")),
                                      QStringLiteral("jingguan"));
    }
    static QStringList branchNames(QTreeWidget& tree) {
        QStringList out;
        QTreeWidgetItem* root = tree.topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            out << root->child(i)->text(0);
        return out;
    }
    static QTreeWidgetItem* branchNode(QTreeWidget& tree, const QString& id) {
        QTreeWidgetItem* root = tree.topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (nodeOf(root->child(i)).NodeID == id) return root->child(i);
        return nullptr;
    }
    // A new branch named name through the dialog; its number.
    static QString addBranch(TBranchTree& branches, const QString& name, bool accept = true) {
        QString id;
        branches.execDialog = [&](TDlgDZB& dialog) {
            id = dialog.edtID->text();
            if (!accept) return int(QDialog::Rejected);
            dialog.edtName->setText(name);
            emit dialog.edtName->textEdited(name); // as if typed
            dialog.accept();
            return dialog.result();
        };
        branches.newBranch();
        return id;
    }

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        QVERIFY2(m_server.start({}, &error, 0), qPrintable(error));
    }
    void init() { m_messages.clear(); }

    void population_data() {
        QTest::addColumn<bool>("staff");
        QTest::newRow("students") << false;
        QTest::newRow("staff") << true;
    }

    // A cancelled number is not given back; the stored branch is the last node.
    void newBranchNumbers_data() { population_data(); }
    void newBranchNumbers() {
        QFETCH(bool, staff);
        auto dm = startedModule();
        QVERIFY(dm);
        BranchTreeWidget widget(population(staff).dragTag);
        TBranchTree branches(*dm, &widget, population(staff));
        branches.build();
        const int before = branches.branches().rowCount();
        const QString cancelled = addBranch(branches, {}, false);
        const QString stored = addBranch(branches, QStringLiteral("新建支部"));
        const QString prefix = QString::fromLatin1(staff ? "G02-" : "S02-");
        QVERIFY2(cancelled.startsWith(prefix), qPrintable(cancelled));
        QCOMPARE(stored.right(4).toInt(), cancelled.right(4).toInt() + 1);
        QCOMPARE(branches.branches().rowCount(), before + 1);
        QCOMPARE(branchNames(widget).last(), QStringLiteral("新建支部"));
        const QString table = QString::fromLatin1(staff ? "DZB_ZG" : "DZB_XS");
        QCOMPARE(
            m_server.scalar(QStringLiteral("Select ZB_Index from %1 where ZB_ID='%2'").arg(table, stored)),
            QString::number(before + 2)); // after the root and every branch
        QCOMPARE(
            m_server.scalar(QStringLiteral("Select Count(*) from %1 where ZB_ID='%2'").arg(table, cancelled)),
            QStringLiteral("0"));
    }

    // An empty name keeps the dialog open with the record set's reason.
    void nameIsRequired() {
        auto dm = startedModule();
        BranchTreeWidget widget(0);
        TBranchTree branches(*dm, &widget, kStudentBranches);
        branches.build();
        bool stayedOpen = false;
        branches.execDialog = [&](TDlgDZB& dialog) {
            dialog.edtName->clear();
            dialog.accept();
            stayedOpen = dialog.result() != QDialog::Accepted;
            return int(QDialog::Rejected);
        };
        QVERIFY(!branches.newBranch());
        QVERIFY(stayedOpen);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().at(0).kind, MessageKind::Error);
        QVERIFY(!branches.branches().isEditing());
    }

    // The four counts decide: members or candidates forbid, journal rows ask.
    void deleteRules_data() {
        QTest::addColumn<bool>("staff");
        QTest::addColumn<QString>("category"); // "" none, else the table of two rows
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("question");
        QTest::newRow("students, empty") << false << "" << 0 << true << "";
        QTest::newRow("students, two added, yes")
            << false << "XinZen" << int(MessageAnswer::Yes) << true << "0/0/2/0";
        QTest::newRow("students, two added, no")
            << false << "XinZen" << int(MessageAnswer::No) << false << "0/0/2/0";
        QTest::newRow("students, members") << false << "XianYou" << 0 << false << "info";
        QTest::newRow("staff, two left, yes")
            << true << "JianSao" << int(MessageAnswer::Yes) << true << "0/0/0/2";
        QTest::newRow("staff, candidates") << true << "YuSen" << 0 << false << "info";
    }
    void deleteRules() {
        QFETCH(bool, staff);
        QFETCH(QString, category);
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        QFETCH(QString, question);
        auto dm = startedModule();
        BranchTreeWidget widget(population(staff).dragTag);
        TBranchTree branches(*dm, &widget, population(staff));
        branches.build();
        const QString id = addBranch(branches, QStringLiteral("待删支部"));
        const QString p = QString::fromLatin1(staff ? "Staff_" : "Stud_");
        const QString table = QString::fromLatin1(staff ? "DZB_ZG" : "DZB_XS");
        for (int i = 1; !category.isEmpty() && i <= 2; ++i) {
            const QString dy = QString::fromLatin1(staff ? "Z02-9%1" : "X02-9%1").arg(i, 5, 10, QChar(u'0'));
            QString columns = QStringLiteral("DY_ID,DZZ_ID,DZB_ID");
            QString values = QStringLiteral("'%1','02','%2'").arg(dy, id);
            if (category == u"XinZen" || category == u"JianSao") {
                columns += QStringLiteral(",%1RQ,%1LX").arg(category);
                values += QStringLiteral(",'2026-03-01','试验'");
            } else if (category == u"YuSen") {
                columns += QStringLiteral(",YuSenRQ");
                values += QStringLiteral(",'2026-03-01'");
            }
            QString error;
            QVERIFY2(
                m_server.exec(
                    QStringLiteral("Insert into %1%2 (%3) VALUES (%4)").arg(p, category, columns, values),
                    &error),
                qPrintable(error));
        }
        widget.setCurrentItem(branchNode(widget, id));
        m_messages.script({MessageAnswer(answer)});
        QCOMPARE(branches.deleteBranch(), deleted);
        QCOMPARE(branchNode(widget, id) == nullptr, deleted);
        QCOMPARE(m_server.scalar(QStringLiteral("Select Count(*) from %1 where ZB_ID='%2'").arg(table, id)),
                 deleted ? QStringLiteral("0") : QStringLiteral("1"));
        if (question.isEmpty()) {
            QVERIFY(m_messages.shown().isEmpty());
        } else if (question == u"info") {
            QCOMPARE(m_messages.shown().size(), 1);
            QCOMPARE(m_messages.shown().at(0).kind, MessageKind::Info);
            QVERIFY(m_messages.shown().at(0).text.endsWith(QStringLiteral("不能删除该支部！")));
        } else {
            const QStringList n = question.split(u'/');
            QCOMPARE(m_messages.shown().size(), 1);
            QCOMPARE(m_messages.shown().at(0).kind, MessageKind::Delete);
            QVERIFY(m_messages.shown().at(0).text.startsWith(
                QStringLiteral(
                    "该支部还有如下数据记录：\n\n现有党员人数：%1\n预审党员人数：%2\n新增党员人数：%3\n"
                    "减少党员人数：%4\n\n如果这些新增或减少记录是试验性的")
                    .arg(n[0], n[1], n[2], n[3])));
            QVERIFY(m_messages.shown().at(0).text.endsWith(QStringLiteral("是否删确认除该支部： 待删支部")));
        }
        if (!category.isEmpty())
            QVERIFY(m_server.exec(QStringLiteral("Delete from %1%2 where DZB_ID='%3'").arg(p, category, id)));
        if (!deleted)
            QVERIFY(m_server.exec(QStringLiteral("Delete from %1 where ZB_ID='%2'").arg(table, id)));
    }

    // The fourth branch moved before the first: ZB_Index 2, 3, 4, 5 in the new
    // order, and the same order after a restart. Drops on nothing, the root or
    // the branch itself are refused with their messages.
    void moveBranch_data() { population_data(); }
    void moveBranch() {
        QFETCH(bool, staff);
        QStringList moved;
        {
            auto dm = startedModule();
            BranchTreeWidget widget(population(staff).dragTag);
            TBranchTree branches(*dm, &widget, population(staff));
            branches.build();
            while (branches.branches().rowCount() < 4)
                addBranch(branches, QStringLiteral("补充支部%1").arg(branches.branches().rowCount()));
            QTreeWidgetItem* root = widget.topLevelItem(0);
            QTreeWidgetItem* fourth = root->child(3);
            widget.setCurrentItem(fourth);
            branches.moveBranch(fourth, nullptr);
            branches.moveBranch(fourth, root);
            branches.moveBranch(fourth, fourth);
            QCOMPARE(m_messages.shown().size(), 3);
            QCOMPARE(m_messages.shown().at(0).text, QStringLiteral("未选中任何目标节点，不能移动党支部。"));
            QCOMPARE(m_messages.shown().at(1).text, QStringLiteral("只能在支部节点之间移动。"));
            QCOMPARE(m_messages.shown().at(2).text, QStringLiteral("目标党支部就是当前的党支部，无需移动。"));
            const QString fourthName = fourth->text(0);
            branches.moveBranch(fourth, root->child(0));
            moved = branchNames(widget);
            QCOMPARE(moved.first(), fourthName);
            QCOMPARE(widget.currentItem()->text(0), fourthName);
            QCOMPARE(widget.currentItem()->parent(), root);
        }
        auto dm = startedModule();
        BranchTreeWidget widget(population(staff).dragTag);
        TBranchTree branches(*dm, &widget, population(staff));
        branches.build();
        QCOMPARE(branchNames(widget), moved);
        RecordSet& set = branches.branches();
        for (int row = 0; row < set.rowCount(); ++row)
            QCOMPARE(set.value(row, set.fieldIndex(u"ZB_Index")).toInt(), row + 2);
    }
};

QTEST_MAIN(TestBranches)
#include "tst_branches.moc"
