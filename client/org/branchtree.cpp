#include "branchtree.h"

#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "dlgdzb.h"
#include "frames/appicons.h"

#include <QDropEvent>

namespace corvexa::client {

namespace {
constexpr int kNodeIdRole = Qt::UserRole;
constexpr int kNodeTypeRole = Qt::UserRole + 1;

// Branch nodes: the branch icon, and a distinct one while selected.
QIcon branchIcon() {
    static const QIcon icon = [] {
        QIcon out = appIcon("branch");
        const QIcon selected = appIcon("branch_selected");
        for (int size : {16, 18, 20, 24, 32})
            out.addPixmap(selected.pixmap(size, size), QIcon::Selected);
        return out;
    }();
    return icon;
}

// Every node of the tree in display order.
QList<QTreeWidgetItem*> allNodes(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        out << *it;
    return out;
}
} // namespace

const BranchPopulation kStudentBranches = {
    "CDS_XS_DZB",
    {"CDS_XSXY_List", "CDS_XSYS_List", "CDS_XSXZ_List", "CDS_XSJS_List"},
    TDZZNode::StudentBranch,
    0,
    "branch_student",
    &TDM::XSZBPrefix,
    &TDM::XSZBNo};
const BranchPopulation kStaffBranches = {
    "CDS_ZG_DZB",          {"CDS_ZGXY_List", "CDS_ZGYS_List", "CDS_ZGXZ_List", "CDS_ZGJS_List"},
    TDZZNode::StaffBranch, 1,
    "branch_staff",        &TDM::ZGZBPrefix,
    &TDM::ZGZBNo};

TDZZNode nodeOf(const QTreeWidgetItem* item) {
    if (!item) return {};
    return {item->data(0, kNodeIdRole).toString(), item->data(0, kNodeTypeRole).toInt()};
}

void setNode(QTreeWidgetItem* item, const TDZZNode& node) {
    item->setData(0, kNodeIdRole, node.NodeID);
    item->setData(0, kNodeTypeRole, node.NodeType);
}

BranchTreeWidget::BranchTreeWidget(int dragTag, QWidget* parent) : QTreeWidget(parent), m_dragTag(dragTag) {
    setHeaderHidden(true);
    setIconSize(QSize(18, 18));
    if (dragTag >= 0) {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
    }
}

bool BranchTreeWidget::accepts(const QDropEvent* event) const {
    const auto* source = qobject_cast<const BranchTreeWidget*>(event->source());
    return source && m_dragTag >= 0 && source->dragTag() == m_dragTag;
}

void BranchTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void BranchTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

// The tree does not move the node itself: the drop is handed over, so that
// the move follows the branches' rules.
void BranchTreeWidget::dropEvent(QDropEvent* event) {
    if (!accepts(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    emit branchDropped(currentItem(), itemAt(event->position().toPoint()));
}

TBranchTree::TBranchTree(TDM& dm, QTreeWidget* tree, const BranchPopulation& population, QObject* parent)
    : QObject(parent), m_dm(dm), m_tree(tree), m_population(population) {
    execDialog = [](TDlgDZB& dialog) { return dialog.exec(); };
    if (auto* widget = qobject_cast<BranchTreeWidget*>(tree))
        connect(widget, &BranchTreeWidget::branchDropped, this, &TBranchTree::moveBranch);
}

RecordSet& TBranchTree::branches() const {
    return m_dm.set(QString::fromLatin1(m_population.branchSet));
}

QTreeWidgetItem* TBranchTree::addBranchNode(const QString& id, const QString& name) {
    auto* item = new QTreeWidgetItem(m_tree->topLevelItem(0), {name});
    item->setIcon(0, branchIcon());
    setNode(item, {id, m_population.nodeType});
    return item;
}

void TBranchTree::build() {
    const QSignalBlocker block(m_tree);
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {m_dm.login.DZZ_Name});
    root->setIcon(0, appIcon(m_population.rootIcon));
    setNode(root, {m_dm.login.DZZ_ID, TDZZNode::Organization});
    RecordSet& set = branches();
    const int id = set.fieldIndex(u"ZB_ID");
    const int name = set.fieldIndex(u"ZB_Name");
    for (int row = 0; row < set.rowCount(); ++row)
        addBranchNode(set.displayText(row, id), set.displayText(row, name));
    root->setExpanded(true);
}

bool TBranchTree::newBranch() {
    RecordSet& set = branches();
    const int remembered = set.currentRow();
    TAutoIncNo& numbers = m_dm.*m_population.numbers;
    set.append();
    const QString id = m_dm.*m_population.prefix + numbers.NextNo(4);
    set.setValue(u"ZB_ID", Value::fromText(id));
    set.setValue(u"DZZ_ID", Value::fromText(m_dm.login.DZZ_ID));
    set.setValue(u"ZB_Index", Value::fromInt(allNodes(m_tree).size() + 1));
    bool stored = false;
    {
        TDlgDZB dialog(set, m_tree->window());
        if (execDialog(dialog) == QDialog::Accepted) {
            TDM::applyOrRaise(set); // a failure leaves the tree without the node
            addBranchNode(id, set.text(u"ZB_Name"));
            stored = true;
        } else {
            // The number stays taken.
            set.cancel();
        }
    }
    if (remembered >= 0 && remembered < set.rowCount()) set.moveTo(remembered);
    return stored;
}

bool TBranchTree::deleteBranch() {
    QTreeWidgetItem* item = m_tree->currentItem();
    const TDZZNode node = nodeOf(item);
    if (!item || node.NodeType != m_population.nodeType) return false;
    // The branch's rows in the four categories.
    int counts[4];
    for (int i = 0; i < 4; ++i) {
        RecordSet& list = m_dm.set(QString::fromLatin1(m_population.listSets[i]));
        list.close();
        list.setParam(QStringLiteral("ADZZ_ID"), m_dm.login.DZZ_ID);
        list.setParam(QStringLiteral("ADZB_ID"), node.NodeID);
        list.setParam(QStringLiteral("AYear"), qint64(m_dm.login.WorkYear));
        list.open();
        counts[i] = list.rowCount();
    }
    const QString figures = QStringLiteral("该支部还有如下数据记录：\n\n现有党员人数：%1\n预审党员人数：%2\n"
                                           "新增党员人数：%3\n减少党员人数：%4\n\n")
                                .arg(counts[0])
                                .arg(counts[1])
                                .arg(counts[2])
                                .arg(counts[3]);
    if (counts[0] || counts[1]) {
        ShowInfo(figures + QStringLiteral("支部还有现有党员或预审党员，不能删除该支部！"));
        return false;
    }
    if (counts[2] || counts[3]) {
        const QString question =
            figures +
            QStringLiteral("如果这些新增或减少记录是试验性的，请将其删除后再删除支部。\n"
                           "如果删除一个还有新增或减少记录的支部，那么这些记录将只能由管理员删除\n\n"
                           "是否删确认除该支部： ") +
            item->text(0);
        if (AskDelete(question) != MessageAnswer::Yes) return false;
    }
    RecordSet& set = branches();
    if (!set.locate(u"ZB_ID", Value::fromText(node.NodeID))) return false;
    set.remove();
    const bool done = m_dm.inTransaction([&] {
        TDM::applyOrRaise(set);
        renumber(); // the deleted node still counts
    });
    if (!done) {
        // Nothing was stored: the set shows the server's rows again.
        set.cancelUpdates();
        set.close();
        set.open();
        return false;
    }
    delete item;
    return true;
}

void TBranchTree::moveBranch(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (!target) {
        ShowError(QStringLiteral("未选中任何目标节点，不能移动党支部。"));
        return;
    }
    if (!target->parent()) {
        ShowError(QStringLiteral("只能在支部节点之间移动。"));
        return;
    }
    if (target == dragged) {
        ShowInfo(QStringLiteral("目标党支部就是当前的党支部，无需移动。"));
        return;
    }
    if (!dragged || !dragged->parent()) return;
    QTreeWidgetItem* root = target->parent();
    QTreeWidgetItem* moved = dragged->parent()->takeChild(dragged->parent()->indexOfChild(dragged));
    root->insertChild(root->indexOfChild(target), moved);
    moved->setIcon(0, target->icon(0));
    renumber();
    m_tree->setCurrentItem(moved);
}

void TBranchTree::renumber() {
    RecordSet& set = branches();
    const int idField = set.fieldIndex(u"ZB_ID");
    int position = 0;
    for (QTreeWidgetItem* item : allNodes(m_tree)) {
        ++position;
        const int row = set.find(idField, Value::fromText(nodeOf(item).NodeID));
        if (row < 0) continue;
        set.moveTo(row);
        if (set.value(u"ZB_Index").toInt() == position) continue;
        set.edit();
        set.setValue(u"ZB_Index", Value::fromInt(position));
        set.post();
    }
    TDM::applyOrRaise(set);
}

void buildGraduatesTree(TDM& dm, QTreeWidget* tree) {
    const QSignalBlocker block(tree);
    tree->clear();
    RecordSet& temp = dm.CDS_Temp();
    dm.OpenSQL(temp,
               QStringLiteral("Select Distinct A.DZB_ID, B.ZB_Name, B.ZB_Index from Stud_BiYe A,DZB_XS B  "
                              "where A.NianDu=%1 and A.DZB_ID=B.ZB_ID and B.DZZ_ID=%2 order by ZB_Index ")
                   .arg(dm.login.BiYeNianDu)
                   .arg(TDM::quoted(dm.login.DZZ_ID)));
    auto* root =
        new QTreeWidgetItem(tree, {QString::number(dm.login.BiYeNianDu) + QStringLiteral("年度毕业生党员")});
    root->setIcon(0, appIcon("branch_student"));
    setNode(root, {dm.login.DZZ_ID, TDZZNode::Organization});
    const int id = temp.fieldIndex(u"DZB_ID");
    const int name = temp.fieldIndex(u"ZB_Name");
    for (int row = 0; row < temp.rowCount(); ++row) {
        auto* item = new QTreeWidgetItem(root, {temp.displayText(row, name)});
        item->setIcon(0, branchIcon());
        setNode(item, {temp.displayText(row, id), TDZZNode::StudentBranch});
    }
    root->setExpanded(true);
}

} // namespace corvexa::client
