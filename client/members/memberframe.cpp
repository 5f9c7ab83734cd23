#include "memberframe.h"

#include "branchpage.h"
#include "data/datamodule.h"
#include "data/widgethelpers.h"
#include "frames/appicons.h"
#include "org/branchtree.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTreeWidget>

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
        m_pages->addWidget(list);
    }
    row->addWidget(m_nav);
    row->addWidget(m_pages, 1);
    body()->addLayout(row);
}

void TFrameDY::FrameInit() {
    FrameShow();
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
    const MemberPage& page = m_population.pages[size_t(category)];
    RecordSet& info = m_dm.set(QStringLiteral("CDS_%1_Info").arg(QLatin1String(page.family)));
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
        RecordSet& journal = m_dm.set(QStringLiteral("CDS_%1_List").arg(QLatin1String(page.family)));
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
    const MemberPage& page = m_population.pages[size_t(category)];
    const QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    list->header()->setSortIndicatorShown(false);
    RecordSet& info = m_dm.set(QStringLiteral("CDS_%1_Info").arg(QLatin1String(page.family)));
    RecordSet& journal = m_dm.set(QStringLiteral("CDS_%1_List").arg(QLatin1String(page.family)));
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
    auto addRow = [&](int infoRow, int journalRow) {
        const QString id = info.displayText(infoRow, infoId);
        int lettersRow = -1;
        if (letters) {
            RecordSet& l = m_dm.set(QString::fromLatin1(m_population.lettersSet));
            lettersRow = rowOf(l, l.fieldIndex(u"DY_ID"), id);
        }
        QStringList texts;
        for (int c = 0; c < int(page.columns.size()); ++c)
            texts << rowText(category, c, infoRow, journalRow, lettersRow);
        auto* item = new QTreeWidgetItem(list, texts);
        item->setIcon(0, icon);
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
