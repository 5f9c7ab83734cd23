#pragma once
// The main window: menus, tool bar, the group bar with the branch trees and the
// query, statistics and mobile-member entries, the work panel that shows one
// work frame at a time, and the status panes.
#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvexa::client {

class GroupBar;
class TDM;
class TBranchTree;
class TFrameBasic;
class WorkArea;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // The groups of the group bar, top to bottom.
    enum Group { RzGroupStud, RzGroupStaff, RzGroupSQL, RzGroupTJ, RzGroupBYS, RzGroupLD };
    using FrameFactory = std::function<TFrameBasic*(QWidget* parent)>;

    explicit TFormMain(TDM& dm, QWidget* parent = nullptr);
    ~TFormMain() override;

    // The frame class of a tag; frames not registered show a placeholder.
    void registerFrame(int tag, FrameFactory factory);
    // The one routine behind every tree selection and frame action.
    void showFrame(int tag, const QString& kind = {});
    TFrameBasic* currentFrame() const { return m_current; }
    TFrameBasic* frameInstance(int tag) const { return m_frames.value(tag); }

    QAction* action(const char* name) const;
    GroupBar* GroupBar1() const { return m_groupBar; }
    QWidget* PanelGroup() const { return m_panelGroup; }
    QWidget* PanelWork() const { return m_panelWork; }
    QTreeWidget* TreeViewStud() const { return m_treeStud; }
    QTreeWidget* TreeViewStaff() const { return m_treeStaff; }
    QTreeWidget* TreeViewBYS() const { return m_treeBYS; }
    TBranchTree* studentBranches() const { return m_studBranches; }
    TBranchTree* staffBranches() const { return m_staffBranches; }
    QLabel* StatusUser() const { return m_statusUser; }
    QLabel* StatusRecCount() const { return m_statusRecCount; }

    // Selects the branch's node in the student (staff) tree, which shows its
    // member frame, turns that frame to the category's page and selects the
    // row with the caption; nothing when no node carries the branch.
    bool ShowMemberXS(const QString& branchId, const QString& caption, int category);
    bool ShowMemberZG(const QString& branchId, const QString& caption, int category);

    // Rebuilds the three trees from the data module's branch sets.
    void buildTrees();
    // Runs the keep-alive statement once (the timer runs it every minute).
    void keepAlive();
    // Closing asks first; tests and the program's end may skip the question.
    void setAskBeforeClose(bool ask) { m_askBeforeClose = ask; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createActions();
    void createMenusAndToolBar();
    void createPanels();
    void applyRights();
    void toggleGroup(Group group);
    void onGroupOpened(int group);
    void onGroupClosed(int group);
    void onTreeSelection(QTreeWidget* tree, QTreeWidgetItem* item, int rootTag, int branchTag);
    bool showMember(QTreeWidget* tree, int group, int nodeType, const QString& branchId,
                    const QString& caption, int category);
    TFrameBasic* createFrame(int tag);
    QTreeWidget* createTree(const char* name, int dragTag);

    TDM& m_dm;
    QHash<QString, QAction*> m_actions;
    QHash<int, FrameFactory> m_factories;
    QHash<int, TFrameBasic*> m_frames;
    TFrameBasic* m_current = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_panelGroup = nullptr;
    GroupBar* m_groupBar = nullptr;
    WorkArea* m_workArea = nullptr;
    QWidget* m_panelWork = nullptr;
    QTreeWidget* m_treeStud = nullptr;
    QTreeWidget* m_treeStaff = nullptr;
    QTreeWidget* m_treeBYS = nullptr;
    TBranchTree* m_studBranches = nullptr;
    TBranchTree* m_staffBranches = nullptr;
    QLabel* m_statusUser = nullptr;
    QLabel* m_statusDZZ = nullptr;
    QLabel* m_statusWorkYear = nullptr;
    QLabel* m_statusRecCount = nullptr;
    QLabel* m_statusHint = nullptr;
    QTimer* m_keepAlive = nullptr;
    bool m_askBeforeClose = true;
    bool m_closing = false;
};

} // namespace corvexa::client
