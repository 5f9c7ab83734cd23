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

// Labels of the category rows' own fields.
QString journalCaption(const QString& field) {
    static const QHash<QString, QString> captions = {
        {QStringLiteral("YuSenRQ"), QStringLiteral("预审时间")},
        {QStringLiteral("XinZenLX"), QStringLiteral("新增类型")},
        {QStringLiteral("XinZenRQ"), QStringLiteral("新增日期")},
        {QStringLiteral("JianSaoLX"), QStringLiteral("减少类型")},
        {QStringLiteral("JianSaoRQ"), QStringLiteral("减少日期")},
        {QStringLiteral("XiaoNeiID"), QStringLiteral("介绍信编号")},
        {QStringLiteral("GZW_ID"), QStringLiteral("高工委编号")},
    };
    return captions.value(field);
}
} // namespace

QString panelFieldName(const QString& entry) {
    const qsizetype colon = entry.indexOf(u':');
    return colon < 0 ? entry : entry.mid(colon + 1);
}

MemberPanel::MemberPanel(TDM& dm, PanelSets sets, const QList<PanelGroup>& groups,
                         const QSet<QString>& readOnly, bool candidate, QWidget* parent, int pairsPerLine)
    : QWidget(parent), m_dm(dm), m_sets(sets), m_candidate(candidate) {
    for (RecordSet* set : {sets.info, sets.journal, sets.letters})
        m_binders << (set ? new RecordSetBinder(set, this) : nullptr);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const PanelGroup& group : groups) {
        auto* box = new QGroupBox(group.caption, this);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        int index = 0;
        for (const QString& entry : group.fields) {
            RecordSet* set = setOf(entry);
            RecordSetBinder* binder = binderOf(entry);
            if (!set || !binder) continue;
            const QString field = panelFieldName(entry);
            const int f = set->fieldIndex(field);
            const FieldType type = f >= 0 ? set->field(f).type : FieldType::Text;
            QString caption = entry == field ? Catalogue::memberCaption(field) : journalCaption(field);
            if (f >= 0 && !set->field(f).caption.isEmpty()) caption = set->field(f).caption;
            if (caption.isEmpty()) caption = field;
            QWidget* editor = nullptr;
            if (type == FieldType::DateTime) {
                auto* date = new QDateEdit(box);
                date->setCalendarPopup(true);
                binder->bind(date, field);
                editor = date;
            } else if (type == FieldType::Boolean) {
                auto* check = new QCheckBox(caption, box);
                binder->bind(check, field);
                editor = check;
            } else if (type == FieldType::Memo) {
                auto* memo = new QPlainTextEdit(box);
                memo->setMaximumHeight(48);
                binder->bind(memo, field);
                editor = memo;
            } else if (!readOnly.contains(entry) && Catalogue::codeListFor(field, candidate)) {
                auto* combo = new QComboBox(box);
                dm.fillCodeCombo(combo, field, candidate);
                binder->bind(combo, field);
                editor = combo;
            } else {
                auto* edit = new QLineEdit(box);
                binder->bind(edit, field);
                editor = edit;
            }
            editor->setObjectName(field);
            const int row = index / pairsPerLine, column = (index % pairsPerLine) * 2;
            if (type != FieldType::Boolean)
                grid->addWidget(new QLabel(caption + QStringLiteral("："), box), row, column);
            grid->addWidget(editor, row, column + 1);
            grid->setColumnStretch(column + 1, 1);
            m_editors.insert(entry, editor);
            ++index;
        }
        layout->addWidget(box);
        m_groups << box;
    }
    layout->addStretch(1);
    setFieldsReadOnly(readOnly.values(), true);
    // Dates of what has happened cannot lie ahead; graduation can.
    limitDates({QStringLiteral("ChuShengRQ"), QStringLiteral("RuDangRQ"), QStringLiteral("GongZuoRQ"),
                QStringLiteral("LiuChuRQ")},
               clock().today());
}

RecordSet* MemberPanel::setOf(const QString& entry) const {
    if (entry.startsWith(u"List:")) return m_sets.journal;
    if (entry.startsWith(u"Letters:")) return m_sets.letters;
    return m_sets.info;
}

RecordSetBinder* MemberPanel::binderOf(const QString& entry) const {
    if (entry.startsWith(u"List:")) return m_binders[1];
    if (entry.startsWith(u"Letters:")) return m_binders[2];
    return m_binders[0];
}

void MemberPanel::refresh() {
    for (RecordSetBinder* binder : m_binders)
        if (binder) binder->refresh();
}

void MemberPanel::refillCodeLists() {
    for (const char* field : {"ZuanYe", "BanJi"}) {
        if (auto* combo = qobject_cast<QComboBox*>(m_editors.value(QString::fromLatin1(field))))
            m_dm.fillCodeCombo(combo, QString::fromLatin1(field), m_candidate);
    }
    refresh();
}

void MemberPanel::setFieldsReadOnly(const QStringList& fields, bool readOnly) {
    for (const QString& entry : fields) {
        if (RecordSetBinder* binder = binderOf(entry)) binder->setReadOnly(panelFieldName(entry), readOnly);
        QWidget* editor = m_editors.value(entry);
        if (qobject_cast<QLineEdit*>(editor) || qobject_cast<QDateEdit*>(editor))
            editor->setStyleSheet(readOnly ? kReadOnlyStyle : QString());
    }
}

void MemberPanel::limitDates(const QStringList& fields, const QDate& last) {
    for (const QString& entry : fields)
        if (auto* date = qobject_cast<QDateEdit*>(m_editors.value(entry))) date->setMaximumDate(last);
}

} // namespace corvexa::client
