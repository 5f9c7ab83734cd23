#include "dlgchangezb.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "frames/appicons.h"
#include "frames/dialogbuttons.h"
#include "org/branchtree.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvexa::client {

TDlgChangeZB::TDlgChangeZB(TDM& dm, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgChangeZB"));
    setWindowTitle(QStringLiteral("转移到别的支部"));
    pages = new QTabWidget(this);
    tvStudents = addPage(dm, QStringLiteral("学生支部"), kStudentBranches.branchSet, TDZZNode::StudentBranch,
                         kStudentBranches.rootIcon);
    tvStaff = addPage(dm, QStringLiteral("职工支部"), kStaffBranches.branchSet, TDZZNode::StaffBranch,
                      kStaffBranches.rootIcon);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
}

// The organization as root, one node per branch in the set's order.
QTreeWidget* TDlgChangeZB::addPage(TDM& dm, const QString& title, const char* branchSet, int nodeType,
                                   const char* rootIcon) {
    auto* tree = new BranchTreeWidget(-1, pages); // no dragging here
    auto* root = new QTreeWidgetItem(tree, {dm.login.DZZ_Name});
    root->setIcon(0, appIcon(rootIcon));
    setNode(root, {dm.login.DZZ_ID, TDZZNode::Organization});
    RecordSet& set = dm.set(QString::fromLatin1(branchSet));
    const int id = set.fieldIndex(u"ZB_ID");
    const int name = set.fieldIndex(u"ZB_Name");
    const QIcon icon = appIcon("branch");
    for (int row = 0; row < set.rowCount(); ++row) {
        auto* item = new QTreeWidgetItem(root, {set.displayText(row, name)});
        item->setIcon(0, icon);
        setNode(item, {set.displayText(row, id), nodeType});
    }
    root->setExpanded(true);
    pages->addTab(tree, title);
    return tree;
}

void TDlgChangeZB::openPage(bool staff) {
    pages->setCurrentWidget(staff ? tvStaff : tvStudents);
}

// Only a branch of the page in front counts: a node left selected on the
// other page is not what the user is looking at.
void TDlgChangeZB::accept() {
    auto* tree = static_cast<QTreeWidget*>(pages->currentWidget());
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    const TDZZNode node = selected.isEmpty() ? TDZZNode{} : nodeOf(selected.first());
    if (selected.isEmpty() || node.NodeType == TDZZNode::Organization) {
        ShowError(QStringLiteral("请选择一个支部"));
        return;
    }
    m_chosen = node;
    QDialog::accept();
}

} // namespace corvexa::client
