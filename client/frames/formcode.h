#pragma once
// The code-table window: the organization's own classes and specialities,
// each on a tab with a one-column grid and its tool bar.
#include <QDialog>

class QAction;
class QTabWidget;
class QTableView;

namespace corvexa::client {

class RecordSet;
class TDM;

class TFormCode : public QDialog {
    Q_OBJECT
public:
    explicit TFormCode(TDM& dm, QWidget* parent = nullptr);

    RecordSet& current() const { return *m_current; }
    QTabWidget* tabs() const { return m_tabs; }
    QTableView* grid(int tab) const;
    QAction* actNew;
    QAction* actDelete;
    QAction* actSave;
    QAction* actCancel;

private:
    void updateActions();

    TDM& m_dm;
    QTabWidget* m_tabs;
    RecordSet* m_current = nullptr;
    RecordSet* m_sets[2];
};

} // namespace corvexa::client
