#pragma once
// Ties edit controls to the fields of a record set's current row: they show
// the row's values, and what the user types starts editing the record.
#include "recordset.h"

#include <QObject>
#include <QPointer>
#include <QValidator>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace corvexa::client {

// Refuses typing beyond a width counted in GBK bytes.
class GbkWidthValidator : public QValidator {
public:
    GbkWidthValidator(int width, QObject* parent) : QValidator(parent), m_width(width) {}
    State validate(QString& input, int& pos) const override;

private:
    int m_width;
};

class RecordSetBinder : public QObject {
    Q_OBJECT
public:
    explicit RecordSetBinder(RecordSet* set, QObject* parent = nullptr);

    void bind(QLineEdit* edit, const QString& field);
    // Drop-down-only lists: the item's text is the value.
    void bind(QComboBox* combo, const QString& field);
    // An empty date shows as a blank at the earliest date of the picker.
    void bind(QDateEdit* edit, const QString& field);
    void bind(QCheckBox* box, const QString& field);
    void bind(QPlainTextEdit* edit, const QString& field);

    // Shows the current row's values again.
    void refresh();
    // Keeps the field's controls read-only whatever the field allows (a
    // screen that shows a field without letting it be typed in).
    void setReadOnly(const QString& field, bool readOnly);
    // Called with the text of a value the record set refused (default: a warning box).
    void setErrorHandler(std::function<void(const QString&)> handler) { m_onError = std::move(handler); }

private:
    enum class Kind { Line, Combo, Date, Check, Memo };
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
        Kind kind;
        bool forcedReadOnly = false;
    };
    void add(QWidget* widget, const QString& field, Kind kind);
    void show(const Binding& binding);
    // Starts editing when needed and stores the value; false when refused.
    bool store(const QString& field, const std::function<void()>& write);

    QPointer<RecordSet> m_set;
    QList<Binding> m_bindings;
    bool m_showing = false;
    std::function<void(const QString&)> m_onError;
};

} // namespace corvexa::client
