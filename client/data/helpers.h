#pragma once
// Small rules shared by every screen: numbering, names, list comparison and
// the dates behind a member's age and the overdue markers.
#include <QDate>
#include <QString>

namespace corvexa::client {

// A counter behind one kind of identifier. Never stored: reseeded from the
// database at every start.
class TAutoIncNo {
public:
    explicit TAutoIncNo(qint32 start = 0) : m_counter(start) {}
    // Adds one and gives the counter padded with zeros to width (never cut).
    QString NextNo(int width);
    // Gives the last number back (a new record that took it was cancelled).
    void UndoNo() { --m_counter; }
    qint32 counter() const { return m_counter; }

private:
    qint32 m_counter;
};

// The record behind a node of the branch trees.
struct TDZZNode {
    enum Type { Organization = 1, StudentBranch = 2, StaffBranch = 3 };
    QString NodeID; // DZZ_ID on the root, ZB_ID on a branch
    int NodeType = Organization;
};

QString ZeroPad(qint64 n, int width);
// The part before the first "党委", else before the first "党总支", else the name.
QString OrgUnitName(const QString& name);
// Without its last character, unless blank after trimming.
QString DropLastChar(const QString& text);
// Numeric list order: blank counts as "0", identical texts are equal, otherwise
// 1 when a > b as numbers and -1 else (so "1.0" against "1" is -1).
int CompareNumText(const QString& a, const QString& b);
// Text columns of lists compare without regard to case.
int CompareListText(const QString& a, const QString& b);

// The age shown for a member: the calendar year of 1899-12-30 plus the days
// lived, minus 1900. Without a birth date it counts from that epoch itself.
int memberAge(const QDate& born, const QDate& today);
// Whole days between two dates, whichever comes first; a missing date counts
// as no days at all.
qint64 wholeDaysBetween(const QDate& a, const QDate& b);
// A probationary member past one year (366 days or more and not "正式").
bool isProbationOverdue(const QDate& joined, const QString& memberType, const QDate& today);
// A pre-review candidate past four months (123 days or more).
bool isPreReviewOverdue(const QDate& since, const QDate& today);

} // namespace corvexa::client
