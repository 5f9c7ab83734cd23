#include "memberframe.h"

#include "branchpage.h"
#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "data/widgethelpers.h"
#include "frames/appicons.h"
#include "memberoperations.h"
#include "org/branchtree.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvexa::client {

namespace {
constexpr int kBranchPage = 0;
const char* const kNavBranch = "支部基本信息";
// The decreased page's panel with and without the graduate's transfer group.
constexpr int kDecreasedTall = 315;
constexpr int kDecreasedShort = 195;
const char* const kCategoryCode[] = {"XY", "YS", "XZ", "JS"};
} // namespace

// ---- the roster list ----

bool RosterList::moveRow(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (selectedItems().size() != 1 || !dragged || !target || dragged == target) return false;
    int to = indexOfTopLevelItem(target);
    const int from = indexOfTopLevelItem(dragged);
    if (from < 0 || to < 0) return false;
    QTreeWidgetItem* row = takeTopLevelItem(from);
    if (from < to) --to;
    insertTopLevelItem(to, row);
    clearSelection();
    setCurrentItem(row);
    row->setSelected(true);
    emit rowMoved();
    return true;
}

void RosterList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this && selectedItems().size() == 1)
        event->acceptProposedAction();
    else
        event->ignore();
}

void RosterList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this && selectedItems().size() == 1 && itemAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void RosterList::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (event->source() == this && selected.size() == 1 && moveRow(selected.first(), target))
        event->acceptProposedAction();
    else
        event->ignore();
}

// ---- the frame ----

TFrameDY::TFrameDY(TDM& dm, const MemberPopulation& population, QTreeWidget* tree, QWidget* parent)
    : TFrameBasic(parent), m_dm(dm), m_population(population), m_tree(tree), m_nav(new QListWidget(this)),
      m_pages(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("FrameDY%1").arg(population.tag));
    m_operations = std::make_unique<MemberOperations>(*this);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    m_nav->setObjectName(QStringLiteral("NavBar"));
    m_nav->setFixedWidth(150);
    m_nav->setIconSize(QSize(20, 20));
    // Two groups: the branch and its members, then the year's journals.
    auto addHeader = [this](const QString& text) {
        auto* item = new QListWidgetItem(text, m_nav);
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        item->setFlags(Qt::ItemIsEnabled);
    };
    auto addItem = [this](const QString& text, const char* icon, int page, const char* hint) {
        auto* item = new QListWidgetItem(appIcon(icon), text, m_nav);
        item->setData(Qt::UserRole, page);
        if (*hint) item->setToolTip(QString::fromUtf8(hint));
    };
    const bool students = population.students();
    addHeader(QStringLiteral("党支部管理"));
    addItem(QString::fromUtf8(kNavBranch), "organization", kBranchPage, "");
    addItem(QString::fromUtf8(population.pages[Current].navCaption), "member", 1 + Current, "");
    addItem(QString::fromUtf8(population.pages[PreReview].navCaption), "member_candidate", 1 + PreReview, "");
    addHeader(QStringLiteral("新增/减少党员"));
    addItem(QString::fromUtf8(population.pages[Added].navCaption), "member_new", 1 + Added,
            students ? "" : "本年度新增党员管理");
    addItem(QString::fromUtf8(population.pages[Decreased].navCaption), "member_decrease", 1 + Decreased,
            students ? "" : "本年度减少党员管理");
    connect(m_nav, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QVariant page = item->data(Qt::UserRole);
        if (page.isValid()) runAction([&] { openPage(page.toInt()); });
    });

    m_branchPage = new BranchPage(dm.set(QString::fromLatin1(population.branchSet)), population, m_pages);
    connect(m_branchPage, &BranchPage::renamed, this, [this](const QString& name) {
        m_branchName = name;
        if (QTreeWidgetItem* node = m_tree ? m_tree->currentItem() : nullptr) node->setText(0, name);
        openPage(currentPage());
    });
    connect(m_branchPage, &BranchPage::chooseSecretary, this,
            [this](bool deputy) { runAction([&] { m_operations->chooseSecretary(deputy); }); });
    m_pages->addWidget(m_branchPage);
    for (int c = 0; c < 4; ++c) {
        QTreeWidget* list = c == Current ? new RosterList(m_pages) : new QTreeWidget(m_pages);
        list->setObjectName(QStringLiteral("List%1").arg(c));
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setAllColumnsShowFocus(true);
        list->setAlternatingRowColors(true);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        QStringList headers;
        for (const ListColumn& col : population.pages[size_t(c)].columns)
            headers << QString::fromUtf8(col.caption);
        list->setHeaderLabels(headers);
        list->header()->setSectionsClickable(true);
        list->header()->setSortIndicatorShown(false);
        m_sorters[size_t(c)] = new ListSorter(list, {population.ageColumn});
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, c](int column) { sortList(c, column); });
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
            ShowSelCount(list);
            QTreeWidgetItem* item = list->currentItem();
            list->setToolTip(item && item->isSelected() ? item->text(1) : QString());
            updateActions();
        });
        connect(list, &QTreeWidget::currentItemChanged, this,
                [this, c](QTreeWidgetItem*, QTreeWidgetItem* previous) { selectionMoved(c, previous); });
        m_lists[size_t(c)] = list;
        m_pageWidgets[size_t(c)] = buildPage(c, list);
        m_pages->addWidget(m_pageWidgets[size_t(c)]);
    }
    if (auto* roster = qobject_cast<RosterList*>(m_lists[Current])) {
        roster->setDragEnabled(true);
        roster->setAcceptDrops(true);
        roster->setDropIndicatorShown(true);
        roster->setDragDropMode(QAbstractItemView::DragDrop);
        roster->setDefaultDropAction(Qt::MoveAction);
        connect(roster, &RosterList::rowMoved, this, [this] { setOrderChanged(true); });
    }
    row->addWidget(m_nav);
    row->addWidget(m_pages, 1);
    body()->addLayout(row);
    updateActions();
}

TFrameDY::~TFrameDY() = default;

QAction* TFrameDY::addAction(QWidget* bar, const char* name, const char* icon, const QString& text) {
    auto* action = new QAction(*icon ? appIcon(icon) : QIcon(), text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (bar) bar->addAction(action);
    m_actions.insert(action->objectName(), action);
    return action;
}

QAction* TFrameDY::action(const QString& name) const {
    return m_actions.value(name);
}

QWidget* TFrameDY::buildPage(int category, QTreeWidget* list) {
    auto* page = new QWidget(m_pages);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    buildToolBar(category, page, layout);
    auto* split = new QSplitter(Qt::Vertical, page);
    split->setObjectName(QStringLiteral("Split%1").arg(category));
    split->addWidget(list);
    layout->addWidget(split, 1);
    m_splits[size_t(category)] = split;
    return page;
}

// The page's tool bar. Outputs and imports come with their own windows; their
// buttons stay disabled here until those are present.
void TFrameDY::buildToolBar(int category, QWidget* page, QLayout* layout) {
    auto* bar = new QToolBar(page);
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(category));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(bar);
    const QString code = QString::fromLatin1(kCategoryCode[category]);
    auto name = [&](const char* suffix) {
        return QStringLiteral("act%1_%2").arg(code, QLatin1String(suffix));
    };
    auto add = [&](const char* suffix, const char* icon, const QString& text, QWidget* where) {
        return addAction(where, name(suffix).toLatin1().constData(), icon, text);
    };
    MemberOperations* ops = m_operations.get();
    auto run = [this](QAction* a, std::function<void()> f) {
        connect(a, &QAction::triggered, this, [f = std::move(f)] { runAction(f); });
    };
    auto saveCancel = [&](QWidget* where) {
        QAction* save = add("Save", "save", QStringLiteral("保存修改"), where);
        QAction* cancel = add("Cancel", "cancel", QStringLiteral("取消修改"), where);
        if (category == Current) {
            actXY_Save = save;
            actXY_Cancel = cancel;
        }
        run(save, [this, category] { savePage(category); });
        run(cancel, [this, category] { cancelPage(category); });
    };
    auto disabled = [&](const char* suffix, const char* icon, const QString& text, QWidget* where) {
        QAction* a = add(suffix, icon, text, where);
        a->setEnabled(false);
        a->setProperty("pending", true); // stays disabled whatever the state
        return a;
    };
    switch (category) {
    case Current: {
        QAction* add1 = add("New", "new", QStringLiteral("新增党员..."), bar);
        QAction* decrease = add("Decrease", "member_decrease", QStringLiteral("减少党员..."), bar);
        saveCancel(bar);
        QAction* move = add("Move", "move_branch", QStringLiteral("转移支部..."), bar);
        disabled("Export", "export_excel", QStringLiteral("数据导出"), bar);
        disabled("Import", "import_excel", QStringLiteral("数据导入"), bar);
        QAction* reindex =
            addAction(nullptr, m_population.reindexName, "save_order", QStringLiteral("保存位置顺序"));
        run(add1, [ops] { ops->newMember(); });
        run(decrease, [ops] { ops->decrease(); });
        run(move, [ops] { ops->moveToBranch(Current); });
        run(reindex, [this] { saveRosterOrder(); });
        QTreeWidget* list = m_lists[Current];
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        list->addAction(decrease);
        list->addAction(move);
        auto* separator = new QAction(list);
        separator->setSeparator(true);
        list->addAction(separator);
        list->addAction(reindex);
        auto* spacer = new QWidget(bar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        bar->addWidget(spacer);
        m_sizeButton = new QToolButton(bar);
        m_sizeButton->setObjectName(QStringLiteral("PanelSize"));
        m_sizeButton->setIcon(appIcon("view_panel"));
        m_sizeButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_sizeButton->setText(QStringLiteral("详细信息"));
        connect(m_sizeButton, &QToolButton::clicked, this, &TFrameDY::togglePanelSize);
        bar->addWidget(m_sizeButton);
        break;
    }
    case PreReview: {
        QAction* add1 = add("New", "new", QStringLiteral("新增预审"), bar);
        QAction* del = add("Delete", "delete", QStringLiteral("删除预审"), bar);
        QAction* toProbation = add("ToYuBei", "member", QStringLiteral("转为预备"), bar);
        saveCancel(bar);
        auto* menu = new QMenu(page);
        QAction* move = add("Move", "move_branch", QStringLiteral("转移支部"), menu);
        disabled("Form", "print", QStringLiteral("预审表"), menu);
        menu->addSeparator();
        disabled("Export", "export_excel", QStringLiteral("数据导出"), menu);
        disabled("Import", "import_excel", QStringLiteral("数据导入"), menu);
        auto* other = new QToolButton(bar);
        other->setObjectName(QStringLiteral("actYS_Other"));
        other->setText(QStringLiteral("其他功能"));
        other->setIcon(appIcon("folder"));
        other->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        other->setMenu(menu);
        other->setPopupMode(QToolButton::InstantPopup); // a click on the button opens its menu
        bar->addWidget(other);
        run(add1, [ops] { ops->newCandidate(); });
        run(del, [ops] { ops->deleteCandidates(); });
        run(toProbation, [ops] { ops->toProbationary(); });
        run(move, [ops] { ops->moveToBranch(PreReview); });
        break;
    }
    case Added: {
        QAction* del = add("Delete", "delete", QStringLiteral("删除记录"), bar);
        saveCancel(bar);
        disabled("Export", "export_excel", QStringLiteral("数据导出"), bar);
        run(del, [ops] { ops->deleteAdded(); });
        break;
    }
    case Decreased: {
        QAction* del = add("Delete", "delete", QStringLiteral("删除记录"), bar);
        QAction* receipt = add("HuiZhi", "receipt", QStringLiteral("回执签收"), bar);
        saveCancel(bar);
        disabled("Export", "export_excel", QStringLiteral("数据导出"), bar);
        auto* menu = new QMenu(page);
        disabled("PrintSet", "page_setup", QStringLiteral("转出信息打印设置..."), menu);
        menu->addSeparator();
        disabled("PrintXX", "letter", QStringLiteral("打印学校介绍信"), menu);
        disabled("PrintGGW", "letter", QStringLiteral("打印省高工委介绍信"), menu);
        auto* letters = new QToolButton(bar);
        letters->setObjectName(QStringLiteral("actJS_Letters"));
        letters->setText(QString::fromUtf8(m_population.letterCaption));
        letters->setToolTip(QStringLiteral("打完介绍信请到组织部核实信息并盖章"));
        letters->setIcon(appIcon("letter"));
        letters->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        letters->setMenu(menu);
        letters->setPopupMode(QToolButton::InstantPopup);
        QAction* shown = bar->addWidget(letters);
        shown->setObjectName(QStringLiteral("actJS_LettersButton"));
        m_actions.insert(shown->objectName(), shown);
        run(del, [ops] { ops->deleteDecreased(); });
        run(receipt, [ops] { ops->signReceipts(); });
        break;
    }
    }
}

void TFrameDY::FrameInit() {
    FrameShow();
    buildPanels();
    // Letters are printed only with the letter right.
    action(QStringLiteral("actJS_LettersButton"))->setVisible(m_dm.login.GL_JieShaoXin);
    updateActions();
}

void TFrameDY::buildPanels() {
    for (int c = 0; c < 4; ++c) {
        const MemberPage& page = m_population.pages[size_t(c)];
        PanelSets sets{&infoSet(c), c == Current ? nullptr : &journalSet(c),
                       c == Decreased ? lettersSet() : nullptr};
        auto* panel = new MemberPanel(m_dm, sets, page.panel, page.panelFixed, c == PreReview,
                                      m_pageWidgets[size_t(c)]);
        panel->setObjectName(QStringLiteral("Panel%1").arg(c));
        m_panels[size_t(c)] = panel;
        auto* scroll = new QScrollArea(m_splits[size_t(c)]);
        scroll->setWidget(panel);
        scroll->setWidgetResizable(true);
        m_splits[size_t(c)]->insertWidget(0, scroll);
        m_splits[size_t(c)]->setCollapsible(0, c != Current || m_population.panelCollapsible);
        // The panel keeps its height when the frame grows; the list takes the rest.
        m_splits[size_t(c)]->setStretchFactor(0, 0);
        m_splits[size_t(c)]->setStretchFactor(1, 1);
        for (RecordSet* set : {sets.info, sets.journal})
            if (set) connect(set, &RecordSet::stateChanged, this, &TFrameDY::updateActions);
    }
    // Graduates' data is typed only with the graduate right.
    m_panels[Current]->setFieldsReadOnly(
        {QStringLiteral("QianYueDW"), QStringLiteral("DWQuYu"), QStringLiteral("DW_DZZ")},
        !m_dm.login.GL_BiYeSh);
    m_splits[Current]->setSizes({m_population.panelOpen, 300});
    m_splits[PreReview]->setSizes({m_population.panelTall, 300});
    m_splits[Added]->setSizes({260, 300});
    m_splits[Decreased]->setSizes({kDecreasedTall, 300});
    for (int c = 0; c < 4; ++c)
        followSelection(c);
}

// The list gives or takes what the panel's new height needs.
void TFrameDY::setPanelHeight(int category, int height) {
    QSplitter* split = m_splits[size_t(category)];
    const int total = split->sizes().value(0) + split->sizes().value(1);
    split->setSizes({height, std::max(total - height, 100)});
}

void TFrameDY::togglePanelSize() {
    // 详细信息 makes the panel tall, 简略信息 short.
    const bool tall = m_sizeButton->text() == QStringLiteral("详细信息");
    setPanelHeight(Current, tall ? m_population.panelTall : m_population.panelShort);
    m_sizeButton->setText(tall ? QStringLiteral("简略信息") : QStringLiteral("详细信息"));
}

bool TFrameDY::isPageEditing(int category) const {
    if (category == Current) return infoSet(Current).isEditing();
    if (category == Added) return journalSet(Added).isEditing();
    return infoSet(category).isEditing() || journalSet(category).isEditing();
}

void TFrameDY::updateActions() {
    auto enable = [this](const char* name, bool on) {
        if (QAction* a = action(QString::fromLatin1(name)); a && !a->property("pending").toBool())
            a->setEnabled(on);
    };
    auto selected = [this](int c) { return int(m_lists[size_t(c)]->selectedItems().size()); };
    const bool xyEditing = infoSet(Current).isOpen() && isPageEditing(Current);
    enable("actXY_Save", xyEditing);
    enable("actXY_Cancel", xyEditing);
    enable("actXY_New", !xyEditing);
    enable("actXY_Decrease", !xyEditing && selected(Current) > 0);
    enable("actXY_Move", selected(Current) > 0);
    enable(m_population.reindexName, m_orderChanged);
    const bool ysEditing = infoSet(PreReview).isOpen() && isPageEditing(PreReview);
    enable("actYS_Save", ysEditing);
    enable("actYS_Cancel", ysEditing);
    enable("actYS_New", !ysEditing);
    enable("actYS_Delete", !ysEditing && selected(PreReview) > 0);
    enable("actYS_ToYuBei", !ysEditing && selected(PreReview) == 1);
    enable("actYS_Move", !m_population.moveCandidatesLikeDelete || (!ysEditing && selected(PreReview) > 0));
    const bool xzEditing = journalSet(Added).isOpen() && isPageEditing(Added);
    enable("actXZ_Save", xzEditing);
    enable("actXZ_Cancel", xzEditing);
    enable("actXZ_Delete", !journalSet(Added).isEditing());
    const bool jsEditing = infoSet(Decreased).isOpen() && isPageEditing(Decreased);
    enable("actJS_Save", jsEditing);
    enable("actJS_Cancel", jsEditing);
    enable("actJS_Delete", !journalSet(Decreased).isEditing());
    enable("actJS_HuiZhi", selected(Decreased) > 0 &&
                               !(m_population.receiptNeedsBrowse && journalSet(Decreased).isEditing()));
}

// The panel follows the selected row; what is being edited is saved first,
// and a save that fails keeps the selection where it was.
void TFrameDY::selectionMoved(int category, QTreeWidgetItem* previous) {
    if (m_moving) return;
    if (isPageEditing(category)) {
        if (!runAction([&] { savePage(category); })) {
            m_moving = true;
            m_lists[size_t(category)]->setCurrentItem(previous);
            m_moving = false;
            return;
        }
    }
    followSelection(category);
}

void TFrameDY::followSelection(int category) {
    QTreeWidgetItem* item = m_lists[size_t(category)]->currentItem();
    if (item) {
        const Value id = Value::fromText(item->text(0));
        infoSet(category).locate(u"DY_ID", id);
        if (category != Current) journalSet(category).locate(u"DY_ID", id);
    }
    if (category == Decreased) showLetters();
    if (MemberPanel* panel = m_panels[size_t(category)]) panel->refresh();
    updateActions();
}

// The graduate's transfer group shows only for a member with letter numbers.
void TFrameDY::showLetters() {
    MemberPanel* panel = m_panels[Decreased];
    RecordSet* letters = lettersSet();
    if (!panel || !letters) return;
    QTreeWidgetItem* item = m_lists[Decreased]->currentItem();
    const bool found = item && letters->isOpen() && letters->locate(u"DY_ID", Value::fromText(item->text(0)));
    if (QGroupBox* group = panel->group(1)) group->setVisible(found);
    setPanelHeight(Decreased, found ? kDecreasedTall : kDecreasedShort);
}

void TFrameDY::savePage(int category) {
    RecordSet& info = infoSet(category);
    RecordSet& journal = journalSet(category);
    switch (category) {
    case Current:
        if (!info.isEditing() && !info.hasChanges()) return;
        TDM::applyOrRaise(info);
        break;
    case PreReview: {
        info.post();
        journal.post();
        const auto infoBefore = info.snapshot();
        const auto journalBefore = journal.snapshot();
        const bool stored = m_dm.inTransaction([&] {
            TDM::applyOrRaise(info);
            TDM::applyOrRaise(journal);
        });
        if (!stored) {
            // Nothing was stored: the sets keep their changes unsent.
            info.restore(infoBefore);
            journal.restore(journalBefore);
        }
        break;
    }
    case Added:
        TDM::applyOrRaise(journal);
        break;
    case Decreased:
        for (RecordSet* set : {&info, &journal}) {
            set->post();
            if (set->hasChanges()) TDM::applyOrRaise(*set);
        }
        break;
    }
    // The member's row shows what is in the record now.
    const QString id = info.value(u"DY_ID").text();
    QTreeWidget* list = m_lists[size_t(category)];
    QTreeWidgetItem* row = list->currentItem() && list->currentItem()->text(0) == id ? list->currentItem()
                                                                                     : FindListItem(list, id);
    if (row) refillRow(category, row);
    updateActions();
}

void TFrameDY::cancelPage(int category) {
    for (RecordSet* set : {&infoSet(category), &journalSet(category)})
        if (set->isEditing()) set->cancel();
    if (m_panels[size_t(category)]) m_panels[size_t(category)]->refresh();
    updateActions();
}

RecordSet& TFrameDY::infoSet(int category) const {
    return m_dm.set(
        QStringLiteral("CDS_%1_Info").arg(QLatin1String(m_population.pages[size_t(category)].family)));
}

RecordSet& TFrameDY::journalSet(int category) const {
    return m_dm.set(
        QStringLiteral("CDS_%1_List").arg(QLatin1String(m_population.pages[size_t(category)].family)));
}

RecordSet* TFrameDY::lettersSet() const {
    return *m_population.lettersSet ? &m_dm.set(QString::fromLatin1(m_population.lettersSet)) : nullptr;
}

TAutoIncNo& TFrameDY::memberNumbers() const {
    return m_population.students() ? m_dm.XSDYNo : m_dm.ZGDYNo;
}

QString TFrameDY::memberPrefix() const {
    return m_population.students() ? m_dm.XSDYPrefix : m_dm.ZGDYPrefix;
}

QStringList TFrameDY::rowTexts(int category, int infoRow, int journalRow, int lettersRow) const {
    QStringList texts;
    for (int c = 0; c < int(m_population.pages[size_t(category)].columns.size()); ++c)
        texts << rowText(category, c, infoRow, journalRow, lettersRow);
    return texts;
}

void TFrameDY::FrameShow() {
    QTreeWidgetItem* node = m_tree ? m_tree->currentItem() : nullptr;
    m_branchName = node ? node->text(0) : QString();
    m_branchId = nodeOf(node).NodeID;
    m_stale.fill(false);
    setOrderChanged(false);
    for (int c = 0; c < 4; ++c)
        loadList(c);
    m_branchPage->showBranch(m_branchId);
    openPage(currentPage());
}

int TFrameDY::currentPage() const {
    return m_pages->currentIndex();
}

void TFrameDY::openPage(int page) {
    if (page > kBranchPage && m_stale[size_t(page - 1)]) loadList(page - 1);
    m_pages->setCurrentIndex(page);
    const QString caption = page == kBranchPage
                                ? QString::fromUtf8(kNavBranch)
                                : QString::fromUtf8(m_population.pages[size_t(page - 1)].navCaption);
    setTitle(QString::fromUtf8(m_population.titlePrefix) + m_branchName + QStringLiteral("】") + caption);
    for (int i = 0; i < m_nav->count(); ++i) {
        const QVariant p = m_nav->item(i)->data(Qt::UserRole);
        if (p.isValid() && p.toInt() == page) m_nav->setCurrentRow(i);
    }
}

void TFrameDY::showCategoryItem(int category, const QString& caption) {
    if (category < 0 || category > 3) return;
    openPage(1 + category);
    SelectItemByCaption(caption, m_lists[size_t(category)]);
}

QString TFrameDY::rowText(int category, int column, int infoRow, int journalRow, int lettersRow) const {
    const ListColumn& col = m_population.pages[size_t(category)].columns[size_t(column)];
    RecordSet& info = infoSet(category);
    auto infoText = [&](const char* field) {
        const int f = info.fieldIndex(QString::fromLatin1(field));
        return f < 0 || infoRow < 0 ? QString() : info.displayText(infoRow, f);
    };
    auto infoFlag = [&](const char* field) {
        const int f = info.fieldIndex(QString::fromLatin1(field));
        return f >= 0 && infoRow >= 0 && info.value(infoRow, f).toBool();
    };
    switch (col.source) {
    case ColumnSource::Info:
        return infoText(col.field);
    case ColumnSource::Journal: {
        if (journalRow < 0) return {};
        RecordSet& journal = journalSet(category);
        const int f = journal.fieldIndex(QString::fromLatin1(col.field));
        return f < 0 ? QString() : journal.displayText(journalRow, f);
    }
    case ColumnSource::Letters: {
        RecordSet* letters = lettersSet();
        if (!letters) return infoText(col.field);
        if (lettersRow < 0) return {};
        const int f = letters->fieldIndex(QString::fromLatin1(col.field));
        return f < 0 ? QString() : letters->displayText(lettersRow, f);
    }
    case ColumnSource::Mobile:
        return infoFlag("isLiuDong") ? QStringLiteral("是") : QString();
    case ColumnSource::MobileInfo:
        return infoFlag("isLiuDong") ? infoText(col.field) : QString();
    case ColumnSource::Receipt:
        return infoFlag("HuiZhi") ? QStringLiteral("已收到") : QString();
    case ColumnSource::ReceiptInfo:
        return infoFlag("HuiZhi") ? infoText(col.field) : QString();
    }
    return {};
}

namespace {
int rowOf(const RecordSet& set, const QString& id) {
    const int field = set.fieldIndex(u"DY_ID");
    return field < 0 || !set.isOpen() ? -1 : set.find(field, Value::fromText(id));
}
} // namespace

void TFrameDY::refillRow(int category, QTreeWidgetItem* row) {
    const QString id = row->text(0);
    RecordSet* letters = category == Decreased ? lettersSet() : nullptr;
    const QStringList texts = rowTexts(category, rowOf(infoSet(category), id),
                                       rowOf(journalSet(category), id), letters ? rowOf(*letters, id) : -1);
    for (int c = 0; c < texts.size(); ++c)
        row->setText(c, texts[c]);
    // Current members past a year of probation, candidates past four months
    // of pre-review, carry the question mark.
    const QDate today = clock().today();
    auto date = [](const RecordSet& set, int r, const char* field) {
        const int f = set.fieldIndex(QString::fromLatin1(field));
        return r < 0 || f < 0 ? QDate() : set.value(r, f).dateTime().date();
    };
    bool marked = false;
    if (category == Current) {
        const RecordSet& info = infoSet(Current);
        const int r = rowOf(info, id);
        marked = r >= 0 && isProbationOverdue(date(info, r, "RuDangRQ"),
                                              info.displayText(r, info.fieldIndex(u"DangYuanLX")), today);
    } else if (category == PreReview) {
        const RecordSet& journal = journalSet(PreReview);
        marked = isPreReviewOverdue(date(journal, rowOf(journal, id), "YuSenRQ"), today);
    }
    static const char* icons[] = {"member", "member_candidate", "member_new", "member_decrease"};
    row->setIcon(0, marked ? appIcon("member_overdue") : appIcon(icons[category]));
    row->setData(0, Qt::UserRole, marked);
}

QTreeWidgetItem* TFrameDY::addListRow(int category, const QString& id) {
    auto* item = new QTreeWidgetItem(m_lists[size_t(category)], QStringList{id});
    refillRow(category, item);
    return item;
}

void TFrameDY::loadList(int category) {
    QTreeWidget* list = m_lists[size_t(category)];
    {
        const QSignalBlocker block(list);
        list->setUpdatesEnabled(false);
        list->clear();
        list->header()->setSortIndicatorShown(false);
        RecordSet& info = infoSet(category);
        RecordSet& journal = journalSet(category);
        QList<RecordSet*> sets{&info, &journal};
        if (category == Decreased && lettersSet()) sets << lettersSet();
        for (RecordSet* set : sets) {
            set->close();
            set->setParam(QStringLiteral("ADZZ_ID"), m_dm.login.DZZ_ID);
            set->setParam(QStringLiteral("ADZB_ID"), m_branchId);
            set->open();
        }
        const int infoId = info.fieldIndex(u"DY_ID");
        const int journalId = journal.fieldIndex(u"DY_ID");
        if (category == Current) {
            // The roster's order: the list rows whose member has a record.
            for (int j = 0; j < journal.rowCount(); ++j) {
                const QString id = journal.displayText(j, journalId);
                if (rowOf(info, id) >= 0) addListRow(category, id);
            }
        } else {
            for (int i = 0; i < info.rowCount(); ++i)
                addListRow(category, info.displayText(i, infoId));
        }
        for (int c = 0; c < list->columnCount(); ++c)
            list->resizeColumnToContents(c);
        list->setUpdatesEnabled(true);
    }
    m_stale[size_t(category)] = false;
    if (MemberPanel* panel = m_panels[size_t(category)]) panel->refillCodeLists();
    followSelection(category);
}

void TFrameDY::reselect(int category) {
    QTreeWidget* list = m_lists[size_t(category)];
    if (list->topLevelItemCount() > 0) {
        list->clearSelection();
        list->setCurrentItem(list->topLevelItem(0));
        list->topLevelItem(0)->setSelected(true);
    } else {
        for (RecordSet* set : {&infoSet(category), &journalSet(category)}) {
            set->close();
            set->open();
        }
    }
    followSelection(category);
}

void TFrameDY::sortList(int category, int column) {
    QTreeWidget* list = m_lists[size_t(category)];
    ListSorter* sorter = m_sorters[size_t(category)];
    const bool ascending = sorter->ascending(column);
    sorter->sortBy(column);
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TFrameDY::setOrderChanged(bool changed) {
    m_orderChanged = changed;
    updateActions();
}

// Each roster row takes its place in the list as its position.
void TFrameDY::saveRosterOrder() {
    RecordSet& roster = journalSet(Current);
    QTreeWidget* list = m_lists[Current];
    const int keep = roster.currentRow();
    const int idField = roster.requireField(u"DY_ID");
    roster.disableControls();
    try {
        for (int r = 0; r < roster.rowCount(); ++r) {
            QTreeWidgetItem* item = FindListItem(list, roster.displayText(r, idField).trimmed());
            if (!item) continue;
            const Value index = Value::fromInt(list->indexOfTopLevelItem(item) + 1);
            roster.moveTo(r);
            if (roster.value(u"DY_Index") == index) continue;
            roster.edit();
            roster.setValue(u"DY_Index", index);
            roster.post();
        }
        if (roster.hasChanges()) TDM::applyOrRaise(roster);
    } catch (...) {
        roster.cancelUpdates();
        if (keep >= 0 && keep < roster.rowCount()) roster.moveTo(keep);
        roster.enableControls();
        throw;
    }
    if (keep >= 0 && keep < roster.rowCount()) roster.moveTo(keep);
    roster.enableControls();
    setOrderChanged(false);
    ShowInfo(QStringLiteral("位置顺序已经成功保存！"));
}

} // namespace corvexa::client
