#pragma once
// A detail panel bound to the current record of a member set: groups of
// labelled editors, each chosen by its field (a code list gives a drop-down,
// a date a date picker, a flag a check box, a memo a text box, the rest a
// line edit). Typing into an editor starts editing the record.
#include <QSet>
#include <QStringList>
#include <QWidget>

namespace corvexa::client {

class RecordSet;
class RecordSetBinder;
class TDM;

struct PanelGroup {
    QString caption;
    QStringList fields;
};

class MemberPanel : public QWidget {
    Q_OBJECT
public:
    // readOnly: fields shown but not to be typed in (pale green).
    MemberPanel(TDM& dm, RecordSet& set, const QList<PanelGroup>& groups, const QSet<QString>& readOnly,
                bool candidate, QWidget* parent = nullptr);

    QWidget* editor(const QString& field) const { return m_editors.value(field); }
    // Shows the set's current record again.
    void refresh();
    // Code lists that change with the organization's data (classes, specialities).
    void refillCodeLists();
    void setFieldsReadOnly(const QStringList& fields, bool readOnly);

private:
    TDM& m_dm;
    RecordSet& m_set;
    RecordSetBinder* m_binder;
    bool m_candidate;
    QHash<QString, QWidget*> m_editors;
};

} // namespace corvexa::client
