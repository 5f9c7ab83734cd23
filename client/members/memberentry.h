#pragma once
// The dialogs in which a new member (TDlgXinZenDY) or a new pre-review
// candidate (TDlgXinZenYS) is typed in. Their fields edit the records the
// operation appended, so what is typed is what is stored; 确定 closes only
// when every required field is filled.
#include "memberpanel.h"

#include <QDate>
#include <QDialog>
#include <array>

class QTabWidget;

namespace corvexa::client {

struct EntryPage;
struct MemberPopulation;

class MemberEntryDialog : public QDialog {
    Q_OBJECT
public:
    enum Kind { NewMember, NewCandidate };
    MemberEntryDialog(TDM& dm, Kind kind, QWidget* parent = nullptr);

    // Opens the population's page, bound to the member's record and his row
    // (the page is made on first use).
    void openPage(const MemberPopulation& population, RecordSet& info, RecordSet& journal);
    MemberPanel* panel() const { return m_panel; }
    // The required fields left empty on the open page.
    QStringList missingFields() const;
    void accept() override;

private:
    TDM& m_dm;
    Kind m_kind;
    QDate m_created;
    QTabWidget* m_pages;
    std::array<MemberPanel*, 2> m_panels{};
    MemberPanel* m_panel = nullptr;
    const EntryPage* m_entry = nullptr;
};

class TDlgXinZenDY : public MemberEntryDialog {
    Q_OBJECT
public:
    explicit TDlgXinZenDY(TDM& dm, QWidget* parent = nullptr) : MemberEntryDialog(dm, NewMember, parent) {}
};

class TDlgXinZenYS : public MemberEntryDialog {
    Q_OBJECT
public:
    explicit TDlgXinZenYS(TDM& dm, QWidget* parent = nullptr) : MemberEntryDialog(dm, NewCandidate, parent) {}
};

} // namespace corvexa::client
