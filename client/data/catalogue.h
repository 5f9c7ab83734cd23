#pragma once
// Every named record set of the program with its provider, and what the
// client adds to the rows the server sends: the derived age, the looked-up
// branch names, captions, read-only fields and after-insert rules.
#include "recordset.h"

#include <QHash>
#include <QObject>
#include <optional>

namespace corvexa::client {

class Catalogue : public QObject {
    Q_OBJECT
public:
    // organization: gives the login's DZZ_ID to the after-insert rules.
    Catalogue(RecordSource* source, std::function<QString()> organization, QObject* parent = nullptr);

    // nullptr when there is no such set (names match without regard to case).
    RecordSet* find(QStringView name) const;
    RecordSet& operator[](QStringView name) const; // throws DataError when unknown
    const QList<RecordSet*>& all() const { return m_sets; }

    // The drop-down list of a member field: a code table's set and its text
    // column, or fixed items.
    struct CodeList {
        QString set;
        QString field;
        QStringList fixedItems;
    };
    // candidate: the person is a pre-review candidate (member type "预审").
    static std::optional<CodeList> codeListFor(QStringView memberField, bool candidate = false);
    // Screen label of a member-record field ("姓名" for Name); empty when none.
    static QString memberCaption(QStringView field);

private:
    RecordSet* add(const QString& name, const QString& provider);
    void addMemberSets(const QString& population);
    void addAge(RecordSet* set);

    RecordSource* m_source;
    std::function<QString()> m_organization;
    QList<RecordSet*> m_sets;
    QHash<QString, RecordSet*> m_byName; // case-folded
};

} // namespace corvexa::client
