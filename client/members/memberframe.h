#pragma once
// The work screen of one party branch: its current members, its pre-review
// candidates, the members added and decreased in the work year, and the
// branch's own data. One class serves students (tag 11) and staff (tag 21),
// driven by a MemberPopulation.
#include "frames/framebasic.h"
#include "memberpanel.h"

#include <array>

class QListWidget;
class QStackedWidget;
class QTreeWidget;

namespace corvexa::client {

class BranchPage;
class MemberPanel;
class ListSorter;
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
};

struct MemberPopulation {
    int tag;
    const char* treeName;  // the main window's tree the frame follows
    const char* branchSet; // CDS_XS_DZB / CDS_ZG_DZB
    const char* titlePrefix;
    const char* lettersSet;  // the decreased members' letter numbers; "" when in the Info set
    int ageColumn;           // the list column that sorts by number
    const char* countPrefix; // XS / ZG: the branch's head counts and shares
    const char* baseGroup;
    const char* countGroup;
    const char* headCountCaption;
    const char* addedCaption;
    const char* decreasedCaption;
    QList<PanelGroup> currentPanel; // the current page's detail panel
    std::array<MemberPage, 4> pages;
};
const MemberPopulation& studentMembers();
const MemberPopulation& staffMembers();

class TFrameDY : public TFrameBasic {
    Q_OBJECT
public:
    TFrameDY(TDM& dm, const MemberPopulation& population, QTreeWidget* tree, QWidget* parent = nullptr);

    int tag() const override { return m_population.tag; }
    void FrameInit() override;
    bool FrameCanLeave() override { return true; }
    void FrameLeave() override {}
    void FrameShow() override;
    void showCategoryItem(int category, const QString& caption) override;

    // 0 the branch page, 1 + category a member page.
    void openPage(int page);
    int currentPage() const;
    QTreeWidget* list(int category) const { return m_lists[size_t(category)]; }
    // Reloads a member list from its sets.
    void loadList(int category);
    // A header click: sort by that column (the first click sorts descending).
    void sortList(int category, int column);
    void markStale(int category) { m_stale[size_t(category)] = true; }

    const QString& branchId() const { return m_branchId; }
    const QString& branchName() const { return m_branchName; }
    BranchPage* branchPage() const { return m_branchPage; }
    MemberPanel* currentPanel() const { return m_currentPanel; }
    // The current page's 保存修改: posts and stores the member shown, then
    // refreshes his row. A failure leaves the record posted with its changes.
    void saveCurrent();
    void cancelCurrent();
    QAction* actXY_Save = nullptr;
    QAction* actXY_Cancel = nullptr;

private:
    // The category's member records and its rows (roster or journal).
    RecordSet& infoSet(int category) const;
    RecordSet& journalSet(int category) const;
    QString rowText(int category, int column, int infoRow, int journalRow, int lettersRow) const;
    QStringList rowTexts(int category, int infoRow, int journalRow, int lettersRow) const;
    void buildCurrentPanel();
    void showCurrentMember();
    void updateCurrentActions();

    TDM& m_dm;
    const MemberPopulation& m_population;
    QTreeWidget* m_tree;
    QListWidget* m_nav;
    QStackedWidget* m_pages;
    BranchPage* m_branchPage;
    QWidget* m_currentPage = nullptr;
    MemberPanel* m_currentPanel = nullptr;
    std::array<QTreeWidget*, 4> m_lists{};
    std::array<ListSorter*, 4> m_sorters{};
    std::array<bool, 4> m_stale{};
    QString m_branchId, m_branchName;
};

} // namespace corvexa::client
