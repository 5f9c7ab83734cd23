#pragma once
// The operations that move people between the categories of one branch:
// new members and candidates, deletions, a candidate made probationary, the
// decrease, moves to another branch (also of the other population), receipts
// and the choice of the branch's secretaries. Steps that belong together run
// in one server transaction; when it fails the sets go back to what the
// server holds and the lists stay as they were.
#include <QList>
#include <QString>
#include <functional>

class QDialog;
class QTreeWidgetItem;

namespace corvexa::client {

class RecordSet;
class TDM;
class TFrameDY;
class TDlgXinZenDY;
class TDlgXinZenYS;
class TDlgJianSaoDY;
class TDlgChangeZB;
class MemberEntryDialog;
class SetsBefore;

class MemberOperations {
public:
    explicit MemberOperations(TFrameDY& frame);
    ~MemberOperations();

    void newMember();
    void newCandidate();
    void deleteCandidates();
    void toProbationary();
    void decrease();
    // From the current (0) or pre-review (1) page.
    void moveToBranch(int category);
    void deleteAdded();
    void deleteDecreased();
    void signReceipts();
    void chooseSecretary(bool deputy);

    // Runs a modal dialog: exec() unless a test answers in its place.
    std::function<int(QDialog&)> execDialog;

private:
    // The selected rows of a list, in list order.
    QList<QTreeWidgetItem*> selectedRows(int category) const;
    // BeginTrans, body, CommitTrans; on failure the sets return to their
    // snapshots (taken by the caller before the operation changed them).
    bool transaction(SetsBefore& before, const std::function<void()>& body);
    // The same without a transaction (one set, one apply): a failure is
    // raised after the sets returned to their snapshots.
    void storeOrRestore(SetsBefore& before, int category, const std::function<void()>& body);
    void crossMove(int category, const QString& branchId);
    void deleteRows(int category, const QList<QTreeWidgetItem*>& rows);
    // Deletes the selected members' rows of a table with one statement.
    bool deleteSelected(int category, const QString& table, const QString& question);
    void appendCategoryRow(RecordSet& set, const QString& id, const QString& branchId);
    QString enterNewPerson(int category, RecordSet& info, RecordSet& journal, const char* dateField,
                           MemberEntryDialog& dialog);
    void selectNewRow(int category, const QString& id);

    TFrameDY& m_frame;
    TDM& m_dm;
    TDlgXinZenDY* m_newMember = nullptr;
    TDlgXinZenYS* m_newCandidate = nullptr;
    TDlgJianSaoDY* m_decrease = nullptr;
    TDlgChangeZB* m_changeBranch = nullptr;
};

} // namespace corvexa::client
