#pragma once
// The branch page of the member frames: the branch's own data and head
// counts, bound to its row of the branch set.
#include <QWidget>

class QAction;
class QLineEdit;

namespace corvexa::client {

class RecordSet;
class RecordSetBinder;
struct MemberPopulation;

class BranchPage : public QWidget {
    Q_OBJECT
public:
    BranchPage(RecordSet& branches, const MemberPopulation& population, QWidget* parent = nullptr);

    // Makes the branch's row current and shows it.
    void showBranch(const QString& branchId);
    // Checks the counts, then stores the row; false (with the message shown)
    // when the counts do not add up or the server refuses.
    bool save();
    void cancel();
    // The chosen secretary (deputy) goes into the branch's record, which is
    // stored with 保存修改.
    void setSecretary(bool deputy, const QString& id, const QString& name);
    QLineEdit* edit(const QString& field) const;

    // The message for counts that do not add up, or empty. Empty counts are 0.
    static QString checkCounts(int headCount, int applicants, int activists, int members);

    QAction* actSave;
    QAction* actCancel;

signals:
    // The branch's name was changed and stored.
    void renamed(const QString& name);
    // A secretary's (deputy's) choose button was clicked.
    void chooseSecretary(bool deputy);

private:
    void updateActions();
    int count(const char* part) const;

    RecordSet& m_set;
    const MemberPopulation& m_population;
    RecordSetBinder* m_binder;
    QString m_prefix; // XS / ZG
    QString m_name;   // the branch's name as stored
};

} // namespace corvexa::client
