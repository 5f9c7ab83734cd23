#pragma once
// The search windows over every branch and every category of the logged-in
// organization: members by name (TDlgFindDY) and by application-form number
// (TDlgFindZYS). One window class serves both, driven by a FindDescriptor.
// A double click on a hit asks, through showMember, for the member frame on
// the hit's branch, page and row; the main window answers it.
#include <QDialog>
#include <QListWidget>

#include <array>
#include <vector>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace corvexa::client {

class TDM;

struct FindColumn {
    const char* caption;
    const char* field;
};

// What tells the two search windows apart.
struct FindDescriptor {
    const char* objectName;
    const char* caption;
    const char* fieldLabel;
    const char* exactChoice;
    const char* emptyMessage;
    const char* selectHead;      // the select list up to and including "from "
    const char* conditionColumn; // the column the typed text is compared with
    std::vector<FindColumn> columns;
    int branchColumn; // the result column of the hit's branch ("党支部ID")
};
const FindDescriptor& findByName();
const FindDescriptor& findByFormNumber();

// A list of check boxes whose lines beginning with "//" are headings without a
// check box; items are counted without the headings.
class CategoryCheckList : public QListWidget {
    Q_OBJECT
public:
    CategoryCheckList(const QStringList& lines, QWidget* parent = nullptr);
    int itemCount() const { return int(m_items.size()); }
    bool isTicked(int item) const;
    void setTicked(int item, bool ticked);
    int tickedCount() const;

private:
    std::vector<QListWidgetItem*> m_items;
};

class FindMemberDialog : public QDialog {
    Q_OBJECT
public:
    FindMemberDialog(TDM& dm, const FindDescriptor& descriptor, QWidget* parent = nullptr);

    const FindDescriptor& descriptor() const { return m_descriptor; }

    QLineEdit* edtText;
    QRadioButton* rbExact;
    QRadioButton* rbPart;
    // The student and the staff categories: current, pre-review, added, decreased.
    CategoryCheckList* checkList(bool staff) const { return m_checkLists[staff ? 1 : 0]; }
    QTabWidget* pages;
    QTreeWidget* resultList(bool staff, int category) const { return m_results[index(staff, category)]; }
    // The result page of a list (its index in pages).
    static int pageOf(bool staff, int category) { return int(index(staff, category)); }
    QPushButton* btnFind;
    QPushButton* btnClose;

    // "查找": checks the text and the categories, then one query per ticked
    // category. A failing query raises; the lists filled before keep their rows.
    void find();
    // The double click on a result row: the selected row's branch and member.
    void showHit(bool staff, int category);

signals:
    void showMember(bool staff, const QString& branchId, const QString& memberId, int category);

private:
    static size_t index(bool staff, int category) { return size_t((staff ? 4 : 0) + category); }
    // The statement for one category; the text goes in as a literal.
    QString queryText(bool staff, int category, const QString& text) const;
    void fill(QTreeWidget* list);
    void openFirstVisiblePage();

    TDM& m_dm;
    const FindDescriptor& m_descriptor;
    std::array<CategoryCheckList*, 2> m_checkLists{};
    std::array<QTreeWidget*, 8> m_results{};
};

// "查找党员": by name.
class TDlgFindDY : public FindMemberDialog {
    Q_OBJECT
public:
    explicit TDlgFindDY(TDM& dm, QWidget* parent = nullptr) : FindMemberDialog(dm, findByName(), parent) {}
};

// "查找入党志愿书": by application-form number.
class TDlgFindZYS : public FindMemberDialog {
    Q_OBJECT
public:
    explicit TDlgFindZYS(TDM& dm, QWidget* parent = nullptr)
        : FindMemberDialog(dm, findByFormNumber(), parent) {}
};

} // namespace corvexa::client
