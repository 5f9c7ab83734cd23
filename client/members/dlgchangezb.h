#pragma once
// The target of a move to another branch: one page per population, each a
// tree of the organization with its branches as they were when the dialog
// was made (the member frame keeps it for the run).
#include "data/helpers.h"

#include <QDialog>

class QTabWidget;
class QTreeWidget;

namespace corvexa::client {

class TDM;

class TDlgChangeZB : public QDialog {
    Q_OBJECT
public:
    TDlgChangeZB(TDM& dm, QWidget* parent = nullptr);

    QTabWidget* pages;
    QTreeWidget* tvStudents;
    QTreeWidget* tvStaff;

    // Shows the page of the frame's population.
    void openPage(bool staff);

    // The branch chosen with the last "确定": StudentBranch or StaffBranch.
    int nodeType() const { return m_chosen.NodeType; }
    QString nodeId() const { return m_chosen.NodeID; }

    void accept() override;

private:
    QTreeWidget* addPage(TDM& dm, const QString& title, const char* branchSet, int nodeType,
                         const char* rootIcon);

    TDZZNode m_chosen;
};

} // namespace corvexa::client
