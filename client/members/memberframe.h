#pragma once
// The work screen of one party branch: its current members, its pre-review
// candidates, the members added and decreased in the work year, and the
// branch's own data. One class serves students (tag 11) and staff (tag 21),
// driven by a MemberPopulation.
#include "frames/framebasic.h"
#include "memberpanel.h"

#include <QTreeWidget>
#include <array>

class QListWidget;
class QSplitter;
class QStackedWidget;
class QToolButton;

namespace corvexa::client {

class BranchPage;
class ListSorter;
class MemberOperations;
class TAutoIncNo;
class TDM;

// Where a list column's text comes from.
enum class ColumnSource {
    Info,       // the member's record
    Journal,    // the category row of the member (pre-review, added, decreased)
    Letters,    // the graduate's letter numbers (students: CDS_XSJS_BiYe)
    Mobile,     // "是" for a mobile member, else empty
    MobileInfo, // the member's record, only for a mobile member
    Receipt,    // "已收到" when the receipt came, else empty
    ReceiptInfo // the member's record, only when the receipt came
};

struct ListColumn {
    const char* caption;
    const char* field;
    ColumnSource source = ColumnSource::Info;
};

// The four member lists, in the order of their category numbers.
enum MemberCategory { Current = 0, PreReview = 1, Added = 2, Decreased = 3 };

struct MemberPage {
    const char* navCaption; // also the title's last part
    const char* family;     // XSXY … ZGJS: the Info and List sets
    std::vector<ListColumn> columns;
    QList<PanelGroup> panel;  // the detail panel
    QSet<QString> panelFixed; // panel fields shown but not typed in
};

// A page of the new-member and new-candidate dialogs.
struct EntryPage {
    QString caption;
    QStringList fields;   // panel entries, in the dialog's order
    QStringList required; // completeness: texts non-blank, others not empty
};

struct MemberPopulation {
    int tag;
    const char* treeName;  // the main window's tree the frame follows
    const char* branchSet; // CDS_XS_DZB / CDS_ZG_DZB
    const char* titlePrefix;
    const char* lettersSet;  // the decreased members' letter numbers; "" when in the Info set
    int ageColumn;           // the list column that sorts by number
    const char* countPrefix; // XS / ZG: the branch's head counts, shares and set families
    const char* baseGroup;
    const char* countGroup;
    const char* headCountCaption;
    const char* addedCaption;
    const char* decreasedCaption;
    std::array<MemberPage, 4> pages;

    // The lifecycle operations.
    const char* tablePrefix;  // Stud / Staff
    const char* otherPrefix;  // the other population's set families (ZG / XS)
    int otherBranchType;      // node type of the other population's branches
    QStringList newDefaults;  // copied from the member shown into a new record
    int candidateLimit;       // more candidates than this refuse a new one; 0: no limit
    bool presetCandidateType; // a new candidate's member type starts as "预审"
    bool decreaseReorders;    // a decrease marks the roster's order as changed
    const char* deleteDecreasedQuestion;
    const char* letterCaption;
    const char* reindexName;
    bool moveCandidatesLikeDelete; // "转移支部" of the pre-review page enabled like "删除预审"
    bool receiptNeedsBrowse;       // "回执签收" also waits for the journal row's edit to end
    int dialogPage;                // the entry dialogs' page of this population
    EntryPage newMember, newCandidate;
    // The current page's detail panel: tall and short heights, the height it
    // opens with, and whether its bar can collapse it.
    int panelTall, panelShort, panelOpen;
    bool panelCollapsible;

    bool students() const { return tag == 11; }
    QString otherFamily(int category) const;
};
const MemberPopulation& studentMembers();
const MemberPopulation& staffMembers();

// The roster list: one row dragged onto another moves there.
class RosterList : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    // Moves the dragged row to the target's place and selects it; false when
    // not exactly one row is selected or the target is the row itself.
    bool moveRow(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

signals:
    void rowMoved();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TFrameDY : public TFrameBasic {
    Q_OBJECT
public:
    TFrameDY(TDM& dm, const MemberPopulation& population, QTreeWidget* tree, QWidget* parent = nullptr);
    ~TFrameDY() override;

    int tag() const override { return m_population.tag; }
    void FrameInit() override;
    bool FrameCanLeave() override { return true; }
    void FrameLeave() override {}
    void FrameShow() override;
    void showCategoryItem(int category, const QString& caption) override;

    const MemberPopulation& population() const { return m_population; }
    TDM& dm() const { return m_dm; }
    // 0 the branch page, 1 + category a member page.
    void openPage(int page);
    int currentPage() const;
    QTreeWidget* list(int category) const { return m_lists[size_t(category)]; }
    MemberPanel* panel(int category) const { return m_panels[size_t(category)]; }
    QSplitter* splitter(int category) const { return m_splits[size_t(category)]; }
    // The pages' actions by object name (actXY_New, actYS_Delete, …).
    QAction* action(const QString& name) const;
    MemberOperations& operations() const { return *m_operations; }

    // Reloads a member list from its sets.
    void loadList(int category);
    // A header click: sort by that column (the first click sorts descending).
    void sortList(int category, int column);
    void markStale(int category) { m_stale[size_t(category)] = true; }
    bool isStale(int category) const { return m_stale[size_t(category)]; }

    const QString& branchId() const { return m_branchId; }
    const QString& branchName() const { return m_branchName; }
    BranchPage* branchPage() const { return m_branchPage; }
    MemberPanel* currentPanel() const { return panel(Current); }

    // The category's member records and its rows (roster or journal).
    RecordSet& infoSet(int category) const;
    RecordSet& journalSet(int category) const;
    RecordSet* lettersSet() const;
    // The identifier and the member's generator of this population.
    TAutoIncNo& memberNumbers() const;
    QString memberPrefix() const;

    // 保存修改 of a member page: stores what is being edited there and
    // refreshes the member's row. A failure raises; the changes stay posted.
    void savePage(int category);
    void cancelPage(int category);
    bool isPageEditing(int category) const;
    void saveCurrent() { savePage(Current); }
    void cancelCurrent() { cancelPage(Current); }
    QAction* actXY_Save = nullptr;
    QAction* actXY_Cancel = nullptr;

    // A list row for the member with the set rows found by his identifier.
    QTreeWidgetItem* addListRow(int category, const QString& id);
    // Writes the member's texts into a row again.
    void refillRow(int category, QTreeWidgetItem* row);
    // After rows were taken off a list: the first row is selected, or an
    // empty list's sets are opened again so the panel shows nobody.
    void reselect(int category);
    // Makes the sets' current rows those of the list's current row.
    void followSelection(int category);

    // The roster was rearranged; 保存位置顺序 writes it.
    bool orderChanged() const { return m_orderChanged; }
    void setOrderChanged(bool changed);
    void saveRosterOrder();
    // The current page's panel: a click on 详细信息 / 简略信息.
    void togglePanelSize();
    QToolButton* panelSizeButton() const { return m_sizeButton; }

    void updateActions();

private:
    QString rowText(int category, int column, int infoRow, int journalRow, int lettersRow) const;
    QStringList rowTexts(int category, int infoRow, int journalRow, int lettersRow) const;
    QWidget* buildPage(int category, QTreeWidget* list);
    void buildToolBar(int category, QWidget* page, QLayout* layout);
    void buildPanels();
    void selectionMoved(int category, QTreeWidgetItem* previous);
    void showLetters();
    void setPanelHeight(int category, int height);
    QAction* addAction(QWidget* bar, const char* name, const char* icon, const QString& text);

    TDM& m_dm;
    const MemberPopulation& m_population;
    QTreeWidget* m_tree;
    QListWidget* m_nav;
    QStackedWidget* m_pages;
    BranchPage* m_branchPage;
    std::array<QWidget*, 4> m_pageWidgets{};
    std::array<QSplitter*, 4> m_splits{};
    std::array<MemberPanel*, 4> m_panels{};
    std::array<QTreeWidget*, 4> m_lists{};
    std::array<ListSorter*, 4> m_sorters{};
    std::array<bool, 4> m_stale{};
    QHash<QString, QAction*> m_actions;
    QToolButton* m_sizeButton = nullptr;
    bool m_orderChanged = false;
    bool m_moving = false; // a selection being put back after a failed save
    QString m_branchId, m_branchName;
    std::unique_ptr<MemberOperations> m_operations;
};

} // namespace corvexa::client
