#include "recordsetbinder.h"

#include "common/gbk.h"
#include "errors.h"
#include "services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

namespace corvexa::client {

QValidator::State GbkWidthValidator::validate(QString& input, int&) const {
    return gbk::byteWidth(input) <= m_width ? Acceptable : Invalid;
}

RecordSetBinder::RecordSetBinder(RecordSet* set, QObject* parent) : QObject(parent), m_set(set) {
    m_onError = [](const QString& text) { ShowWarning(text); };
    connect(set, &RecordSet::currentRowChanged, this, &RecordSetBinder::refresh);
    connect(set, &RecordSet::resetDone, this, &RecordSetBinder::refresh);
    connect(set, &RecordSet::stateChanged, this, &RecordSetBinder::refresh);
    connect(set, &RecordSet::rowChanged, this, [this](int row) {
        if (row < 0 || row == m_set->currentRow()) refresh();
    });
}

void RecordSetBinder::add(QWidget* widget, const QString& field, Kind kind) {
    m_bindings.append({widget, field, kind});
    show(m_bindings.last());
}

bool RecordSetBinder::store(const QString& field, const std::function<void()>& write) {
    if (m_showing || !m_set) return true;
    try {
        if (!m_set->isEditing()) m_set->edit();
        write();
        return true;
    } catch (const DataError& e) {
        m_onError(e.message());
        const int f = m_set->fieldIndex(field);
        for (const Binding& b : m_bindings) {
            if (m_set->fieldIndex(b.field) == f) show(b);
        }
        return false;
    }
}

void RecordSetBinder::bind(QLineEdit* edit, const QString& field) {
    const int f = m_set->fieldIndex(field);
    if (f >= 0 && m_set->field(f).type == FieldType::Text && m_set->field(f).width > 0)
        edit->setValidator(new GbkWidthValidator(m_set->field(f).width, edit));
    connect(edit, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { store(field, [&] { m_set->setText(field, text); }); });
    add(edit, field, Kind::Line);
}

void RecordSetBinder::bind(QComboBox* combo, const QString& field) {
    connect(combo, &QComboBox::activated, this, [this, field, combo](int index) {
        store(field, [&] { m_set->setText(field, combo->itemText(index)); });
    });
    add(combo, field, Kind::Combo);
}

void RecordSetBinder::bind(QDateEdit* edit, const QString& field) {
    edit->setSpecialValueText(QStringLiteral(" "));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    connect(edit, &QDateEdit::dateChanged, this, [this, field, edit](QDate date) {
        const Value v = date == edit->minimumDate()
                            ? Value()
                            : Value::fromDateTime(QDateTime(date, QTime(0, 0), Qt::UTC));
        store(field, [&] { m_set->setValue(field, v); });
    });
    add(edit, field, Kind::Date);
}

void RecordSetBinder::bind(QCheckBox* box, const QString& field) {
    connect(box, &QCheckBox::clicked, this, [this, field](bool checked) {
        store(field, [&] { m_set->setValue(field, Value::fromBool(checked)); });
    });
    add(box, field, Kind::Check);
}

void RecordSetBinder::bind(QPlainTextEdit* edit, const QString& field) {
    connect(edit, &QPlainTextEdit::textChanged, this, [this, field, edit] {
        const QString text = edit->toPlainText();
        store(field, [&] { m_set->setText(field, text); });
    });
    add(edit, field, Kind::Memo);
}

void RecordSetBinder::refresh() {
    for (const Binding& b : m_bindings)
        show(b);
}

void RecordSetBinder::setReadOnly(const QString& field, bool readOnly) {
    for (Binding& b : m_bindings) {
        if (b.field.compare(field, Qt::CaseInsensitive) != 0) continue;
        b.forcedReadOnly = readOnly;
        show(b);
    }
}

void RecordSetBinder::show(const Binding& b) {
    if (!b.widget || !m_set) return;
    const bool has = m_set->isOpen() && m_set->currentRow() >= 0 && m_set->fieldIndex(b.field) >= 0;
    const int f = has ? m_set->fieldIndex(b.field) : -1;
    const Value v = has ? m_set->value(m_set->currentRow(), f) : Value();
    const QString text = has ? m_set->displayText(m_set->currentRow(), f) : QString();
    const bool readOnly = !has || !m_set->field(f).isEditable() || b.forcedReadOnly;
    QScopedValueRollback guard(m_showing, true);
    switch (b.kind) {
    case Kind::Line: {
        auto* e = static_cast<QLineEdit*>(b.widget.data());
        if (e->text() != text) e->setText(text);
        e->setReadOnly(readOnly);
        break;
    }
    case Kind::Combo: {
        auto* c = static_cast<QComboBox*>(b.widget.data());
        c->setCurrentIndex(c->findText(text));
        c->setEnabled(!readOnly);
        break;
    }
    case Kind::Date: {
        auto* e = static_cast<QDateEdit*>(b.widget.data());
        e->setDate(v.isNull() ? e->minimumDate() : v.dateTime().date());
        e->setReadOnly(readOnly);
        break;
    }
    case Kind::Check: {
        auto* c = static_cast<QCheckBox*>(b.widget.data());
        c->setChecked(v.toBool());
        c->setEnabled(!readOnly);
        break;
    }
    case Kind::Memo: {
        auto* e = static_cast<QPlainTextEdit*>(b.widget.data());
        if (e->toPlainText() != text) e->setPlainText(text);
        e->setReadOnly(readOnly);
        break;
    }
    }
}

} // namespace corvexa::client
