#include "formcode.h"

#include "appicons.h"
#include "data/datamodule.h"
#include "data/recordsetmodel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvexa::client {

TFormCode::TFormCode(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm), m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("FormCode"));
    setWindowTitle(QStringLiteral("代码表管理"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const struct {
        const char* set;
        const char* field;
        const char* caption;
    } tabs[] = {{"CDS_BanJi", "BanJi", "班级"}, {"CDS_ZuanYe", "ZuanYe", "专业"}};

    actNew = new QAction(appIcon("new"), QStringLiteral("新增记录"), this);
    actNew->setToolTip(QStringLiteral("新增一条记录"));
    actDelete = new QAction(appIcon("delete"), QStringLiteral("删除记录"), this);
    actDelete->setToolTip(QStringLiteral("删除当前记录"));
    actSave = new QAction(appIcon("save"), QStringLiteral("保存修改"), this);
    actSave->setToolTip(QStringLiteral("保存到数据库"));
    actCancel = new QAction(appIcon("cancel"), QStringLiteral("取消修改"), this);
    actCancel->setToolTip(QStringLiteral("取消修改，从数据库恢复"));

    for (int i = 0; i < 2; ++i) {
        RecordSet& set = dm.set(QString::fromLatin1(tabs[i].set));
        set.setFieldCaption(QString::fromLatin1(tabs[i].field), QString::fromUtf8(tabs[i].caption));
        if (!set.isOpen()) set.open();
        m_sets[i] = &set;
        auto* page = new QWidget(m_tabs);
        auto* layout = new QVBoxLayout(page);
        auto* bar = new QToolBar(page);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        bar->addAction(actNew);
        bar->addAction(actDelete);
        bar->addSeparator();
        bar->addAction(actSave);
        bar->addAction(actCancel);
        auto* view = new QTableView(page);
        view->setObjectName(QStringLiteral("grid%1").arg(i));
        auto* model = new RecordSetModel(&set, {QString::fromLatin1(tabs[i].field)}, view);
        view->setModel(model);
        view->horizontalHeader()->setStretchLastSection(true);
        view->verticalHeader()->setDefaultSectionSize(22);
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [&set](const QModelIndex& index) {
                    if (index.isValid() && index.row() != set.currentRow()) set.moveTo(index.row());
                });
        layout->addWidget(bar);
        layout->addWidget(view);
        m_tabs->addTab(page, QString::fromUtf8(tabs[i].caption));
        for (auto signal : {&RecordSet::stateChanged, &RecordSet::resetDone})
            connect(&set, signal, this, &TFormCode::updateActions);
        connect(&set, &RecordSet::rowChanged, this, &TFormCode::updateActions);
        connect(&set, &RecordSet::rowRemoved, this, &TFormCode::updateActions);
        connect(&set, &RecordSet::rowInserted, this, &TFormCode::updateActions);
    }
    m_current = m_sets[0];
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        m_current = m_sets[qBound(0, tab, 1)];
        updateActions();
    });

    connect(actNew, &QAction::triggered, this, [this] {
        m_current->append(); // the data module gives it the organization
        QTableView* view = grid(m_tabs->currentIndex());
        view->setCurrentIndex(view->model()->index(m_current->currentRow(), 0));
        view->edit(view->currentIndex());
    });
    connect(actDelete, &QAction::triggered, this, [this] { m_current->remove(); });
    connect(actSave, &QAction::triggered, this, [this] { TDM::applyOrRaise(*m_current); });
    connect(actCancel, &QAction::triggered, this, [this] {
        if (m_current->isEditing()) m_current->cancel();
        m_current->cancelUpdates();
    });

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(close, 0, Qt::AlignRight);
    setFixedSize(520, 460);
    updateActions();
}

QTableView* TFormCode::grid(int tab) const {
    return findChild<QTableView*>(QStringLiteral("grid%1").arg(tab));
}

void TFormCode::updateActions() {
    if (!m_current) return;
    const bool editing = m_current->isEditing();
    const bool pending = editing || m_current->hasChanges();
    actNew->setEnabled(!editing);
    actDelete->setEnabled(!editing && !m_current->isEmpty());
    actSave->setEnabled(pending);
    actCancel->setEnabled(pending);
}

} // namespace corvexa::client
