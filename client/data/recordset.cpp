#include "recordset.h"

#include "common/dates.h"
#include "common/gbk.h"
#include "common/wire.h"
#include "errors.h"

#include <cmath>

namespace corvexa::client {
namespace {

QString folded(QStringView name) {
    return name.toString().toCaseFolded();
}

FieldType typeFromWire(Value::Type type, const QString& schemaType) {
    if (schemaType == u"memo") return FieldType::Memo;
    if (schemaType == u"decimal") return FieldType::Decimal;
    switch (type) {
    case Value::Type::Bool:
        return FieldType::Boolean;
    case Value::Type::Int:
        return FieldType::Integer;
    case Value::Type::Double:
        return FieldType::Float;
    case Value::Type::Decimal:
        return FieldType::Decimal;
    case Value::Type::DateTime:
        return FieldType::DateTime;
    default:
        return FieldType::Text;
    }
}

Value::Type wireTypeOf(FieldType type) {
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return Value::Type::Text;
    case FieldType::Integer:
        return Value::Type::Int;
    case FieldType::Decimal:
        return Value::Type::Decimal;
    case FieldType::Float:
        return Value::Type::Double;
    case FieldType::Boolean:
        return Value::Type::Bool;
    case FieldType::DateTime:
        return Value::Type::DateTime;
    }
    return Value::Type::Null;
}

} // namespace

// "yyyy-mm-dd", written by hand: lists show thousands of dates at a time.
QString dateText(const QDate& date) {
    if (!date.isValid()) return {};
    QString text(10, Qt::Uninitialized);
    QChar* out = text.data();
    auto put = [&out](int n, int digits) {
        for (int i = digits - 1; i >= 0; --i, n /= 10)
            out[i] = QChar(u'0' + n % 10);
        out += digits;
    };
    put(date.year(), 4);
    *out++ = u'-';
    put(date.month(), 2);
    *out++ = u'-';
    put(date.day(), 2);
    return text;
}

QString fieldTypeName(FieldType type) {
    switch (type) {
    case FieldType::Text:
        return QStringLiteral("文本");
    case FieldType::Memo:
        return QStringLiteral("备注");
    case FieldType::Integer:
        return QStringLiteral("整数");
    case FieldType::Decimal:
        return QStringLiteral("数值");
    case FieldType::Float:
        return QStringLiteral("数值");
    case FieldType::Boolean:
        return QStringLiteral("逻辑");
    case FieldType::DateTime:
        return QStringLiteral("日期");
    }
    return {};
}

QString cutToGbkWidth(const QString& text, int width) {
    int used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype n = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int w = gbk::byteWidth(QStringView(text).mid(end, n));
        if (used + w > width) break;
        used += w;
        end += n;
    }
    return text.left(end);
}

RecordSet::RecordSet(QString name, QString provider, RecordSource* source, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_provider(std::move(provider)), m_source(source) {}

RecordSet::~RecordSet() = default;

void RecordSet::setParam(const QString& name, const QCborValue& value) {
    for (auto& [key, v] : m_params) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    m_params.append({name, value});
}

QCborValue RecordSet::param(const QString& name) const {
    for (const auto& [key, v] : m_params) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return v;
    }
    return QCborValue(QCborValue::Undefined);
}

QCborMap RecordSet::params() const {
    QCborMap map;
    for (const auto& [key, v] : m_params)
        map.insert(key, v);
    return map;
}

// ---- opening and closing

void RecordSet::open() {
    if (isOpen()) return;
    if (!m_source) throw DataError(QStringLiteral("数据集 %1 没有连接到服务器").arg(m_name));
    OpenResult result = m_source->open(m_provider, params(), m_command);
    if (!result.hasRows) throw DataError(QStringLiteral("数据集 %1 的语句没有返回记录").arg(m_name));
    load(std::move(result));
}

void RecordSet::execute() {
    if (!m_source) throw DataError(QStringLiteral("数据集 %1 没有连接到服务器").arg(m_name));
    close();
    m_source->open(m_provider, params(), m_command);
}

void RecordSet::close() {
    if (!isOpen()) return;
    beginReset();
    m_rows.clear();
    m_deleted.clear();
    m_backup.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_dataFields = 0;
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    dropLookupIndex();
    endReset();
    emit stateChanged();
}

void RecordSet::load(OpenResult&& result) {
    close();
    beginReset();
    buildFields(result);
    m_table = result.table;
    // Values arrive in their column's wire type; convert only the columns
    // whose field type is another (e.g. a decimal sent as a double).
    QList<int> convert;
    for (int i = 0; i < m_dataFields; ++i) {
        if (result.rows.columns[i].type != wireTypeOf(m_fields[i].type)) convert << i;
    }
    m_rows.reserve(result.rows.rows.size());
    for (auto& values : result.rows.rows) {
        for (int i : convert)
            values[i] = coerce(values[i], m_fields[i].type);
        m_rows.append(Row{std::move(values), {}, RowStatus::Unchanged});
    }
    result.rows.rows.clear();
    m_state = State::Browse;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    endReset();
    emit stateChanged();
    emit currentRowChanged(m_current);
    emit opened();
}

void RecordSet::buildFields(const OpenResult& result) {
    m_fields.clear();
    m_fieldIndex.clear();
    const bool described = std::any_of(result.columns.begin(), result.columns.end(),
                                       [](const ColumnInfo& c) { return !c.schemaType.isEmpty(); });
    for (qsizetype i = 0; i < result.rows.columns.size(); ++i) {
        const wire::Column& column = result.rows.columns[i];
        const ColumnInfo info = i < result.columns.size() ? result.columns[i] : ColumnInfo{};
        FieldDef f;
        f.name = column.name;
        f.type = typeFromWire(column.type, info.schemaType);
        f.width = f.type == FieldType::Text ? info.width : 0;
        f.required = info.required;
        f.inTable = !described || !info.schemaType.isEmpty();
        f.serial = info.schemaType == u"serial";
        if (f.type == FieldType::Float && f.name.contains(QLatin1String("Per_"), Qt::CaseInsensitive))
            f.displayFormat = QStringLiteral("0.00%");
        m_fields.append(f);
    }
    m_dataFields = int(m_fields.size());
    for (const FieldDef& extra : m_extraFields)
        m_fields.append(extra);
    for (int i = 0; i < m_fields.size(); ++i) {
        FieldDef& f = m_fields[i];
        m_fieldIndex.insert(folded(f.name), i);
        auto hint = m_hints.constFind(folded(f.name));
        if (hint == m_hints.constEnd()) continue;
        if (!hint->caption.isEmpty()) f.caption = hint->caption;
        if (hint->type) f.type = *hint->type;
        if (hint->width) f.width = *hint->width;
        if (hint->required) f.required = *hint->required;
        if (hint->readOnly) f.readOnly = true;
        if (!hint->displayFormat.isEmpty()) f.displayFormat = hint->displayFormat;
        if (hint->visible) f.visible = *hint->visible;
    }
    resolveSources();
}

void RecordSet::resolveSources() {
    for (FieldDef& f : m_fields) {
        f.sourceIndexes.clear();
        for (const QString& s : f.sources)
            f.sourceIndexes << fieldIndex(s);
    }
}

void RecordSet::setFieldHint(const QString& name, FieldHint hint) {
    m_hints.insert(folded(name), std::move(hint));
}

void RecordSet::setFieldVisible(const QString& name, bool visible) {
    m_hints[folded(name)].visible = visible;
    const int index = fieldIndex(name);
    if (index >= 0) m_fields[index].visible = visible;
}

void RecordSet::setFieldCaption(const QString& name, const QString& caption) {
    m_hints[folded(name)].caption = caption;
    const int index = fieldIndex(name);
    if (index >= 0) m_fields[index].caption = caption;
}

void RecordSet::addComputedField(FieldDef def) {
    if (def.kind == FieldKind::Data) def.kind = FieldKind::Calculated;
    def.inTable = false;
    m_extraFields.append(std::move(def));
}

void RecordSet::addLookupField(const QString& name, int width, const QString& keyField,
                               const RecordSet* lookupSet, const QString& lookupKey,
                               const QString& resultField) {
    FieldDef f;
    f.name = name;
    f.type = FieldType::Text;
    f.width = width;
    f.kind = FieldKind::Lookup;
    f.sources = {keyField};
    f.compute = [lookupSet, lookupKey, resultField](const RecordSet& set, int row,
                                                    const QList<int>& sources) {
        if (sources.value(0, -1) < 0 || !lookupSet->isOpen()) return Value();
        const Value key = set.value(row, sources[0]);
        if (key.isNull()) return Value();
        const int keyIndex = lookupSet->fieldIndex(lookupKey);
        const int resultIndex = lookupSet->fieldIndex(resultField);
        if (keyIndex < 0 || resultIndex < 0) return Value();
        const int match = lookupSet->rowByKeyText(keyIndex, key.text());
        return match < 0 ? Value() : lookupSet->value(match, resultIndex);
    };
    addComputedField(std::move(f));
}

int RecordSet::rowByKeyText(int field, const QString& key) const {
    auto it = m_lookupIndex.find(field);
    if (it == m_lookupIndex.end()) {
        QHash<QString, int> index;
        index.reserve(m_rows.size());
        for (int r = int(m_rows.size()) - 1; r >= 0; --r)
            index.insert(m_rows[r].values[field].text(), r);
        it = m_lookupIndex.insert(field, std::move(index));
    }
    return it->value(key, -1);
}

int RecordSet::fieldIndex(QStringView name) const {
    return m_fieldIndex.value(folded(name), -1);
}

int RecordSet::requireField(QStringView name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw DataError(QStringLiteral("数据集 %1 中没有字段 %2").arg(m_name, name.toString()));
    return i;
}

// ---- values

Value RecordSet::value(int row, int field) const {
    if (row < 0 || row >= m_rows.size()) return {};
    if (field < m_dataFields) return m_rows[row].values[field];
    const FieldDef& f = m_fields[field];
    return f.compute ? f.compute(*this, row, f.sourceIndexes) : Value();
}

Value RecordSet::value(QStringView name) const {
    return value(m_current, requireField(name));
}

Value RecordSet::originalValue(int row, int field) const {
    const Row& r = m_rows[row];
    if (field >= m_dataFields || r.original.isEmpty()) return value(row, field);
    return r.original[field];
}

QString RecordSet::displayText(int row, int field) const {
    const Value v = value(row, field);
    switch (v.type()) {
    case Value::Type::Null:
        return {};
    case Value::Type::DateTime:
        return dateText(v.dateTime().date());
    case Value::Type::Double:
        // Shares are stored as percentages (count × 100 / population):
        // the format adds the sign, it does not scale.
        if (m_fields[field].displayFormat == u"0.00%") return QString::number(v.toDouble(), 'f', 2) + u'%';
        return QString::number(v.toDouble(), 'g', 15);
    case Value::Type::Bool:
        return v.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case Value::Type::Int:
        return QString::number(v.toInt());
    default:
        return v.text();
    }
}

QString RecordSet::text(QStringView name) const {
    return displayText(m_current, requireField(name));
}

Value RecordSet::coerce(const Value& value, FieldType type) {
    if (value.isNull()) return value;
    if (value.type() == wireTypeOf(type)) {
        if ((type == FieldType::Text || type == FieldType::Memo) && value.text().isEmpty()) return {};
        return value;
    }
    const QVariant v = value.toVariant();
    bool ok = false;
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const QString t = value.type() == Value::Type::DateTime
                              ? value.dateTime().toString(QStringLiteral("yyyy-MM-dd"))
                              : v.toString();
        return t.isEmpty() ? Value() : Value::fromText(t);
    }
    case FieldType::Integer: {
        if (value.type() == Value::Type::Double) {
            const double d = value.toDouble();
            return std::isfinite(d) ? Value::fromInt(qint64(std::llround(d))) : Value();
        }
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? Value::fromInt(n) : Value();
    }
    case FieldType::Float: {
        const double d =
            value.type() == Value::Type::Bool ? double(value.toBool()) : v.toString().trimmed().toDouble(&ok);
        return ok || value.type() == Value::Type::Bool ? Value::fromDouble(d) : Value();
    }
    case FieldType::Decimal: {
        QString t = value.type() == Value::Type::Double ? QString::number(value.toDouble(), 'f', 4)
                                                        : v.toString().trimmed();
        if (value.type() == Value::Type::Double && t.contains(u'.')) {
            while (t.endsWith(u'0'))
                t.chop(1);
            if (t.endsWith(u'.')) t.chop(1);
        }
        return Value::fromDecimal(t).value_or(Value());
    }
    case FieldType::Boolean:
        if (value.type() == Value::Type::Int) return Value::fromBool(value.toInt() != 0);
        if (value.type() == Value::Type::Text) {
            const QString t = value.text().trimmed();
            if (t == u"1" || t.compare(u"true", Qt::CaseInsensitive) == 0 || t == u"是")
                return Value::fromBool(true);
            if (t == u"0" || t.compare(u"false", Qt::CaseInsensitive) == 0 || t == u"否")
                return Value::fromBool(false);
        }
        return {};
    case FieldType::DateTime:
        if (value.type() == Value::Type::Text) {
            auto d = dates::parseDateText(value.text());
            return d ? Value::fromDateTime(*d) : Value();
        }
        return {};
    }
    return {};
}

// ---- navigation

void RecordSet::setCurrent(int row) {
    if (row == m_current) return;
    m_current = row;
    if (!controlsDisabled()) emit currentRowChanged(row);
}

void RecordSet::checkBrowse() {
    if (isEditing()) post();
}

void RecordSet::first() {
    checkBrowse();
    setCurrent(m_rows.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

void RecordSet::last() {
    checkBrowse();
    setCurrent(int(m_rows.size()) - 1);
    m_eof = true;
    m_bof = m_rows.isEmpty();
}

void RecordSet::next() {
    checkBrowse();
    m_bof = false;
    if (m_current + 1 >= m_rows.size()) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
    m_eof = false;
}

void RecordSet::prior() {
    checkBrowse();
    m_eof = false;
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1);
    m_bof = false;
}

void RecordSet::moveTo(int row) {
    if (row < 0 || row >= m_rows.size()) return;
    if (row != m_current) checkBrowse();
    setCurrent(row);
    m_bof = m_eof = false;
}

// ---- editing

void RecordSet::setState(State state) {
    if (m_state == state) return;
    m_state = state;
    emit stateChanged();
}

void RecordSet::requireEditing() const {
    if (!isEditing()) throw DataError(QStringLiteral("数据集 %1 不在编辑状态，不能修改字段值").arg(m_name));
}

void RecordSet::append() {
    if (!isOpen()) throw DataError(QStringLiteral("数据集 %1 没有打开").arg(m_name));
    checkBrowse();
    m_beforeInsert = m_current;
    const int row = int(m_rows.size());
    notifyInsertBegin(row);
    m_rows.append(Row{QList<Value>(m_dataFields), {}, RowStatus::Inserted});
    dropLookupIndex();
    notifyInsertEnd(row);
    setCurrent(row);
    m_bof = m_eof = false;
    setState(State::Insert);
    if (m_afterInsert) m_afterInsert(*this);
}

void RecordSet::edit() {
    if (isEditing()) return;
    if (!isOpen()) throw DataError(QStringLiteral("数据集 %1 没有打开").arg(m_name));
    if (m_current < 0) throw DataError(QStringLiteral("数据集 %1 没有记录可以修改").arg(m_name));
    m_backup = m_rows[m_current].values;
    setState(State::Edit);
}

void RecordSet::checkWidth(const FieldDef& field, const Value& value) const {
    if (field.type != FieldType::Text || field.width <= 0 || value.isNull()) return;
    const int width = gbk::byteWidth(value.text());
    if (width > field.width)
        throw DataError(
            QStringLiteral("“%1”的内容“%2”有%3个字节，超出了%4个字节的宽度（一个汉字占两个字节），"
                           "请缩短后再保存。")
                .arg(field.label(), value.text())
                .arg(width)
                .arg(field.width));
}

void RecordSet::setValue(QStringView name, const Value& value) {
    setValue(requireField(name), value);
}

void RecordSet::setValue(int field, const Value& value) {
    requireEditing();
    if (field < 0 || field >= m_dataFields)
        throw DataError(QStringLiteral("字段“%1”是计算得出的，不能修改").arg(m_fields.value(field).label()));
    const FieldDef& f = m_fields[field];
    Value v = coerce(value, f.type);
    if (m_cutOverlong && f.type == FieldType::Text && f.width > 0 && !v.isNull() &&
        gbk::byteWidth(v.text()) > f.width)
        v = Value::fromText(cutToGbkWidth(v.text(), f.width));
    if (v.isNull() && !value.isNull() && !(value.type() == Value::Type::Text && value.text().isEmpty()))
        throw DataError(QStringLiteral("“%1”不是%2字段“%3”的有效值")
                            .arg(value.debugText(), fieldTypeName(f.type), f.label()));
    checkWidth(f, v);
    Value& slot = m_rows[m_current].values[field];
    if (slot == v) return;
    slot = v;
    dropLookupIndex();
    notifyRowChanged(m_current);
}

void RecordSet::setText(QStringView name, const QString& text) {
    const int field = requireField(name);
    const FieldDef& f = m_fields[field];
    if (text.trimmed().isEmpty() && f.type != FieldType::Text && f.type != FieldType::Memo) {
        setValue(field, Value());
        return;
    }
    Value typed = Value::fromText(text);
    if (f.type == FieldType::DateTime) {
        auto d = dates::parseDateText(text);
        if (!d) throw DataError(QStringLiteral("“%1”不是有效的日期，请按“年-月-日”输入").arg(text));
        typed = Value::fromDateTime(*d);
    }
    setValue(field, typed);
}

void RecordSet::post() {
    if (!isEditing()) return;
    Row& row = m_rows[m_current];
    for (int i = 0; i < m_dataFields; ++i) {
        const FieldDef& f = m_fields[i];
        if (f.required && !f.serial && row.values[i].isNull())
            throw DataError(QStringLiteral("“%1”必须填写").arg(f.label()));
        checkWidth(f, row.values[i]);
    }
    if (m_state == State::Edit && row.status == RowStatus::Unchanged && row.values != m_backup) {
        row.original = m_backup;
        row.status = RowStatus::Modified;
    }
    m_backup.clear();
    setState(State::Browse);
    notifyRowChanged(m_current);
}

void RecordSet::cancel() {
    if (m_state == State::Insert) {
        const int row = m_current;
        notifyRemoveBegin(row);
        m_rows.removeAt(row);
        dropLookupIndex();
        notifyRemoveEnd(row);
        // Back to the row that was current before the append.
        m_current = -1;
        setCurrent(std::min(m_beforeInsert, int(m_rows.size()) - 1));
        setState(State::Browse);
    } else if (m_state == State::Edit) {
        m_rows[m_current].values = m_backup;
        m_backup.clear();
        dropLookupIndex();
        setState(State::Browse);
        notifyRowChanged(m_current);
    }
}

void RecordSet::remove() {
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (m_current < 0) throw DataError(QStringLiteral("数据集 %1 没有记录可以删除").arg(m_name));
    const int row = m_current;
    Row& r = m_rows[row];
    if (r.status != RowStatus::Inserted)
        m_deleted.append({row, r.status == RowStatus::Modified ? r.original : r.values});
    notifyRemoveBegin(row);
    m_rows.removeAt(row);
    dropLookupIndex();
    notifyRemoveEnd(row);
    m_current = -1;
    setCurrent(std::min(row, int(m_rows.size()) - 1));
    m_eof = m_rows.isEmpty();
}

// ---- change log

bool RecordSet::hasChanges() const {
    return changeCount() > 0;
}

int RecordSet::changeCount() const {
    int n = int(m_deleted.size());
    for (const Row& r : m_rows)
        n += r.status != RowStatus::Unchanged ? 1 : 0;
    return n;
}

void RecordSet::cancelUpdates() {
    if (!isOpen()) return;
    cancel();
    beginReset();
    for (qsizetype i = m_rows.size() - 1; i >= 0; --i) {
        Row& r = m_rows[i];
        if (r.status == RowStatus::Inserted) {
            m_rows.removeAt(i);
        } else if (r.status == RowStatus::Modified) {
            r.values = std::move(r.original);
            r.original.clear();
            r.status = RowStatus::Unchanged;
        }
    }
    // Deleted rows go back where they were, latest deletion first.
    for (qsizetype i = m_deleted.size() - 1; i >= 0; --i) {
        DeletedRow& d = m_deleted[i];
        m_rows.insert(std::min(qsizetype(d.position), m_rows.size()),
                      Row{std::move(d.original), {}, RowStatus::Unchanged});
    }
    m_deleted.clear();
    dropLookupIndex();
    m_current = m_rows.isEmpty() ? -1 : std::clamp(m_current, 0, int(m_rows.size()) - 1);
    endReset();
    emit currentRowChanged(m_current);
}

RecordSet::Snapshot RecordSet::snapshot() {
    if (isOpen()) checkBrowse();
    return Snapshot{m_rows, m_deleted, m_current, isOpen()};
}

void RecordSet::restore(const Snapshot& snapshot) {
    if (!snapshot.open) {
        close(); // opened after the snapshot: what it holds was not stored
        return;
    }
    if (!isOpen()) return;
    cancel();
    beginReset();
    m_rows = snapshot.rows;
    m_deleted = snapshot.deleted;
    dropLookupIndex();
    m_current = m_rows.isEmpty() ? -1 : std::clamp(snapshot.current, 0, int(m_rows.size()) - 1);
    m_bof = m_eof = m_rows.isEmpty();
    endReset();
    emit currentRowChanged(m_current);
}

QCborMap RecordSet::tableFields(const QList<Value>& values, bool skipNullsAndSerials) const {
    QCborMap map;
    for (int i = 0; i < m_dataFields; ++i) {
        const FieldDef& f = m_fields[i];
        if (!f.inTable) continue;
        if (skipNullsAndSerials && (f.serial || values[i].isNull())) continue;
        map.insert(f.name, wire::encodeValue(values[i]));
    }
    return map;
}

int RecordSet::applyUpdates() {
    if (!isOpen()) return 0;
    checkBrowse();
    m_applyMessages.clear();
    QCborArray changes;
    auto change = [](const char* kind, QCborMap values, QCborMap original) {
        QCborMap m;
        m.insert(QStringLiteral("kind"), QString::fromLatin1(kind));
        m.insert(QStringLiteral("values"), values);
        m.insert(QStringLiteral("original"), original);
        return m;
    };
    // Deletions first, so a row deleted and appended again with the same key stores.
    for (const DeletedRow& d : m_deleted)
        changes.append(change("delete", {}, tableFields(d.original, false)));
    QList<int> inserted;
    for (int r = 0; r < m_rows.size(); ++r) {
        const Row& row = m_rows[r];
        if (row.status != RowStatus::Modified) continue;
        QCborMap values;
        for (int i = 0; i < m_dataFields; ++i) {
            if (m_fields[i].inTable && !(row.values[i] == row.original[i]))
                values.insert(m_fields[i].name, wire::encodeValue(row.values[i]));
        }
        if (!values.isEmpty()) changes.append(change("update", values, tableFields(row.original, false)));
    }
    for (int r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r].status != RowStatus::Inserted) continue;
        changes.append(change("insert", tableFields(m_rows[r].values, true), {}));
        inserted << r;
    }
    if (changes.isEmpty()) {
        for (Row& row : m_rows) {
            row.status = RowStatus::Unchanged;
            row.original.clear();
        }
        return 0;
    }
    if (!m_source) throw DataError(QStringLiteral("数据集 %1 没有连接到服务器").arg(m_name));
    const ApplyOutcome outcome = m_source->apply(m_provider, params(), m_command, changes);
    m_applyMessages = outcome.messages;
    if (outcome.failed > 0) return outcome.failed;
    int serialField = -1;
    for (int i = 0; i < m_dataFields; ++i) {
        if (m_fields[i].serial) serialField = i;
    }
    for (int k = 0; k < inserted.size(); ++k) {
        if (serialField >= 0 && k < outcome.serials.size() && outcome.serials[k] >= 0)
            m_rows[inserted[k]].values[serialField] =
                coerce(Value::fromInt(outcome.serials[k]), m_fields[serialField].type);
    }
    for (int r = 0; r < m_rows.size(); ++r) {
        Row& row = m_rows[r];
        if (row.status == RowStatus::Unchanged) continue;
        row.status = RowStatus::Unchanged;
        row.original.clear();
        notifyRowChanged(r);
    }
    m_deleted.clear();
    return 0;
}

// ---- locating

int RecordSet::find(int field, const Value& value, Qt::CaseSensitivity cs) const {
    if (field < 0 || field >= m_fields.size()) return -1;
    const FieldDef& f = m_fields[field];
    const Value wanted = coerce(value, f.type);
    const bool isText = f.type == FieldType::Text || f.type == FieldType::Memo;
    for (int r = 0; r < m_rows.size(); ++r) {
        const Value v = this->value(r, field);
        if (isText && !v.isNull() && !wanted.isNull()) {
            if (v.text().compare(wanted.text(), cs) == 0) return r;
        } else if (v == wanted) {
            return r;
        }
    }
    return -1;
}

bool RecordSet::locate(QStringView field, const Value& value, Qt::CaseSensitivity cs) {
    checkBrowse();
    const int row = find(requireField(field), value, cs);
    if (row < 0) return false;
    moveTo(row);
    return true;
}

// ---- bound views

void RecordSet::disableControls() {
    ++m_disabled;
}

void RecordSet::enableControls() {
    if (m_disabled == 0 || --m_disabled > 0) return;
    if (m_missedStructure) {
        emit aboutToReset();
        emit resetDone();
    } else if (m_missedData) {
        emit rowChanged(-1);
    }
    m_missedStructure = m_missedData = false;
    emit currentRowChanged(m_current);
}

void RecordSet::beginReset() {
    if (controlsDisabled())
        m_missedStructure = true;
    else
        emit aboutToReset();
}

void RecordSet::endReset() {
    if (!controlsDisabled()) emit resetDone();
}

void RecordSet::notifyInsertBegin(int row) {
    if (controlsDisabled())
        m_missedStructure = true;
    else
        emit rowAboutToBeInserted(row);
}

void RecordSet::notifyInsertEnd(int row) {
    if (!controlsDisabled()) emit rowInserted(row);
}

void RecordSet::notifyRemoveBegin(int row) {
    if (controlsDisabled())
        m_missedStructure = true;
    else
        emit rowAboutToBeRemoved(row);
}

void RecordSet::notifyRemoveEnd(int row) {
    if (!controlsDisabled()) emit rowRemoved(row);
}

void RecordSet::notifyRowChanged(int row) {
    if (controlsDisabled())
        m_missedData = true;
    else
        emit rowChanged(row);
}

} // namespace corvexa::client
