#pragma once
// The branch trees of the group bar: one root (the organization, or the
// graduates' year) and one node per branch. In the student and staff trees
// branches are created, deleted and moved; the order is kept in ZB_Index.
// The two populations differ only in the data of a BranchPopulation.
#include "data/helpers.h"

#include <QTreeWidget>
#include <functional>

namespace corvexa::client {

class RecordSet;
class TDM;
class TDlgDZB;

// What a tree node stands for.
TDZZNode nodeOf(const QTreeWidgetItem* item);
void setNode(QTreeWidgetItem* item, const TDZZNode& node);

struct BranchPopulation {
    const char* branchSet;   // CDS_XS_DZB / CDS_ZG_DZB
    const char* listSets[4]; // current, candidates, added, left: the branch's rows
    int nodeType;            // of the branch nodes
    int dragTag;             // trees take drops only from trees with the same tag
    const char* rootIcon;
    QString TDM::*prefix;     // of new branch numbers
    TAutoIncNo TDM::*numbers; // their generator
};
extern const BranchPopulation kStudentBranches;
extern const BranchPopulation kStaffBranches;

// A tree that moves its branches by drag and drop.
class BranchTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit BranchTreeWidget(int dragTag, QWidget* parent = nullptr);
    int dragTag() const { return m_dragTag; }

signals:
    // A branch node was dropped on target (null when there is no node there).
    void branchDropped(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QDropEvent* event) const;
    int m_dragTag;
};

class TBranchTree : public QObject {
    Q_OBJECT
public:
    TBranchTree(TDM& dm, QTreeWidget* tree, const BranchPopulation& population, QObject* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    RecordSet& branches() const;

    // Root with the organization's name, one child per branch in ZB_Index order.
    void build();
    // New branch through the dialog; true when it was stored.
    bool newBranch();
    // Deletes the selected branch after its counts and questions.
    bool deleteBranch();
    // Moves dragged before target and renumbers.
    void moveBranch(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    // ZB_Index := position in the tree (root 1), stored at once.
    void renumber();

    // How the branch dialog is run (tests answer it themselves).
    std::function<int(TDlgDZB&)> execDialog;

private:
    QTreeWidgetItem* addBranchNode(const QString& id, const QString& name);

    TDM& m_dm;
    QTreeWidget* m_tree;
    const BranchPopulation& m_population;
};

// The graduates' tree: the branches that have graduates in the graduates' year.
void buildGraduatesTree(TDM& dm, QTreeWidget* tree);

} // namespace corvexa::client
