// The member operations against a real server with the demo records: what
// each one stores, what it refuses, and that a failed transaction leaves the
// server and the lists as they were. The staff frame runs the same cases
// through its own data.
#include "data/services.h"
#include "loggedinmodule.h"
#include "memberframefixture.h"
#include "members/branchpage.h"
#include "members/dlgchangezb.h"
#include "members/dlggetshuji.h"
#include "members/dlgjiansaody.h"
#include "members/dlgyubei.h"
#include "members/memberentry.h"
#include "members/memberoperations.h"
#include "transfer/dlghuizhi.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QToolButton>
#include <QtTest>
#include <deque>

using namespace corvexa;
using namespace corvexa::client;

namespace {
QStringList captions(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}
void select(QTreeWidget* list, const QList<int>& rows) {
    list->clearSelection();
    for (int r : rows) {
        list->setCurrentItem(list->topLevelItem(r), 0, QItemSelectionModel::NoUpdate);
        list->topLevelItem(r)->setSelected(true);
    }
}
Value day(const char* text) {
    return Value::fromDateTime(QDate::fromString(QLatin1String(text), Qt::ISODate).startOfDay());
}
} // namespace

class TestMemberOperations : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;
    // The dialogs' answers, in turn: each fills its dialog and says OK or not.
    std::deque<std::function<int(QDialog&)>> m_answers;
    int m_dialogsShown = 0;

    std::unique_ptr<testing::MemberFrameOnBranch> frameOn(bool staff, int branch) {
        auto f = testing::memberFrameOn(*m_dm, staff, branch);
        // The lists' models stay sound through every operation.
        for (int c : {Current, PreReview, Added, Decreased})
            f->watchers.push_back(std::make_unique<QAbstractItemModelTester>(
                f->frame->list(c)->model(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        f->frame->operations().execDialog = [this](QDialog& dialog) {
            ++m_dialogsShown;
            if (m_answers.empty()) return int(QDialog::Rejected);
            auto answer = std::move(m_answers.front());
            m_answers.pop_front();
            return answer(dialog);
        };
        return f;
    }
    // Fills the dialog, then presses 确定: its own checks decide.
    void answerOk(std::function<void(QDialog&)> fill = {}) {
        m_answers.push_back([fill](QDialog& dialog) {
            if (fill) fill(dialog);
            dialog.setResult(QDialog::Rejected);
            dialog.accept();
            return dialog.result();
        });
    }
    void answerCancel() {
        m_answers.push_back([](QDialog&) { return int(QDialog::Rejected); });
    }
    QString scalar(const QString& query) { return m_server.scalar(query); }
    int count(const QString& query) { return scalar(query).toInt(); }
    static QString table(bool staff, const char* name) {
        return QString::fromLatin1(staff ? "Staff_" : "Stud_") + QLatin1String(name);
    }
    QString lastMessage() const {
        return m_messages.shown().isEmpty() ? QString() : m_messages.shown().last().text;
    }
    // A candidate of the branch, straight into the database.
    void addCandidate(bool staff, const QString& id, const QString& branch, const QString& form = {}) {
        QVERIFY(m_server.exec(
            QStringLiteral("Insert into %1 (DY_ID,Name,DangYuanLX,ZYS_No) VALUES "
                           "('%2','候选%3','预审',%4)")
                .arg(table(staff, "DYInfo"), id, id.right(3),
                     form.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'%1'").arg(form))));
        QVERIFY(m_server.exec(
            QStringLiteral(
                "Insert into %1 (DY_ID,DZZ_ID,DZB_ID,YuSenRQ) VALUES ('%2','01','%3','2026-06-01')")
                .arg(table(staff, "YuSen"), id, branch)));
    }
    void dropPeople(const QString& likeId) {
        for (const char* t : {"DYInfo", "XianYou", "YuSen", "XinZen", "JianSao"})
            for (bool staff : {false, true})
                m_server.exec(
                    QStringLiteral("Delete from %1 where DY_ID like '%2'").arg(table(staff, t), likeId));
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
        m_answers.clear();
        m_dialogsShown = 0;
        m_messages.clear();
        m_messages.script({});
    }

    void population_data() {
        QTest::addColumn<bool>("staff");
        QTest::newRow("students") << false;
        QTest::newRow("staff") << true;
    }

    // A new member: two cancels give their number back, so the member stored
    // at last has the number the first attempt took; his record, his added
    // row and his roster row are stored together.
    void newMember_data() { population_data(); }
    void newMember() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        const int before = list->topLevelItemCount();
        select(list, {0});
        RecordSet& info = frame.infoSet(Current);
        const Value shownGraduation = staff ? Value() : info.value(u"BiYeRQ");
        QStringList offered;
        auto seeId = [&](QDialog&) { offered << info.value(u"DY_ID").text(); };
        m_answers.push_back([&](QDialog& d) {
            seeId(d);
            return int(QDialog::Rejected);
        });
        m_answers.push_back([&](QDialog& d) {
            seeId(d);
            return int(QDialog::Rejected);
        });
        frame.operations().newMember();
        frame.operations().newMember();
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0], offered[1]);
        QCOMPARE(info.value(u"DY_ID").text(),
                 list->topLevelItem(0)->text(0)); // the panel shows the row again

        // Incomplete data is refused and the dialog stays.
        m_answers.push_back([&](QDialog& d) {
            d.setResult(QDialog::Rejected);
            d.accept();
            return d.result();
        });
        frame.operations().newMember();
        QCOMPARE(lastMessage(), QStringLiteral("所有资料必须填写完整才可以保存!"));
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'")
                           .arg(table(staff, "DYInfo"), offered[0])),
                 0);

        RecordSet& added = frame.journalSet(Added);
        answerOk([&](QDialog& d) {
            auto& dialog = static_cast<MemberEntryDialog&>(d);
            QVERIFY(dialog.missingFields().contains(QStringLiteral("Name")));
            offered << info.value(u"DY_ID").text();
            if (!staff) QCOMPARE(info.value(u"BiYeRQ"), shownGraduation); // a classmate's defaults
            info.setText(u"Name", QStringLiteral("新党员"));
            info.setText(u"Sex", QStringLiteral("女"));
            info.setText(u"JiGuan", QStringLiteral("安徽合肥"));
            info.setValue(u"ChuShengRQ", day("2004-05-06"));
            info.setValue(u"RuDangRQ", day("2026-06-01"));
            info.setText(u"MinZhu", QStringLiteral("汉族"));
            info.setText(u"DangYuanLX", QStringLiteral("预备"));
            info.setText(u"XueLi", QStringLiteral("本科"));
            if (staff) {
                info.setValue(u"GongZuoRQ", day("2020-09-01"));
                for (const char* field : {"JiShuJB", "DangZhengJB"})
                    info.setText(QString::fromLatin1(field), QStringLiteral("无"));
                info.setText(u"ZhiYeZK", QStringLiteral("在职"));
                info.setText(u"ZhiYeLX", QStringLiteral("专任教师"));
            } else {
                info.setText(u"BanJi", QStringLiteral("计科1班"));
                info.setText(u"NianJi", QStringLiteral("2023"));
                info.setText(u"ZuanYe", QStringLiteral("计算机"));
                if (info.value(u"BiYeRQ").isNull()) info.setValue(u"BiYeRQ", day("2027-07-01"));
            }
            added.setText(u"XinZenLX", QStringLiteral("转入"));
            QVERIFY(dialog.missingFields().isEmpty());
        });
        frame.operations().newMember();
        QCOMPARE(offered.size(), 3);
        const QString id = offered[0];
        QCOMPARE(offered[2], id);
        QCOMPARE(
            scalar(QStringLiteral("Select Name from %1 where DY_ID='%2'").arg(table(staff, "DYInfo"), id)),
            QStringLiteral("新党员"));
        QCOMPARE(
            scalar(
                QStringLiteral("Select XinZenLX from %1 where DY_ID='%2'").arg(table(staff, "XinZen"), id)),
            QStringLiteral("转入"));
        QCOMPARE(scalar(QStringLiteral("Select DY_Index from %1 where DY_ID='%2' and DZB_ID='%3'")
                            .arg(table(staff, "XianYou"), id, frame.branchId())),
                 QString::number(before + 1));
        QCOMPARE(list->topLevelItemCount(), before + 1);
        QCOMPARE(list->currentItem()->text(0), id);
        QCOMPARE(list->selectedItems().size(), 1);
        QVERIFY(frame.isStale(Added));
        frame.openPage(1 + Added);
        QVERIFY(captions(frame.list(Added)).contains(id));
        dropPeople(id);
    }

    // A branch without members: empty lists, an empty panel; its first new
    // member graduates today unless told otherwise and heads the roster.
    void emptyBranch() {
        QVERIFY(m_server.exec(QStringLiteral(
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('XS0099','01',999,'空支部')")));
        RecordSet& branches = m_dm->set(u"CDS_XS_DZB");
        branches.close();
        branches.open();
        auto f = frameOn(false, branches.rowCount() - 1);
        TFrameDY& frame = *f->frame;
        QCOMPARE(frame.branchId(), QStringLiteral("XS0099"));
        for (int c : {Current, PreReview, Added, Decreased})
            QCOMPARE(frame.list(c)->topLevelItemCount(), 0);
        QCOMPARE(qobject_cast<QLineEdit*>(frame.panel(Current)->editor(QStringLiteral("Name")))->text(),
                 QString());
        RecordSet& info = frame.infoSet(Current);
        QString id;
        answerOk([&](QDialog&) {
            id = info.value(u"DY_ID").text();
            QCOMPARE(info.value(u"BiYeRQ"), Value::fromDateTime(m_clock.today().startOfDay()));
            QCOMPARE(info.value(u"BanJi"), Value());
            info.setText(u"Name", QStringLiteral("首位"));
            for (const char* field :
                 {"Sex", "JiGuan", "MinZhu", "DangYuanLX", "BanJi", "NianJi", "XueLi", "ZuanYe"})
                info.setText(QString::fromLatin1(field), QStringLiteral("值"));
            info.setValue(u"ChuShengRQ", day("2004-05-06"));
            info.setValue(u"RuDangRQ", day("2026-06-01"));
            frame.journalSet(Added).setText(u"XinZenLX", QStringLiteral("转入"));
        });
        frame.operations().newMember();
        QCOMPARE(scalar(QStringLiteral("Select DY_Index from Stud_XianYou where DY_ID='%1'").arg(id)),
                 QStringLiteral("1"));
        QCOMPARE(captions(frame.list(Current)), QStringList{id});
        dropPeople(id);
        QVERIFY(m_server.exec(QStringLiteral("Delete from DZB_XS where ZB_ID='XS0099'")));
        branches.close();
        branches.open();
    }

    // A failure inside the transaction: the server keeps nothing of it, the
    // list is as it was, and the sets do not pretend otherwise.
    void failedTransactionRollsBack() {
        auto f = frameOn(false, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        const QStringList rows = captions(list);
        RecordSet& info = frame.infoSet(Current);
        const int records = info.rowCount();
        // Someone else's roster row already holds the number the member will get.
        const QString id =
            m_dm->XSDYPrefix + QStringLiteral("%1").arg(m_dm->XSDYNo.counter() + 1, 6, 10, QLatin1Char('0'));
        QVERIFY(m_server.exec(QStringLiteral("Insert into Stud_XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES "
                                             "('%1','01','%2',0)")
                                  .arg(id, frame.branchId())));
        answerOk([&](QDialog&) {
            RecordSet& added = frame.journalSet(Added);
            info.setText(u"Name", QStringLiteral("回滚"));
            for (const char* field :
                 {"Sex", "JiGuan", "MinZhu", "DangYuanLX", "BanJi", "NianJi", "XueLi", "ZuanYe"})
                info.setText(QString::fromLatin1(field), QStringLiteral("男"));
            info.setValue(u"ChuShengRQ", day("2004-05-06"));
            info.setValue(u"RuDangRQ", day("2026-06-01"));
            info.setValue(u"BiYeRQ", day("2027-07-01"));
            added.setText(u"XinZenLX", QStringLiteral("转入"));
        });
        frame.operations().newMember();
        QCOMPARE(m_messages.shown().last().kind, MessageKind::TransError);
        QCOMPARE(count(QStringLiteral("Select Count(*) from Stud_DYInfo where DY_ID='%1'").arg(id)), 0);
        QCOMPARE(count(QStringLiteral("Select Count(*) from Stud_XinZen where DY_ID='%1'").arg(id)), 0);
        QCOMPARE(captions(list), rows);
        QCOMPARE(info.rowCount(), records);
        QVERIFY(!info.hasChanges());
        QVERIFY(!frame.journalSet(Added).hasChanges());
        dropPeople(id);
    }

    // A save the server refuses while the selection moves: the failure is
    // shown, the selection stays, and the typed change stays to be sent.
    void failedSaveKeepsTheSelection() {
        auto f = frameOn(false, 2);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        QVERIFY(list->topLevelItemCount() >= 3);
        select(list, {1});
        const QString id = list->topLevelItem(1)->text(0);
        auto* phone = qobject_cast<QLineEdit*>(frame.panel(Current)->editor(QStringLiteral("LX_TEL")));
        phone->setText(QStringLiteral("0551-1111111"));
        emit phone->textEdited(phone->text());
        QVERIFY(m_server.exec(QStringLiteral("Delete from Stud_DYInfo where DY_ID='%1'").arg(id)));
        list->setCurrentItem(list->topLevelItem(2));
        QCOMPARE(m_messages.shown().last().kind, MessageKind::Failure);
        QCOMPARE(list->currentItem()->text(0), id);
        QVERIFY(frame.infoSet(Current).hasChanges());
        QCOMPARE(frame.infoSet(Current).value(u"LX_TEL").text(), QStringLiteral("0551-1111111"));
    }

    // Students: a branch with 20 candidates takes one more, with 21 none;
    // staff have no limit.
    void candidateLimit_data() {
        QTest::addColumn<bool>("staff");
        QTest::addColumn<int>("candidates");
        QTest::addColumn<bool>("refused");
        QTest::newRow("students 20") << false << 20 << false;
        QTest::newRow("students 21") << false << 21 << true;
        QTest::newRow("staff 21") << true << 21 << false;
    }
    void candidateLimit() {
        QFETCH(bool, staff);
        QFETCH(int, candidates);
        QFETCH(bool, refused);
        auto f = frameOn(staff, 1);
        const QString branch = f->frame->branchId();
        const int present = count(
            QStringLiteral("Select Count(*) from %1 where DZB_ID='%2'").arg(table(staff, "YuSen"), branch));
        QVERIFY(present <= candidates);
        for (int i = present; i < candidates; ++i)
            addCandidate(staff,
                         QStringLiteral("%1-LIM%2")
                             .arg(QLatin1String(staff ? "Z01" : "X01"))
                             .arg(i, 3, 10, QLatin1Char('0')),
                         branch);
        f->frame->FrameShow();
        answerCancel();
        f->frame->operations().newCandidate();
        QCOMPARE(m_dialogsShown, refused ? 0 : 1);
        if (refused)
            QCOMPARE(lastMessage(),
                     f->frame->branchName() + QStringLiteral(" 的预审人数已经超过 20人,不能再继续新增！"));
        dropPeople(QStringLiteral("%_01-LIM%"));
    }

    // A new candidate is stored with his pre-review row; students' start as "预审".
    void newCandidate_data() { population_data(); }
    void newCandidate() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        RecordSet& info = frame.infoSet(PreReview);
        QString id;
        answerOk([&](QDialog& d) {
            id = info.value(u"DY_ID").text();
            QCOMPARE(info.value(u"DangYuanLX").text(), staff ? QString() : QStringLiteral("预审"));
            QCOMPARE(frame.journalSet(PreReview).value(u"YuSenRQ"),
                     Value::fromDateTime(m_clock.today().startOfDay()));
            const auto& entry = static_cast<MemberEntryDialog&>(d);
            for (const QString& missing : entry.missingFields()) {
                RecordSet& set = *entry.panel()->setOf(missing);
                const QString field = panelFieldName(missing);
                if (set.field(set.fieldIndex(field)).type == FieldType::DateTime)
                    set.setValue(field, day("2001-01-01"));
                else
                    set.setText(field,
                                field == u"DangYuanLX" ? QStringLiteral("预审") : QStringLiteral("值"));
            }
        });
        frame.operations().newCandidate();
        QVERIFY(!id.isEmpty());
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2' and DZB_ID='%3'")
                           .arg(table(staff, "YuSen"), id, frame.branchId())),
                 1);
        QCOMPARE(frame.list(PreReview)->currentItem()->text(0), id);
        dropPeople(id);
    }

    // Candidates with an application form are not deleted; the others go
    // with their records.
    void deleteCandidates() {
        auto f = frameOn(false, 2);
        TFrameDY& frame = *f->frame;
        const QString branch = frame.branchId();
        addCandidate(false, QStringLiteral("X01-DEL001"), branch);
        addCandidate(false, QStringLiteral("X01-DEL002"), branch, QStringLiteral("ZYS-7"));
        addCandidate(false, QStringLiteral("X01-DEL003"), branch);
        frame.FrameShow();
        QTreeWidget* list = frame.list(PreReview);
        const QStringList ids = captions(list);
        QList<int> rows;
        for (const char* id : {"X01-DEL001", "X01-DEL002", "X01-DEL003"})
            rows << int(ids.indexOf(QLatin1String(id)));
        list->clearSelection();
        frame.operations().deleteCandidates();
        QCOMPARE(lastMessage(), QStringLiteral("没有选中任何党员！"));
        select(list, rows);
        frame.operations().deleteCandidates();
        QCOMPARE(lastMessage(), QStringLiteral("要删除的预审党员中有已经发给入党志愿书的，不能删除！"));
        QCOMPARE(count(QStringLiteral("Select Count(*) from Stud_DYInfo where DY_ID like 'X01-DEL%'")), 3);
        select(list, {rows[0], rows[2]});
        m_messages.script({MessageAnswer::Yes});
        frame.operations().deleteCandidates();
        QCOMPARE(lastMessage(), QStringLiteral("2 名预审党员的记录已被成功删除！"));
        QCOMPARE(scalar(QStringLiteral("Select DY_ID from Stud_DYInfo where DY_ID like 'X01-DEL%'")),
                 QStringLiteral("X01-DEL002"));
        QCOMPARE(scalar(QStringLiteral("Select DY_ID from Stud_YuSen where DY_ID like 'X01-DEL%'")),
                 QStringLiteral("X01-DEL002"));
        QCOMPARE(list->topLevelItemCount(), ids.size() - 2);
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        dropPeople(QStringLiteral("X01-DEL%"));
    }

    // 转为预备: refused without an application form before any dialog; with
    // one the candidate becomes a probationary member of the branch.
    void toProbationary_data() { population_data(); }
    void toProbationary() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 2);
        TFrameDY& frame = *f->frame;
        const QString branch = frame.branchId();
        const QString without = staff ? QStringLiteral("Z01-PRB001") : QStringLiteral("X01-PRB001");
        const QString with = staff ? QStringLiteral("Z01-PRB002") : QStringLiteral("X01-PRB002");
        addCandidate(staff, without, branch);
        addCandidate(staff, with, branch, QStringLiteral("ZYS-9"));
        frame.FrameShow();
        QTreeWidget* list = frame.list(PreReview);
        select(list, {int(captions(list).indexOf(without))});
        frame.operations().toProbationary();
        QCOMPARE(lastMessage(), QStringLiteral("没有入党志愿书编号，不能转为预备！"));
        QCOMPARE(m_dialogsShown, 0);
        select(list, {int(captions(list).indexOf(with))});
        answerOk([](QDialog& d) {
            auto& dialog = static_cast<TDlgYuBei&>(d);
            QCOMPARE(dialog.edtName->text(), QStringLiteral("候选002"));
            dialog.edtRuDang->setDate(QDate(2026, 7, 1));
        });
        frame.operations().toProbationary();
        const QString info = table(staff, "DYInfo");
        QCOMPARE(scalar(QStringLiteral("Select DangYuanLX from %1 where DY_ID='%2'").arg(info, with)),
                 QStringLiteral("预备"));
        QVERIFY(scalar(QStringLiteral("Select RuDangRQ from %1 where DY_ID='%2'").arg(info, with))
                    .startsWith(u"2026-07-01"));
        QCOMPARE(
            count(
                QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(table(staff, "YuSen"), with)),
            0);
        QCOMPARE(
            scalar(
                QStringLiteral("Select XinZenLX from %1 where DY_ID='%2'").arg(table(staff, "XinZen"), with)),
            QStringLiteral("发展新党员"));
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2' and DZB_ID='%3'")
                           .arg(table(staff, "XianYou"), with, branch)),
                 1);
        QVERIFY(!captions(list).contains(with));
        QVERIFY(frame.isStale(Current) && frame.isStale(Added));
        frame.openPage(1 + Current);
        QVERIFY(captions(frame.list(Current)).contains(with));
        dropPeople(QStringLiteral("%_01-PRB%"));
    }

    // A decrease moves the selected members from the roster to the year's
    // decreased journal; an empty type stores nothing.
    void decrease_data() { population_data(); }
    void decrease() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 1);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        QVERIFY(list->topLevelItemCount() >= 3);
        const QStringList before = captions(list);
        const QString roster = table(staff, "XianYou");
        // Confirmed with nothing selected: nothing happens.
        list->clearSelection();
        answerOk();
        frame.operations().decrease();
        QCOMPARE(captions(list), before);
        // An empty type is refused by the journal and rolled back.
        select(list, {0});
        answerOk([](QDialog& d) { static_cast<TDlgJianSaoDY&>(d).cmbType->setCurrentIndex(-1); });
        frame.operations().decrease();
        QCOMPARE(m_messages.shown().last().kind, MessageKind::TransError);
        QCOMPARE(captions(list), before);
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(roster, before[0])), 1);

        select(list, {0, 2});
        QString type;
        answerOk([&](QDialog& d) {
            auto& dialog = static_cast<TDlgJianSaoDY&>(d);
            dialog.cmbType->setCurrentIndex(1);
            type = dialog.type();
            dialog.edtDate->setDate(QDate(2026, 7, 8));
        });
        frame.operations().decrease();
        QVERIFY(!type.isEmpty());
        for (const QString& id : {before[0], before[2]}) {
            QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(roster, id)), 0);
            QCOMPARE(scalar(QStringLiteral("Select JianSaoLX from %1 where DY_ID='%2'")
                                .arg(table(staff, "JianSao"), id)),
                     type);
            QVERIFY(!captions(list).contains(id));
        }
        QCOMPARE(list->topLevelItemCount(), before.size() - 2);
        QCOMPARE(frame.orderChanged(), !staff);
        QVERIFY(frame.isStale(Decreased));
        frame.openPage(1 + Decreased);
        QVERIFY(captions(frame.list(Decreased)).contains(before[0]));
    }

    // Moving to the own branch is refused with a word; to another branch of
    // the population it changes the roster row's branch.
    void moveWithinPopulation() {
        auto f = frameOn(false, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        select(list, {1});
        const QString id = list->topLevelItem(1)->text(0);
        auto choose = [this](int branch) {
            answerOk([branch](QDialog& d) {
                auto& dialog = static_cast<TDlgChangeZB&>(d);
                dialog.tvStudents->setCurrentItem(dialog.tvStudents->topLevelItem(0)->child(branch));
            });
        };
        choose(0);
        frame.operations().moveToBranch(Current);
        QCOMPARE(lastMessage(), QStringLiteral("选择的支部就是当前的支部，不必转换。"));
        QVERIFY(captions(list).contains(id));
        const QString target = nodeOf(f->tree.topLevelItem(0)->child(3)).NodeID;
        select(list, {1});
        choose(3);
        frame.operations().moveToBranch(Current);
        QCOMPARE(scalar(QStringLiteral("Select DZB_ID from Stud_XianYou where DY_ID='%1'").arg(id)), target);
        QVERIFY(!captions(list).contains(id));
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
    }

    // A member moved to a branch of the other population gets a record
    // there with a new identifier and his personal data; his old record
    // stays without a category row. A candidate keeps his pre-review date.
    void moveAcrossPopulations_data() {
        QTest::addColumn<bool>("staff");
        QTest::addColumn<int>("category");
        QTest::newRow("student member") << false << int(Current);
        QTest::newRow("staff member") << true << int(Current);
        QTest::newRow("student candidate") << false << int(PreReview);
    }
    void moveAcrossPopulations() {
        QFETCH(bool, staff);
        QFETCH(int, category);
        auto f = frameOn(staff, 1);
        TFrameDY& frame = *f->frame;
        if (category == PreReview) {
            addCandidate(staff, QStringLiteral("X01-CRS001"), frame.branchId(), QStringLiteral("ZYS-5"));
            frame.FrameShow();
        }
        QTreeWidget* list = frame.list(category);
        const int row = category == PreReview ? int(captions(list).indexOf(QStringLiteral("X01-CRS001"))) : 0;
        select(list, {row});
        const QString id = list->topLevelItem(row)->text(0);
        const QString name = list->topLevelItem(row)->text(1);
        const QString from = table(staff, "DYInfo"), to = table(!staff, "DYInfo");
        const QString born =
            scalar(QStringLiteral("Select ChuShengRQ from %1 where DY_ID='%2'").arg(from, id));
        QString target;
        answerOk([&](QDialog& d) {
            auto& dialog = static_cast<TDlgChangeZB&>(d);
            QTreeWidget* tree = staff ? dialog.tvStudents : dialog.tvStaff;
            dialog.openPage(!staff); // the other population's page
            QTreeWidgetItem* node = tree->topLevelItem(0)->child(0);
            target = nodeOf(node).NodeID;
            tree->setCurrentItem(node);
        });
        frame.operations().moveToBranch(category);
        QVERIFY(!target.isEmpty());
        const char* journal = category == PreReview ? "YuSen" : "XianYou";
        const QString newId =
            scalar(QStringLiteral("Select Max(B.DY_ID) from %1 A, %2 B where A.DY_ID=B.DY_ID and "
                                  "A.Name='%3' and B.DZB_ID='%4'")
                       .arg(to, table(!staff, journal), name, target));
        QVERIFY2(newId.startsWith(staff ? m_dm->XSDYPrefix : m_dm->ZGDYPrefix), qPrintable(newId));
        QCOMPARE(scalar(QStringLiteral("Select ChuShengRQ from %1 where DY_ID='%2'").arg(to, newId)), born);
        QCOMPARE(scalar(QStringLiteral("Select ZYS_No from %1 where DY_ID='%2'").arg(to, newId)), QString());
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(from, id)), 1);
        QCOMPARE(
            count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(table(staff, journal), id)),
            0);
        if (category == PreReview)
            QVERIFY(scalar(QStringLiteral("Select YuSenRQ from %1 where DY_ID='%2'")
                               .arg(table(!staff, "YuSen"), newId))
                        .startsWith(u"2026-06-01"));
        QVERIFY(!captions(list).contains(id));
        dropPeople(QStringLiteral("X01-CRS%"));
    }

    // Receipts signed and withdrawn for the selected decreased members.
    void receipts() {
        auto f = frameOn(false, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Decreased);
        QVERIFY(list->topLevelItemCount() >= 2);
        select(list, {0, 1});
        const int received = 25, date = 26;
        QCOMPARE(list->headerItem()->text(received), QStringLiteral("收到回执"));
        answerOk([](QDialog& d) {
            auto& dialog = static_cast<TDlgHuiZhi&>(d);
            dialog.rbReceived->setChecked(true);
            dialog.edtDate->setDate(QDate(2026, 7, 3));
        });
        frame.operations().signReceipts();
        for (int r : {0, 1}) {
            QCOMPARE(list->topLevelItem(r)->text(received), QStringLiteral("已收到"));
            QCOMPARE(list->topLevelItem(r)->text(date), QStringLiteral("2026-07-03"));
            QCOMPARE(scalar(QStringLiteral("Select HuiZhi from Stud_DYInfo where DY_ID='%1'")
                                .arg(list->topLevelItem(r)->text(0))),
                     QStringLiteral("true"));
        }
        answerOk([](QDialog& d) {
            auto& dialog = static_cast<TDlgHuiZhi&>(d);
            dialog.rbWithdrawn->setChecked(true);
            dialog.edtDate->setDate(QDate(2026, 7, 4));
        });
        frame.operations().signReceipts();
        const QString id = list->topLevelItem(0)->text(0);
        QCOMPARE(list->topLevelItem(0)->text(received), QString());
        QCOMPARE(list->topLevelItem(0)->text(date), QString());
        QCOMPARE(scalar(QStringLiteral("Select HuiZhi from Stud_DYInfo where DY_ID='%1'").arg(id)),
                 QStringLiteral("false"));
        QVERIFY(scalar(QStringLiteral("Select HuiZhiRQ from Stud_DYInfo where DY_ID='%1'").arg(id))
                    .startsWith(u"2026-07-04"));
    }

    // Deleting journal records: added rows go and the members stay current;
    // decreased members' records go.
    void deleteJournalRecords_data() { population_data(); }
    void deleteJournalRecords() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* added = frame.list(Added);
        QVERIFY(added->topLevelItemCount() >= 1);
        select(added, {0});
        const QString member = added->topLevelItem(0)->text(0);
        m_messages.script({MessageAnswer::No});
        frame.operations().deleteAdded();
        QCOMPARE(lastMessage(), QStringLiteral("确定要彻底删除这些记录吗？"));
        QVERIFY(captions(added).contains(member));
        m_messages.script({MessageAnswer::Yes});
        frame.operations().deleteAdded();
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'")
                           .arg(table(staff, "XinZen"), member)),
                 0);
        QCOMPARE(count(QStringLiteral("Select Count(*) from %1 where DY_ID='%2'")
                           .arg(table(staff, "DYInfo"), member)),
                 1);
        QVERIFY(!captions(added).contains(member));

        QTreeWidget* decreased = frame.list(Decreased);
        QVERIFY(decreased->topLevelItemCount() >= 1);
        select(decreased, {decreased->topLevelItemCount() - 1});
        const QString gone = decreased->topLevelItem(decreased->topLevelItemCount() - 1)->text(0);
        m_messages.script({MessageAnswer::Yes});
        frame.operations().deleteDecreased();
        QCOMPARE(m_messages.shown().last().text,
                 QString::fromUtf8(staff ? "请认真核对相关信息，确认是否删除？"
                                         : "请认真核对信息，确认是否删除？"));
        QCOMPARE(
            count(
                QStringLiteral("Select Count(*) from %1 where DY_ID='%2'").arg(table(staff, "DYInfo"), gone)),
            0);
        QVERIFY(!captions(decreased).contains(gone));
    }

    // The secretary is chosen among the current members and stored with the
    // branch page's 保存修改.
    void chooseSecretary() {
        auto f = frameOn(false, 0);
        TFrameDY& frame = *f->frame;
        QTreeWidget* list = frame.list(Current);
        const QString id = list->topLevelItem(1)->text(0), name = list->topLevelItem(1)->text(1);
        answerOk([&](QDialog& d) {
            auto& dialog = static_cast<TDlgGetShuJi&>(d);
            QCOMPARE(dialog.lvMembers->topLevelItemCount(), list->topLevelItemCount());
            const auto found = dialog.lvMembers->findItems(id, Qt::MatchExactly, 0);
            QCOMPARE(found.size(), 1);
            dialog.lvMembers->setCurrentItem(found.first());
        });
        frame.operations().chooseSecretary(true);
        QVERIFY(frame.branchPage()->actSave->isEnabled());
        QCOMPARE(frame.branchPage()->edit(QStringLiteral("ZB_FuShuJi"))->text(), name);
        QVERIFY(frame.branchPage()->save());
        QCOMPARE(
            scalar(QStringLiteral("Select ZB_FuShuJiID from DZB_XS where ZB_ID='%1'").arg(frame.branchId())),
            id);
    }

    // A dragged row takes the target's place; only one row at a time. The
    // order is stored by 保存位置顺序.
    void rosterOrder() {
        auto f = frameOn(false, 0);
        TFrameDY& frame = *f->frame;
        auto* roster = qobject_cast<RosterList*>(frame.list(Current));
        QVERIFY(roster && roster->topLevelItemCount() >= 4);
        QAction* reindex = frame.action(QStringLiteral("actXY_ReIndex"));
        QVERIFY(!reindex->isEnabled());
        const QStringList before = captions(roster);
        select(roster, {0, 1});
        QVERIFY(!roster->moveRow(roster->topLevelItem(0), roster->topLevelItem(3)));
        select(roster, {0});
        QVERIFY(roster->moveRow(roster->topLevelItem(0), roster->topLevelItem(3)));
        QStringList expected = before;
        expected.move(0, 2);
        QCOMPARE(captions(roster), expected);
        QCOMPARE(roster->currentItem()->text(0), before[0]);
        QVERIFY(reindex->isEnabled());
        reindex->trigger();
        QCOMPARE(lastMessage(), QStringLiteral("位置顺序已经成功保存！"));
        QVERIFY(!reindex->isEnabled());
        QCOMPARE(
            m_server.column(
                QStringLiteral("Select DY_ID from Stud_XianYou where DZB_ID='%1' order by DY_Index, DY_ID")
                    .arg(frame.branchId())),
            expected);
        frame.FrameShow();
        QCOMPARE(captions(roster), expected);
    }

    // The entry dialogs, to look at (CORVEXA_SCREENSHOTS=DIR).
    void screenshots() {
        const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS");
        if (shots.isEmpty()) QSKIP("CORVEXA_SCREENSHOTS not set");
        for (bool staff : {false, true}) {
            auto f = frameOn(staff, 0);
            select(f->frame->list(Current), {0});
            auto grab = [&](const char* name) {
                m_answers.push_back([=](QDialog& d) {
                    d.show();
                    QTest::qWait(20);
                    d.grab().save(shots + QStringLiteral("/%1_%2.png")
                                              .arg(QLatin1String(name), staff ? u"staff" : u"students"));
                    d.hide();
                    return int(QDialog::Rejected);
                });
            };
            grab("newmember");
            f->frame->operations().newMember();
            grab("newcandidate");
            f->frame->operations().newCandidate();
        }
    }

    // 详细信息 makes the current page's panel tall, 简略信息 short; the staff
    // frame opens short of tall.
    void panelSize_data() { population_data(); }
    void panelSize() {
        QFETCH(bool, staff);
        auto f = frameOn(staff, 0);
        const MemberPopulation& p = staff ? staffMembers() : studentMembers();
        f->frame->resize(1100, 800);
        f->frame->show();
        f->frame->openPage(1 + Current);
        QSplitter* split = f->frame->splitter(Current);
        QToolButton* button = f->frame->panelSizeButton();
        QCOMPARE(button->text(), QStringLiteral("详细信息"));
        QCOMPARE(split->sizes().value(0), p.panelOpen);
        button->click();
        QCOMPARE(split->sizes().value(0), p.panelTall);
        QCOMPARE(button->text(), QStringLiteral("简略信息"));
        button->click();
        QCOMPARE(split->sizes().value(0), p.panelShort);
        QCOMPARE(button->text(), QStringLiteral("详细信息"));
    }
};

QTEST_MAIN(TestMemberOperations)
#include "tst_memberoperations.moc"
