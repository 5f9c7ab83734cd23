#include "dlggetshuji.h"

#include "data/services.h"
#include "data/widgethelpers.h"
#include "frames/dialogbuttons.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {

namespace {
// Columns whose next click sorts ascending, for every instance of the run.
QSet<int>& sortDirections() {
    static QSet<int> directions;
    return directions;
}
} // namespace

TDlgGetShuJi::TDlgGetShuJi(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgGetShuJi"));
    setWindowTitle(QStringLiteral("选择书记或副书记"));
    auto* group = new QGroupBox(QStringLiteral("支部可选党员"), this);
    lvMembers = new QTreeWidget(group);
    lvMembers->setHeaderLabels({QStringLiteral("党员编号"), QStringLiteral("党员姓名")});
    lvMembers->setRootIsDecorated(false);
    lvMembers->setSelectionMode(QAbstractItemView::SingleSelection);
    lvMembers->header()->setSectionsClickable(true);
    m_sorter = new ListSorter(lvMembers, {}, &sortDirections());
    connect(lvMembers->header(), &QHeaderView::sectionClicked, this, &TDlgGetShuJi::sortBy);
    auto* inGroup = new QVBoxLayout(group);
    inGroup->addWidget(lvMembers);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

void TDlgGetShuJi::addMember(const QString& id, const QString& name) {
    new QTreeWidgetItem(lvMembers, {id, name});
}

void TDlgGetShuJi::sortBy(int column) {
    const bool ascending = m_sorter->ascending(column);
    m_sorter->sortBy(column);
    lvMembers->header()->setSortIndicatorShown(true);
    lvMembers->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TDlgGetShuJi::accept() {
    const QList<QTreeWidgetItem*> selected = lvMembers->selectedItems();
    if (selected.isEmpty()) {
        ShowError(QStringLiteral("未选中任何党员！请重新选择或取消。"));
        return;
    }
    m_id = selected.first()->text(0);
    m_name = selected.first()->text(1);
    QDialog::accept();
}

} // namespace corvexa::client
