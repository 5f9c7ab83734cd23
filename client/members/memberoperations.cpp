#include "memberoperations.h"

#include "branchpage.h"
#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "dlgchangezb.h"
#include "dlggetshuji.h"
#include "dlgjiansaody.h"
#include "dlgyubei.h"
#include "memberentry.h"
#include "memberframe.h"
#include "transfer/dlghuizhi.h"

#include <QDialog>
#include <algorithm>

namespace corvexa::client {

// The sets as they were before an operation changed them, to return to when
// the server did not store it.
class SetsBefore {
public:
    explicit SetsBefore(QList<RecordSet*> sets) : m_sets(std::move(sets)) {
        for (RecordSet* set : m_sets)
            m_before << set->snapshot();
    }
    void restore() {
        for (qsizetype i = 0; i < m_sets.size(); ++i)
            m_sets[i]->restore(m_before[i]);
    }

private:
    QList<RecordSet*> m_sets;
    QList<RecordSet::Snapshot> m_before;
};

namespace {
Value text(const QString& value) {
    return value.isEmpty() ? Value() : Value::fromText(value);
}
Value day(const QDate& date) {
    return date.isValid() ? Value::fromDateTime(date.startOfDay()) : Value();
}
// The fields a member takes into the other population's record.
const char* const kCrossFields[] = {"Name",      "Sex",        "JiGuan",   "MinZhu", "ChuShengRQ", "XueLi",
                                    "RuDangRQ",  "DangYuanLX", "SFZ_ID",   "LX_TEL", "LX_Mobile",  "LX_Mail",
                                    "isLiuDong", "LiuDongLX",  "LiuChuRQ", "LD_Memo"};
// "('a','b')" for a statement's IN.
QString idList(const QList<QTreeWidgetItem*>& rows) {
    QStringList ids;
    for (QTreeWidgetItem* row : rows)
        ids << TDM::quoted(row->text(0));
    return QLatin1Char('(') + ids.join(QLatin1Char(',')) + QLatin1Char(')');
}
} // namespace

MemberOperations::MemberOperations(TFrameDY& frame)
    : execDialog([](QDialog& dialog) { return dialog.exec(); }), m_frame(frame), m_dm(frame.dm()) {}

MemberOperations::~MemberOperations() = default;

QList<QTreeWidgetItem*> MemberOperations::selectedRows(int category) const {
    QTreeWidget* list = m_frame.list(category);
    QList<QTreeWidgetItem*> rows = list->selectedItems();
    std::sort(rows.begin(), rows.end(), [list](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return list->indexOfTopLevelItem(a) < list->indexOfTopLevelItem(b);
    });
    return rows;
}

bool MemberOperations::transaction(SetsBefore& before, const std::function<void()>& body) {
    if (m_dm.inTransaction(body)) return true;
    before.restore();
    return false;
}

void MemberOperations::storeOrRestore(SetsBefore& before, int category, const std::function<void()>& body) {
    try {
        body();
    } catch (...) {
        before.restore(); // what was not stored does not linger to go with a later save
        m_frame.followSelection(category);
        throw;
    }
}

void MemberOperations::appendCategoryRow(RecordSet& set, const QString& id, const QString& branchId) {
    set.append();
    set.setValue(u"DY_ID", Value::fromText(id));
    set.setValue(u"DZZ_ID", Value::fromText(m_dm.login.DZZ_ID));
    set.setValue(u"DZB_ID", Value::fromText(branchId));
}

void MemberOperations::deleteRows(int category, const QList<QTreeWidgetItem*>& rows) {
    QTreeWidget* list = m_frame.list(category);
    const QSignalBlocker block(list);
    for (QTreeWidgetItem* row : rows)
        delete row;
}

// Appends the new person's record, with defaults from the one shown (a new
// member is most often a classmate of his), and his category row dated today,
// then runs the entry dialog on them. Empty when it is cancelled: the records
// and the number are given back.
QString MemberOperations::enterNewPerson(int category, RecordSet& info, RecordSet& journal,
                                         const char* dateField, MemberEntryDialog& dialog) {
    const auto& population = m_frame.population();
    const QDate today = clock().today();
    const QString id = m_frame.memberPrefix() + m_frame.memberNumbers().NextNo(6);
    const bool nobodyShown = info.isEmpty();
    QList<Value> defaults;
    for (const QString& field : population.newDefaults)
        defaults << (nobodyShown ? Value() : info.value(field));
    info.append();
    info.setValue(u"DY_ID", Value::fromText(id));
    for (qsizetype i = 0; i < defaults.size(); ++i)
        info.setValue(population.newDefaults[i], defaults[i]);
    if (!population.newDefaults.isEmpty() && nobodyShown && info.fieldIndex(u"BiYeRQ") >= 0)
        info.setValue(u"BiYeRQ", day(today));
    if (category == Current) info.setValue(u"isLiuDong", Value::fromBool(false));
    if (category == PreReview && population.presetCandidateType)
        info.setValue(u"DangYuanLX", Value::fromText(QStringLiteral("预审")));
    appendCategoryRow(journal, id, m_frame.branchId());
    journal.setValue(QString::fromLatin1(dateField), day(today));
    dialog.openPage(population, info, journal);
    if (execDialog(dialog) == QDialog::Accepted) return id;
    info.cancel();
    journal.cancel();
    m_frame.memberNumbers().UndoNo();
    m_frame.followSelection(category);
    return {};
}

void MemberOperations::selectNewRow(int category, const QString& id) {
    QTreeWidget* list = m_frame.list(category);
    QTreeWidgetItem* row = m_frame.addListRow(category, id);
    list->clearSelection();
    list->setCurrentItem(row);
    row->setSelected(true);
}

void MemberOperations::newMember() {
    RecordSet& info = m_frame.infoSet(Current);
    RecordSet& added = m_frame.journalSet(Added);
    RecordSet& roster = m_frame.journalSet(Current);
    SetsBefore before({&info, &added, &roster});
    if (!m_newMember) m_newMember = new TDlgXinZenDY(m_dm, &m_frame);
    const QString id = enterNewPerson(Current, info, added, "XinZenRQ", *m_newMember);
    if (id.isEmpty()) return;
    const int rosterSize = m_frame.list(Current)->topLevelItemCount();
    const bool stored = transaction(before, [&] {
        info.post();
        added.post();
        TDM::applyOrRaise(info);
        TDM::applyOrRaise(added);
        appendCategoryRow(roster, id, m_frame.branchId());
        roster.setValue(u"DY_Index", Value::fromInt(rosterSize + 1));
        roster.post();
        TDM::applyOrRaise(roster);
    });
    if (!stored) {
        m_frame.followSelection(Current);
        return;
    }
    m_frame.markStale(Added);
    selectNewRow(Current, id);
}

void MemberOperations::newCandidate() {
    const auto& population = m_frame.population();
    RecordSet& info = m_frame.infoSet(PreReview);
    RecordSet& journal = m_frame.journalSet(PreReview);
    if (population.candidateLimit > 0 && journal.rowCount() > population.candidateLimit) {
        ShowError(m_frame.branchName() + QStringLiteral(" 的预审人数已经超过 ") +
                  QString::number(population.candidateLimit) + QStringLiteral("人,不能再继续新增！"));
        return;
    }
    SetsBefore before({&info, &journal});
    if (!m_newCandidate) m_newCandidate = new TDlgXinZenYS(m_dm, &m_frame);
    const QString id = enterNewPerson(PreReview, info, journal, "YuSenRQ", *m_newCandidate);
    if (id.isEmpty()) return;
    const bool stored = transaction(before, [&] {
        info.post();
        journal.post();
        TDM::applyOrRaise(info);
        TDM::applyOrRaise(journal);
    });
    if (!stored) {
        m_frame.followSelection(PreReview);
        return;
    }
    selectNewRow(PreReview, id);
}

void MemberOperations::deleteCandidates() {
    const QList<QTreeWidgetItem*> rows = selectedRows(PreReview);
    if (rows.isEmpty()) {
        ShowError(QStringLiteral("没有选中任何党员！"));
        return;
    }
    const auto& columns = m_frame.population().pages[PreReview].columns;
    const auto form = std::find_if(columns.begin(), columns.end(),
                                   [](const ListColumn& c) { return qstrcmp(c.field, "ZYS_No") == 0; });
    const int formColumn = int(form - columns.begin());
    for (QTreeWidgetItem* row : rows) {
        if (!row->text(formColumn).trimmed().isEmpty()) {
            ShowError(QStringLiteral("要删除的预审党员中有已经发给入党志愿书的，不能删除！"));
            return;
        }
    }
    if (AskDelete(QStringLiteral("这将删除没有通过预审的党员的个人资料！\n\n确定要删除吗?")) !=
        MessageAnswer::Yes)
        return;
    RecordSet& info = m_frame.infoSet(PreReview);
    RecordSet& journal = m_frame.journalSet(PreReview);
    SetsBefore before({&info, &journal});
    int count = 0;
    for (QTreeWidgetItem* row : rows) {
        const Value id = Value::fromText(row->text(0));
        if (info.locate(u"DY_ID", id)) info.remove();
        if (journal.locate(u"DY_ID", id)) journal.remove();
        ++count;
    }
    if (!transaction(before, [&] {
            TDM::applyOrRaise(info);
            TDM::applyOrRaise(journal);
        })) {
        m_frame.followSelection(PreReview);
        return;
    }
    deleteRows(PreReview, rows);
    ShowInfo(QString::number(count) + QStringLiteral(" 名预审党员的记录已被成功删除！"));
    m_frame.reselect(PreReview);
}

void MemberOperations::toProbationary() {
    const QList<QTreeWidgetItem*> rows = selectedRows(PreReview);
    if (rows.size() != 1) return;
    QTreeWidgetItem* row = rows.first();
    const QString id = row->text(0);
    RecordSet& info = m_frame.infoSet(PreReview);
    RecordSet& journal = m_frame.journalSet(PreReview);
    if (!info.locate(u"DY_ID", Value::fromText(id)) || info.value(u"ZYS_No").text().trimmed().isEmpty()) {
        ShowError(QStringLiteral("没有入党志愿书编号，不能转为预备！"));
        return;
    }
    TDlgYuBei dialog(row->text(1), &m_frame);
    if (execDialog(dialog) != QDialog::Accepted) return;
    const QDate joined = dialog.joinDate();
    RecordSet& added = m_frame.journalSet(Added);
    RecordSet& roster = m_frame.journalSet(Current);
    SetsBefore before({&info, &journal, &added, &roster});
    const bool stored = transaction(before, [&] {
        if (!info.locate(u"DY_ID", Value::fromText(id)))
            throw DataError(QStringLiteral("找不到党员 %1").arg(id));
        info.edit();
        info.setValue(u"RuDangRQ", day(joined));
        info.setValue(u"DangYuanLX", Value::fromText(QStringLiteral("预备")));
        info.post();
        TDM::applyOrRaise(info);
        if (journal.locate(u"DY_ID", Value::fromText(id))) journal.remove();
        TDM::applyOrRaise(journal);
        appendCategoryRow(added, id, m_frame.branchId());
        added.setValue(u"XinZenLX", Value::fromText(QStringLiteral("发展新党员")));
        added.setValue(u"XinZenRQ", day(clock().today()));
        added.post();
        TDM::applyOrRaise(added);
        appendCategoryRow(roster, id, m_frame.branchId());
        roster.post();
        TDM::applyOrRaise(roster);
    });
    if (!stored) {
        m_frame.followSelection(PreReview);
        return;
    }
    m_frame.markStale(Current);
    m_frame.markStale(Added);
    deleteRows(PreReview, rows);
    m_frame.reselect(PreReview);
}

void MemberOperations::decrease() {
    if (!m_decrease) m_decrease = new TDlgJianSaoDY(m_dm, &m_frame);
    if (execDialog(*m_decrease) != QDialog::Accepted) return;
    const QList<QTreeWidgetItem*> rows = selectedRows(Current);
    if (rows.isEmpty()) return;
    const Value type = text(m_decrease->type());
    const Value date = day(m_decrease->date());
    RecordSet& roster = m_frame.journalSet(Current);
    RecordSet& decreased = m_frame.journalSet(Decreased);
    SetsBefore before({&roster, &decreased});
    const bool stored = transaction(before, [&] {
        for (QTreeWidgetItem* row : rows) {
            const QString id = row->text(0);
            if (roster.locate(u"DY_ID", Value::fromText(id))) roster.remove();
            appendCategoryRow(decreased, id, m_frame.branchId());
            decreased.setValue(u"JianSaoLX", type);
            decreased.setValue(u"JianSaoRQ", date);
            decreased.post();
        }
        TDM::applyOrRaise(roster);
        TDM::applyOrRaise(decreased);
    });
    if (!stored) {
        m_frame.followSelection(Current);
        return;
    }
    m_frame.markStale(Decreased);
    deleteRows(Current, rows);
    if (m_frame.population().decreaseReorders) m_frame.setOrderChanged(true);
    m_frame.reselect(Current);
}

void MemberOperations::moveToBranch(int category) {
    if (!m_changeBranch) m_changeBranch = new TDlgChangeZB(m_dm, &m_frame);
    m_changeBranch->openPage(!m_frame.population().students());
    if (execDialog(*m_changeBranch) != QDialog::Accepted) return;
    const QString target = m_changeBranch->nodeId();
    if (m_changeBranch->nodeType() == m_frame.population().otherBranchType) {
        crossMove(category, target);
    } else if (target == m_frame.branchId()) {
        ShowInfo(QStringLiteral("选择的支部就是当前的支部，不必转换。"));
    } else {
        const QList<QTreeWidgetItem*> rows = selectedRows(category);
        RecordSet& journal = m_frame.journalSet(category);
        SetsBefore before({&journal});
        storeOrRestore(before, category, [&] {
            for (QTreeWidgetItem* row : rows) {
                if (!journal.locate(u"DY_ID", Value::fromText(row->text(0)))) continue;
                journal.edit();
                journal.setValue(u"DZB_ID", Value::fromText(target));
                journal.post();
            }
            TDM::applyOrRaise(journal);
        });
        deleteRows(category, rows);
    }
    m_frame.reselect(category);
}

// The member gets a record of the other population with a new identifier;
// his old record stays without a category row.
void MemberOperations::crossMove(int category, const QString& branchId) {
    const auto& population = m_frame.population();
    const QList<QTreeWidgetItem*> rows = selectedRows(category);
    RecordSet& info = m_frame.infoSet(category);
    RecordSet& journal = m_frame.journalSet(category);
    RecordSet& otherInfo = m_dm.set(QStringLiteral("CDS_%1_Info").arg(population.otherFamily(category)));
    RecordSet& otherList = m_dm.set(QStringLiteral("CDS_%1_List").arg(population.otherFamily(category)));
    TAutoIncNo& numbers = population.students() ? m_dm.ZGDYNo : m_dm.XSDYNo;
    const QString prefix = population.students() ? m_dm.ZGDYPrefix : m_dm.XSDYPrefix;
    auto openEmpty = [this](RecordSet& set) {
        if (set.isOpen()) return;
        set.setParam(QStringLiteral("ADZZ_ID"), m_dm.login.DZZ_ID);
        set.setParam(QStringLiteral("ADZB_ID"), QStringLiteral("-1"));
        set.open();
    };
    SetsBefore before({&journal, &otherInfo, &otherList});
    const bool stored = transaction(before, [&] {
        for (QTreeWidgetItem* row : rows) {
            const QString id = row->text(0);
            if (!info.locate(u"DY_ID", Value::fromText(id)))
                throw DataError(QStringLiteral("找不到党员 %1").arg(id));
            openEmpty(otherInfo);
            const QString newId = prefix + numbers.NextNo(6);
            otherInfo.append();
            otherInfo.setValue(u"DY_ID", Value::fromText(newId));
            for (const char* field : kCrossFields) {
                const QString name = QString::fromLatin1(field);
                if (info.fieldIndex(name) >= 0 && otherInfo.fieldIndex(name) >= 0)
                    otherInfo.setValue(name, info.value(name));
            }
            otherInfo.post();
            openEmpty(otherList);
            appendCategoryRow(otherList, newId, branchId);
            const bool candidate = otherList.fieldIndex(u"YuSenRQ") >= 0;
            const bool listed = journal.locate(u"DY_ID", Value::fromText(id));
            if (candidate) {
                // A candidate keeps the date of his pre-review.
                const Value since = listed ? journal.value(u"YuSenRQ") : Value();
                otherList.setValue(u"YuSenRQ", since.isNull() ? day(clock().today()) : since);
            }
            otherList.post();
            if (listed) journal.remove();
        }
        TDM::applyOrRaise(journal);
        TDM::applyOrRaise(otherInfo);
        TDM::applyOrRaise(otherList);
    });
    if (!stored) return;
    deleteRows(category, rows);
}

bool MemberOperations::deleteSelected(int category, const QString& table, const QString& question) {
    if (AskConfirm(question) != MessageAnswer::Yes) return false;
    const QList<QTreeWidgetItem*> rows = selectedRows(category);
    if (rows.isEmpty()) return false;
    m_dm.ExecSQL(m_dm.CDS_Temp(), QStringLiteral("Delete from %1 where DY_ID in ").arg(table) + idList(rows));
    deleteRows(category, rows);
    m_frame.reselect(category);
    return true;
}

// Every added-journal row of the members goes; they stay current members.
void MemberOperations::deleteAdded() {
    deleteSelected(Added, QLatin1String(m_frame.population().tablePrefix) + QStringLiteral("_XinZen"),
                   QStringLiteral("确定要彻底删除这些记录吗？"));
}

// The decreased members' records themselves go.
void MemberOperations::deleteDecreased() {
    deleteSelected(Decreased, QLatin1String(m_frame.population().tablePrefix) + QStringLiteral("_DYInfo"),
                   QString::fromUtf8(m_frame.population().deleteDecreasedQuestion));
}

void MemberOperations::signReceipts() {
    TDlgHuiZhi dialog(&m_frame);
    if (execDialog(dialog) != QDialog::Accepted) return;
    const Value received = Value::fromBool(dialog.received());
    const Value date = day(dialog.date());
    const QList<QTreeWidgetItem*> rows = selectedRows(Decreased);
    RecordSet& info = m_frame.infoSet(Decreased);
    SetsBefore before({&info});
    storeOrRestore(before, Decreased, [&] {
        for (QTreeWidgetItem* row : rows) {
            if (!info.locate(u"DY_ID", Value::fromText(row->text(0)))) continue;
            info.edit();
            info.setValue(u"HuiZhi", received);
            info.setValue(u"HuiZhiRQ", date);
            info.post();
        }
        if (info.hasChanges()) TDM::applyOrRaise(info);
    });
    for (QTreeWidgetItem* row : rows)
        m_frame.refillRow(Decreased, row);
    m_frame.followSelection(Decreased);
}

void MemberOperations::chooseSecretary(bool deputy) {
    TDlgGetShuJi dialog(&m_frame);
    QTreeWidget* list = m_frame.list(Current);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        dialog.addMember(list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1));
    if (execDialog(dialog) != QDialog::Accepted) return;
    m_frame.branchPage()->setSecretary(deputy, dialog.chosenId(), dialog.chosenName());
}

} // namespace corvexa::client
