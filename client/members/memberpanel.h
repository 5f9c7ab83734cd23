#pragma once
// A detail panel bound to the current records of a member's sets: groups of
// labelled editors, each chosen by its field (a code list gives a drop-down,
// a date a date picker, a flag a check box, a memo a text box, the rest a
// line edit). Typing into an editor starts editing its record.
//
// A field is named as "Field" (the member's record), "List:Field" (his
// category row: pre-review, added or decreased) or "Letters:Field" (the
// graduate's letter numbers).
#include <QSet>
#include <QStringList>
#include <QWidget>

class QGroupBox;

namespace corvexa::client {

class RecordSet;
class RecordSetBinder;
class TDM;

struct PanelGroup {
    QString caption;
    QStringList fields;
};

struct PanelSets {
    RecordSet* info = nullptr;
    RecordSet* journal = nullptr;
    RecordSet* letters = nullptr;
};

class MemberPanel : public QWidget {
    Q_OBJECT
public:
    // readOnly: fields shown but not to be typed in (pale green).
    // candidate: the member-type list offers "预审" only.
    MemberPanel(TDM& dm, PanelSets sets, const QList<PanelGroup>& groups, const QSet<QString>& readOnly,
                bool candidate, QWidget* parent = nullptr, int pairsPerLine = 3);

    QWidget* editor(const QString& entry) const { return m_editors.value(entry); }
    // The record set a panel entry is bound to (null when the panel has none).
    RecordSet* setOf(const QString& entry) const;
    QGroupBox* group(int index) const { return m_groups.value(index); }
    // Shows the sets' current records again.
    void refresh();
    // Code lists that change with the organization's data (classes, specialities).
    void refillCodeLists();
    void setFieldsReadOnly(const QStringList& fields, bool readOnly);
    // Dates of what has happened cannot lie ahead of the given day.
    void limitDates(const QStringList& fields, const QDate& last);

private:
    RecordSetBinder* binderOf(const QString& entry) const;

    TDM& m_dm;
    PanelSets m_sets;
    QList<RecordSetBinder*> m_binders; // info, journal, letters (null where no set)
    bool m_candidate;
    QHash<QString, QWidget*> m_editors; // by panel entry
    QList<QGroupBox*> m_groups;
};

// The field a panel entry names, without its set prefix.
QString panelFieldName(const QString& entry);

} // namespace corvexa::client
