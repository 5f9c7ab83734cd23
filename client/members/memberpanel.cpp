#include "memberpanel.h"

#include "data/catalogue.h"
#include "data/datamodule.h"
#include "data/recordsetbinder.h"
#include "data/services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace corvexa::client {

namespace {
const QString kReadOnlyStyle = QStringLiteral("background: #e6f4e6;"); // pale green: not to be typed in
}

MemberPanel::MemberPanel(TDM& dm, RecordSet& set, const QList<PanelGroup>& groups,
                         const QSet<QString>& readOnly, bool candidate, QWidget* parent)
    : QWidget(parent), m_dm(dm), m_set(set), m_binder(new RecordSetBinder(&set, this)),
      m_candidate(candidate) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const PanelGroup& group : groups) {
        auto* box = new QGroupBox(group.caption, this);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        int index = 0;
        for (const QString& field : group.fields) {
            const int f = set.fieldIndex(field);
            const FieldType type = f >= 0 ? set.field(f).type : FieldType::Text;
            QWidget* editor = nullptr;
            if (type == FieldType::DateTime) {
                auto* date = new QDateEdit(box);
                date->setCalendarPopup(true);
                // Dates of what has happened cannot lie ahead; graduation can.
                static const QStringList past = {QStringLiteral("ChuShengRQ"), QStringLiteral("RuDangRQ"),
                                                 QStringLiteral("GongZuoRQ"), QStringLiteral("LiuChuRQ")};
                if (past.contains(field)) date->setMaximumDate(clock().today());
                m_binder->bind(date, field);
                editor = date;
            } else if (type == FieldType::Boolean) {
                auto* check = new QCheckBox(Catalogue::memberCaption(field), box);
                m_binder->bind(check, field);
                editor = check;
            } else if (type == FieldType::Memo) {
                auto* memo = new QPlainTextEdit(box);
                memo->setMaximumHeight(48);
                m_binder->bind(memo, field);
                editor = memo;
            } else if (!readOnly.contains(field) && Catalogue::codeListFor(field, candidate)) {
                auto* combo = new QComboBox(box);
                dm.fillCodeCombo(combo, field, candidate);
                m_binder->bind(combo, field);
                editor = combo;
            } else {
                auto* edit = new QLineEdit(box);
                m_binder->bind(edit, field);
                editor = edit;
            }
            editor->setObjectName(field);
            // Three label-editor pairs per line.
            const int row = index / 3, column = (index % 3) * 2;
            if (type != FieldType::Boolean) {
                QString caption = Catalogue::memberCaption(field);
                if (caption.isEmpty()) caption = field;
                grid->addWidget(new QLabel(caption + QStringLiteral("："), box), row, column);
            }
            grid->addWidget(editor, row, column + 1);
            grid->setColumnStretch(column + 1, 1);
            m_editors.insert(field, editor);
            ++index;
        }
        layout->addWidget(box);
    }
    layout->addStretch(1);
    setFieldsReadOnly(readOnly.values(), true);
}

void MemberPanel::refresh() {
    m_binder->refresh();
}

void MemberPanel::refillCodeLists() {
    for (const char* field : {"ZuanYe", "BanJi"}) {
        if (auto* combo = qobject_cast<QComboBox*>(m_editors.value(QString::fromLatin1(field))))
            m_dm.fillCodeCombo(combo, QString::fromLatin1(field), m_candidate);
    }
    m_binder->refresh();
}

void MemberPanel::setFieldsReadOnly(const QStringList& fields, bool readOnly) {
    for (const QString& field : fields) {
        m_binder->setReadOnly(field, readOnly);
        if (auto* edit = qobject_cast<QLineEdit*>(m_editors.value(field)))
            edit->setStyleSheet(readOnly ? kReadOnlyStyle : QString());
    }
}

} // namespace corvexa::client
