#include "memberframe.h"

#include "branchpage.h"
#include "data/datamodule.h"
#include "data/services.h"
#include "data/widgethelpers.h"
#include "frames/appicons.h"
#include "org/branchtree.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {

namespace {
constexpr int kBranchPage = 0;
const char* const kNavBranch = "支部基本信息";
} // namespace

TFrameDY::TFrameDY(TDM& dm, const MemberPopulation& population, QTreeWidget* tree, QWidget* parent)
    : TFrameBasic(parent), m_dm(dm), m_population(population), m_tree(tree), m_nav(new QListWidget(this)),
      m_pages(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("FrameDY%1").arg(population.tag));
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
    auto addItem = [this](const QString& text, const char* icon, int page) {
        auto* item = new QListWidgetItem(appIcon(icon), text, m_nav);
        item->setData(Qt::UserRole, page);
    };
    addHeader(QStringLiteral("党支部管理"));
    addItem(QString::fromUtf8(kNavBranch), "organization", kBranchPage);
    addItem(QString::fromUtf8(population.pages[Current].navCaption), "member", 1 + Current);
    addItem(QString::fromUtf8(population.pages[PreReview].navCaption), "member_candidate", 1 + PreReview);
    addHeader(QStringLiteral("新增/减少党员"));
    addItem(QString::fromUtf8(population.pages[Added].navCaption), "member_new", 1 + Added);
    addItem(QString::fromUtf8(population.pages[Decreased].navCaption), "member_decrease", 1 + Decreased);
    connect(m_nav, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QVariant page = item->data(Qt::UserRole);
        if (page.isValid()) openPage(page.toInt());
    });

    m_branchPage = new BranchPage(dm.set(QString::fromLatin1(population.branchSet)), population, m_pages);
    connect(m_branchPage, &BranchPage::renamed, this, [this](const QString& name) {
        m_branchName = name;
        if (QTreeWidgetItem* node = m_tree ? m_tree->currentItem() : nullptr) node->setText(0, name);
        openPage(currentPage());
    });
    m_pages->addWidget(m_branchPage);
    for (int c = 0; c < 4; ++c) {
        auto* list = new QTreeWidget(m_pages);
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
        connect(list, &QTreeWidget::itemSelectionChanged, this, [list] { ShowSelCount(list); });
        m_lists[size_t(c)] = list;
        if (c == PreReview) list->setToolTip(QStringLiteral("标记为问号的记录表示预审时间已经超过4个月"));
        if (c != Current) {
            m_pages->addWidget(list);
            continue;
        }
        // The current page: its tool bar, the member's panel (made once the
        // sets have told their fields) and the roster.
        m_currentPage = new QWidget(m_pages);
        auto* pageLayout = new QVBoxLayout(m_currentPage);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        auto* bar = new QToolBar(m_currentPage);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        actXY_Save = bar->addAction(appIcon("save"), QStringLiteral("保存修改"));
        actXY_Cancel = bar->addAction(appIcon("cancel"), QStringLiteral("取消修改"));
        connect(actXY_Save, &QAction::triggered, this, &TFrameDY::saveCurrent);
        connect(actXY_Cancel, &QAction::triggered, this, &TFrameDY::cancelCurrent);
        pageLayout->addWidget(bar);
        auto* split = new QSplitter(Qt::Vertical, m_currentPage);
        split->setObjectName(QStringLiteral("CurrentSplit"));
        split->addWidget(list);
        pageLayout->addWidget(split, 1);
        list->setToolTip(QStringLiteral("标记为问号的记录表示预备时间已经超过1年"));
        connect(list, &QTreeWidget::currentItemChanged, this, [this] { showCurrentMember(); });
        m_pages->addWidget(m_currentPage);
    }
    row->addWidget(m_nav);
    row->addWidget(m_pages, 1);
    body()->addLayout(row);
}

void TFrameDY::FrameInit() {
    FrameShow();
    buildCurrentPanel();
}

void TFrameDY::buildCurrentPanel() {
    RecordSet& info = infoSet(Current);
    m_currentPanel = new MemberPanel(
        m_dm, info, m_population.currentPanel,
        {QStringLiteral("DY_ID"), QStringLiteral("Age"), QStringLiteral("ZYS_No")}, false, m_currentPage);
    // Graduates' data is typed only with the graduate right.
    m_currentPanel->setFieldsReadOnly(
        {QStringLiteral("QianYueDW"), QStringLiteral("DWQuYu"), QStringLiteral("DW_DZZ")},
        !m_dm.login.GL_BiYeSh);
    auto* split = m_currentPage->findChild<QSplitter*>(QStringLiteral("CurrentSplit"));
    auto* scroll = new QScrollArea(split);
    scroll->setWidget(m_currentPanel);
    scroll->setWidgetResizable(true);
    split->insertWidget(0, scroll);
    split->setSizes({355, 300});
    connect(&info, &RecordSet::stateChanged, this, &TFrameDY::updateCurrentActions);
    showCurrentMember();
}

void TFrameDY::updateCurrentActions() {
    RecordSet& info = infoSet(Current);
    actXY_Save->setEnabled(info.isEditing());
    actXY_Cancel->setEnabled(info.isEditing());
}

// The panel follows the selected row; a member being edited is saved first.
void TFrameDY::showCurrentMember() {
    RecordSet& info = infoSet(Current);
    if (info.isEditing()) saveCurrent();
    QTreeWidgetItem* item = m_lists[Current]->currentItem();
    if (item) info.locate(u"DY_ID", Value::fromText(item->text(0)));
    if (m_currentPanel) m_currentPanel->refresh();
    if (actXY_Save) updateCurrentActions();
}

void TFrameDY::saveCurrent() {
    RecordSet& info = infoSet(Current);
    if (!info.isEditing() && !info.hasChanges()) return;
    TDM::applyOrRaise(info);
    // The member's row shows what was stored.
    const QString id = info.value(u"DY_ID").text();
    QTreeWidget* list = m_lists[Current];
    QTreeWidgetItem* row = list->currentItem() && list->currentItem()->text(0) == id ? list->currentItem()
                                                                                     : FindListItem(list, id);
    if (row) {
        RecordSet& journal = journalSet(Current);
        const QStringList texts = rowTexts(
            Current, info.currentRow(), journal.find(journal.fieldIndex(u"DY_ID"), Value::fromText(id)), -1);
        for (int c = 0; c < texts.size(); ++c)
            row->setText(c, texts[c]);
    }
    updateCurrentActions();
}

void TFrameDY::cancelCurrent() {
    RecordSet& info = infoSet(Current);
    if (info.isEditing()) info.cancel();
    m_currentPanel->refresh();
    updateCurrentActions();
}

RecordSet& TFrameDY::infoSet(int category) const {
    return m_dm.set(
        QStringLiteral("CDS_%1_Info").arg(QLatin1String(m_population.pages[size_t(category)].family)));
}

RecordSet& TFrameDY::journalSet(int category) const {
    return m_dm.set(
        QStringLiteral("CDS_%1_List").arg(QLatin1String(m_population.pages[size_t(category)].family)));
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
        return f < 0 ? QString() : info.displayText(infoRow, f);
    };
    auto infoFlag = [&](const char* field) {
        const int f = info.fieldIndex(QString::fromLatin1(field));
        return f >= 0 && info.value(infoRow, f).toBool();
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
        if (!*m_population.lettersSet) return infoText(col.field);
        if (lettersRow < 0) return {};
        RecordSet& letters = m_dm.set(QString::fromLatin1(m_population.lettersSet));
        const int f = letters.fieldIndex(QString::fromLatin1(col.field));
        return f < 0 ? QString() : letters.displayText(lettersRow, f);
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

void TFrameDY::loadList(int category) {
    QTreeWidget* list = m_lists[size_t(category)];
    const QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    list->header()->setSortIndicatorShown(false);
    RecordSet& info = infoSet(category);
    RecordSet& journal = journalSet(category);
    QList<RecordSet*> sets{&info, &journal};
    const bool letters = category == Decreased && *m_population.lettersSet;
    if (letters) sets << &m_dm.set(QString::fromLatin1(m_population.lettersSet));
    for (RecordSet* set : sets) {
        set->close();
        set->setParam(QStringLiteral("ADZZ_ID"), m_dm.login.DZZ_ID);
        set->setParam(QStringLiteral("ADZB_ID"), m_branchId);
        set->open();
    }
    const int infoId = info.fieldIndex(u"DY_ID");
    const int journalId = journal.fieldIndex(u"DY_ID");
    auto rowOf = [](const RecordSet& set, int field, const QString& id) {
        return field < 0 ? -1 : set.find(field, Value::fromText(id));
    };
    const char* icons[] = {"member", "member_candidate", "member_new", "member_decrease"};
    const QIcon icon = appIcon(icons[category]);
    const QIcon overdue = appIcon("member_overdue");
    const QDate today = clock().today();
    // Current members past a year of probation, candidates past four months
    // of pre-review, carry the question mark.
    auto isOverdue = [&](int infoRow, int journalRow) {
        auto date = [](const RecordSet& set, int row, const char* field) {
            const int f = set.fieldIndex(QString::fromLatin1(field));
            return row < 0 || f < 0 ? QDate() : set.value(row, f).dateTime().date();
        };
        if (category == Current)
            return isProbationOverdue(date(info, infoRow, "RuDangRQ"),
                                      info.displayText(infoRow, info.fieldIndex(u"DangYuanLX")), today);
        if (category == PreReview) return isPreReviewOverdue(date(journal, journalRow, "YuSenRQ"), today);
        return false;
    };
    auto addRow = [&](int infoRow, int journalRow) {
        const QString id = info.displayText(infoRow, infoId);
        int lettersRow = -1;
        if (letters) {
            RecordSet& l = m_dm.set(QString::fromLatin1(m_population.lettersSet));
            lettersRow = rowOf(l, l.fieldIndex(u"DY_ID"), id);
        }
        auto* item = new QTreeWidgetItem(list, rowTexts(category, infoRow, journalRow, lettersRow));
        const bool marked = isOverdue(infoRow, journalRow);
        item->setIcon(0, marked ? overdue : icon);
        item->setData(0, Qt::UserRole, marked);
    };
    if (category == Current) {
        // The roster's order: the list rows whose member has a record.
        for (int j = 0; j < journal.rowCount(); ++j) {
            const int i = rowOf(info, infoId, journal.displayText(j, journalId));
            if (i >= 0) addRow(i, j);
        }
    } else {
        for (int i = 0; i < info.rowCount(); ++i)
            addRow(i, rowOf(journal, journalId, info.displayText(i, infoId)));
    }
    for (int c = 0; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
    list->setUpdatesEnabled(true);
    m_stale[size_t(category)] = false;
    if (category == Current && m_currentPanel) {
        m_currentPanel->refillCodeLists();
        m_currentPanel->refresh();
    }
}

void TFrameDY::sortList(int category, int column) {
    QTreeWidget* list = m_lists[size_t(category)];
    ListSorter* sorter = m_sorters[size_t(category)];
    const bool ascending = sorter->ascending(column);
    sorter->sortBy(column);
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace corvexa::client
