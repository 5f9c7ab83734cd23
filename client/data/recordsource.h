#pragma once
// What a record set asks of the server: rows of a provider, a statement
// without rows, and storing changed rows. The connection implements it;
// a record set never talks to the socket itself.
#include "common/wire.h"

#include <QCborArray>
#include <QCborMap>
#include <QString>
#include <QStringList>

namespace corvexa::client {

// What the server tells about a column of the table the changes go to.
struct ColumnInfo {
    QString schemaType; // "text", "memo", "integer", "serial", ...; empty: not a column of that table
    int width = 0;      // text: bytes in GBK
    bool required = false;
};

struct OpenResult {
    bool hasRows = false; // false for a statement without rows
    wire::RowSet rows;
    QList<ColumnInfo> columns; // parallel to rows.columns
    QString table;             // where changes go; empty when the rows cannot be changed
    QStringList key;
};

struct ApplyOutcome {
    int failed = 0;
    QStringList messages;
    QList<qint64> serials; // per inserted row
};

class RecordSource {
public:
    virtual ~RecordSource() = default;
    // Throws DataError with the server's text when the server refuses.
    virtual OpenResult open(const QString& provider, const QCborMap& params, const QString& command) = 0;
    // A refused apply (as opposed to failed rows) counts every row as failed.
    virtual ApplyOutcome apply(const QString& provider, const QCborMap& params, const QString& command,
                               const QCborArray& changes) = 0;
};

} // namespace corvexa::client
