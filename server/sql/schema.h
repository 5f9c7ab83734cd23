#pragma once
// The database schema that the server creates and the dialect layer resolves
// names against. Names match without regard to case.
#include "types.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace corvexa::sql {

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0; // text: bytes in GBK
    bool required = false;
    bool secret = false; // never readable through statements (passwords)
};

struct IndexDef {
    QStringList columns;
    bool unique = false;
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    QStringList key; // columns that identify a row
    QString serial;  // column the server assigns (SN), empty when none
    std::vector<IndexDef> indexes;

    const ColumnDef* column(QStringView name) const;
    int columnIndex(QStringView name) const;
};

class Schema {
public:
    // The records' schema: organizations, users, branches, members and their
    // categories, graduates, templates, letters, dictionary and code tables.
    static const Schema& standard();

    const TableDef* table(QStringView name) const;
    const std::vector<TableDef>& tables() const { return m_tables; }

    void addTable(TableDef table);
    // Another name under which a table is known (older statements use them).
    void addSynonym(const QString& synonym, const QString& table);

private:
    std::vector<TableDef> m_tables;
    QHash<QString, int> m_byName; // lower-case name -> index
};

} // namespace corvexa::sql
