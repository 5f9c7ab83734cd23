#include "memberentry.h"

#include "data/datamodule.h"
#include "data/services.h"
#include "frames/dialogbuttons.h"
#include "memberframe.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvexa::client {

MemberEntryDialog::MemberEntryDialog(TDM& dm, Kind kind, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_kind(kind), m_created(clock().today()), m_pages(new QTabWidget(this)) {
    setObjectName(kind == NewMember ? QStringLiteral("TDlgXinZenDY") : QStringLiteral("TDlgXinZenYS"));
    setWindowTitle(kind == NewMember ? QStringLiteral("新增党员") : QStringLiteral("新增预审党员"));
    // One page per population; the frame opens its own, so no tabs show.
    for (const MemberPopulation* p : {&studentMembers(), &staffMembers()}) {
        const EntryPage& entry = kind == NewMember ? p->newMember : p->newCandidate;
        auto* page = new QWidget(m_pages);
        page->setLayout(new QVBoxLayout);
        m_pages->addTab(page, entry.caption);
    }
    m_pages->tabBar()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(okCancelButtons(this));
}

void MemberEntryDialog::openPage(const MemberPopulation& population, RecordSet& info, RecordSet& journal) {
    const int index = population.dialogPage;
    m_entry = m_kind == NewMember ? &population.newMember : &population.newCandidate;
    MemberPanel*& panel = m_panels[size_t(index)];
    if (!panel) {
        QWidget* page = m_pages->widget(index);
        const QSet<QString> fixed{QStringLiteral("DY_ID"), QStringLiteral("Age")};
        panel = new MemberPanel(m_dm, {&info, &journal, nullptr}, {{m_entry->caption, m_entry->fields}},
                                fixed, m_kind == NewCandidate, page, 2);
        page->layout()->addWidget(panel);
        panel->limitDates({QStringLiteral("ChuShengRQ"), QStringLiteral("RuDangRQ"),
                           QStringLiteral("GongZuoRQ"), QStringLiteral("List:YuSenRQ"),
                           QStringLiteral("List:XinZenRQ")},
                          m_created);
        // The first added type is not one a member is typed in with.
        if (auto* types = qobject_cast<QComboBox*>(panel->editor(QStringLiteral("List:XinZenLX"))))
            types->removeItem(0);
    }
    m_panel = panel;
    m_pages->setCurrentIndex(index);
    panel->refillCodeLists();
}

QStringList MemberEntryDialog::missingFields() const {
    QStringList missing;
    if (!m_entry || !m_panel) return missing;
    for (const QString& entry : m_entry->required) {
        RecordSet* set = m_panel->setOf(entry);
        const QString field = panelFieldName(entry);
        const int f = set->fieldIndex(field);
        const Value value = f < 0 || set->currentRow() < 0 ? Value() : set->value(set->currentRow(), f);
        const FieldType type = f < 0 ? FieldType::Text : set->field(f).type;
        const bool empty = type == FieldType::Text || type == FieldType::Memo
                               ? value.text().trimmed().isEmpty()
                               : value.isNull();
        if (empty) missing << entry;
    }
    return missing;
}

void MemberEntryDialog::accept() {
    if (!missingFields().isEmpty()) {
        ShowError(QStringLiteral("所有资料必须填写完整才可以保存!"));
        return;
    }
    QDialog::accept();
}

} // namespace corvexa::client
