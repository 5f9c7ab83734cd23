#pragma once
// A client-side cache of the rows of one server provider: named typed fields,
// named parameters, a current row, the edit cycle Append/Edit, Post (local),
// ApplyUpdates (to the server) or Cancel, and a change log that remembers the
// values as they were read.
#include "common/value.h"
#include "recordsource.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>

namespace corvexa::client {

class RecordSet;

enum class FieldType { Text, Memo, Integer, Decimal, Float, Boolean, DateTime };
enum class FieldKind { Data, Calculated, Lookup };

struct FieldDef {
    // Calculated and looked-up fields: the value of one row, given the indexes
    // of the fields named in sources (-1 where the set has no such field).
    using Compute = std::function<Value(const RecordSet& set, int row, const QList<int>& sources)>;

    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // text: bytes in GBK; 0 for no limit
    bool required = false;
    bool readOnly = false;
    bool inTable = true;   // a column of the table the changes go to
    bool serial = false;   // assigned by the server on insert
    QString caption;       // header of list columns; the name when empty
    QString displayFormat; // "0.00%" for shares
    bool visible = true;   // shown in lists and exports
    FieldKind kind = FieldKind::Data;
    QStringList sources;
    QList<int> sourceIndexes;
    Compute compute;

    QString label() const { return caption.isEmpty() ? name : caption; }
    bool isEditable() const { return kind == FieldKind::Data && !readOnly; }
};

// Settings a set's owner gives a field by name, kept across opens.
struct FieldHint {
    QString caption;
    std::optional<FieldType> type;
    std::optional<int> width;
    std::optional<bool> required;
    bool readOnly = false;
    QString displayFormat;
    std::optional<bool> visible;
};

class RecordSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class RowStatus : quint8 { Unchanged, Modified, Inserted };

    RecordSet(QString name, QString provider, RecordSource* source = nullptr, QObject* parent = nullptr);
    ~RecordSet() override;

    const QString& name() const { return m_name; }
    const QString& providerName() const { return m_provider; }
    void setSource(RecordSource* source) { m_source = source; }

    // Ad-hoc sets carry their statement as command text.
    const QString& commandText() const { return m_command; }
    void setCommandText(const QString& text) { m_command = text; }

    // Parameters go by name, without regard to case.
    void setParam(const QString& name, const QCborValue& value);
    QCborValue param(const QString& name) const;
    QCborMap params() const;
    void clearParams() { m_params.clear(); }

    void open();
    void close();
    // Runs the command text as a statement without rows.
    void execute();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    // Takes rows that were fetched elsewhere (benchmarks, tests); opens the set.
    void load(OpenResult&& result);
    const QString& tableName() const { return m_table; }

    // Fields: those of the rows the server sent, then calculated and looked-up ones.
    int fieldCount() const { return int(m_fields.size()); }
    const FieldDef& field(int index) const { return m_fields[index]; }
    int fieldIndex(QStringView name) const;   // -1 when absent
    int requireField(QStringView name) const; // throws DataError when absent
    void setFieldHint(const QString& name, FieldHint hint);
    // Shows or hides a field in lists and exports, now and after every open.
    void setFieldVisible(const QString& name, bool visible);
    // The header of the field's list columns, now and after every open.
    void setFieldCaption(const QString& name, const QString& caption);
    void addComputedField(FieldDef def);
    // A field whose value is resultField of the row of lookupSet whose
    // lookupKey equals this row's keyField.
    void addLookupField(const QString& name, int width, const QString& keyField, const RecordSet* lookupSet,
                        const QString& lookupKey, const QString& resultField);

    // Rows and the current row.
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int currentRow() const { return m_current; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);

    Value value(int row, int field) const;
    Value value(QStringView name) const; // current row
    QString displayText(int row, int field) const;
    QString text(QStringView name) const; // current row, as shown
    RowStatus rowStatus(int row) const { return m_rows[row].status; }
    Value originalValue(int row, int field) const;

    // Editing the current row. setValue refuses (DataError) a value that does
    // not fit the field instead of cutting it.
    void append();
    void edit();
    void setValue(QStringView name, const Value& value);
    void setValue(int field, const Value& value);
    // Text typed by the user, read as the field's type.
    void setText(QStringView name, const QString& text);
    void post();
    void cancel();
    void remove();

    // The change log.
    bool hasChanges() const;
    int changeCount() const;
    void cancelUpdates();
    // Sends the pending changes; the count of rows the server could not store.
    // Nothing is stored when any row fails, and the changes stay pending.
    int applyUpdates();
    const QStringList& applyMessages() const { return m_applyMessages; }

    // Makes the first row whose field equals value current; false when none does.
    bool locate(QStringView field, const Value& value, Qt::CaseSensitivity cs = Qt::CaseSensitive);
    // The row of the first match without moving (-1 when none); texts compare
    // as typed, numbers and dates by value.
    int find(int field, const Value& value, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;

    // Bound views stop following the set while rows are walked; they catch
    // up once at the last EnableControls.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // Texts wider than their field are cut to the width (whole characters)
    // instead of being refused: only for records that feed printed forms.
    void setCutsOverlongText(bool cut) { m_cutOverlong = cut; }

    // A rule run on every appended row, e.g. giving it the login's organization.
    void setAfterInsert(std::function<void(RecordSet&)> rule) { m_afterInsert = std::move(rule); }

    // Converts a value to what a field of the given type holds (null when it
    // cannot be read as such).
    static Value coerce(const Value& value, FieldType type);

signals:
    void aboutToReset();
    void resetDone();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged();
    void opened();

private:
    struct Row {
        QList<Value> values;
        QList<Value> original; // as read; empty while unchanged
        RowStatus status = RowStatus::Unchanged;
    };
    struct DeletedRow {
        int position;
        QList<Value> original;
    };

    void buildFields(const OpenResult& result);
    void resolveSources();
    void setState(State state);
    void setCurrent(int row);
    void checkBrowse(); // posts a pending edit
    void requireEditing() const;
    void checkWidth(const FieldDef& field, const Value& value) const;
    void beginReset();
    void endReset();
    QCborMap tableFields(const QList<Value>& values, bool skipNullsAndSerials) const;

    // Notifications for bound views, held back while controls are disabled.
    void notifyInsertBegin(int row);
    void notifyInsertEnd(int row);
    void notifyRemoveBegin(int row);
    void notifyRemoveEnd(int row);
    void notifyRowChanged(int row);

    QString m_name;
    QString m_provider;
    RecordSource* m_source;
    QString m_command;
    QList<std::pair<QString, QCborValue>> m_params;

    State m_state = State::Inactive;
    QString m_table;
    QList<FieldDef> m_fields;
    int m_dataFields = 0;
    QList<FieldDef> m_extraFields;     // calculated and looked up, added by the owner
    QHash<QString, FieldHint> m_hints; // by case-folded name
    QHash<QString, int> m_fieldIndex;  // by case-folded name
    QList<Row> m_rows;
    QList<DeletedRow> m_deleted;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    QList<Value> m_backup; // the current row before Edit
    int m_beforeInsert = -1;
    QStringList m_applyMessages;
    std::function<void(RecordSet&)> m_afterInsert;
    int m_disabled = 0;
    bool m_cutOverlong = false;
    bool m_missedStructure = false;
    bool m_missedData = false;
    // Lookups into this set by key text, rebuilt after any change.
    mutable QHash<int, QHash<QString, int>> m_lookupIndex; // by field
    void dropLookupIndex() { m_lookupIndex.clear(); }

public:
    // The rows and the change log as they stand, to return to when the
    // server rolls back a transaction in which this set was applied: the set
    // then shows again what the server holds, with its changes unsent.
    struct Snapshot {
        QList<Row> rows;
        QList<DeletedRow> deleted;
        int current = -1;
        bool open = false;
    };
    // Posts a pending edit first.
    Snapshot snapshot();
    // Any edit is cancelled; a set that was closed then is closed again.
    void restore(const Snapshot& snapshot);

    // The row whose field (by index) has the given text; -1 when none. Used by
    // looked-up fields of other sets.
    int rowByKeyText(int field, const QString& key) const;
};

QString fieldTypeName(FieldType type);
// A date as lists show it: "yyyy-mm-dd".
QString dateText(const QDate& date);
// The longest start of text that takes at most width bytes in GBK.
QString cutToGbkWidth(const QString& text, int width);

} // namespace corvexa::client
