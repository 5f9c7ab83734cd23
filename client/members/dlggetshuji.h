#pragma once
// Picks a branch secretary or deputy among the branch's current members.
// Created for each use; the sort direction of each column holds for the run.
#include <QDialog>

class QTreeWidget;

namespace corvexa::client {

class ListSorter;

class TDlgGetShuJi : public QDialog {
    Q_OBJECT
public:
    explicit TDlgGetShuJi(QWidget* parent = nullptr);

    QTreeWidget* lvMembers;

    void addMember(const QString& id, const QString& name);
    // The row selected at "确定".
    QString chosenId() const { return m_id; }
    QString chosenName() const { return m_name; }

    void sortBy(int column);
    void accept() override;

private:
    ListSorter* m_sorter;
    QString m_id;
    QString m_name;
};

} // namespace corvexa::client
