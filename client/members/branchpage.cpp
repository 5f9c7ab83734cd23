#include "branchpage.h"

#include "data/datamodule.h"
#include "data/errors.h"
#include "data/recordsetbinder.h"
#include "data/services.h"
#include "data/widgethelpers.h"
#include "frames/appicons.h"
#include "memberframe.h"

#include <QAction>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvexa::client {

BranchPage::BranchPage(RecordSet& branches, const MemberPopulation& population, QWidget* parent)
    : QWidget(parent), m_set(branches), m_population(population),
      m_binder(new RecordSetBinder(&branches, this)), m_prefix(QString::fromLatin1(population.countPrefix)) {
    setObjectName(QStringLiteral("BranchPage"));
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actSave = bar->addAction(appIcon("save"), QStringLiteral("保存修改"));
    actSave->setToolTip(QStringLiteral("保存到数据库"));
    actCancel = bar->addAction(appIcon("cancel"), QStringLiteral("取消修改"));
    connect(actSave, &QAction::triggered, this, [this] { runAction([this] { save(); }); });
    connect(actCancel, &QAction::triggered, this, &BranchPage::cancel);

    auto line = [this](const QString& field, bool readOnly) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(field);
        m_binder->bind(edit, field);
        if (readOnly) {
            edit->setReadOnly(true);
            edit->setStyleSheet(QStringLiteral("background: #e6f4e6;")); // pale green: not to be typed in
        }
        return edit;
    };
    auto* base = new QGroupBox(QString::fromUtf8(population.baseGroup), this);
    auto* baseForm = new QFormLayout(base);
    baseForm->addRow(QStringLiteral("支部名称："), line(QStringLiteral("ZB_Name"), false));
    auto* date = new QDateEdit(base);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    date->setMaximumDate(clock().today());
    m_binder->bind(date, QStringLiteral("ZB_HuanJieRQ"));
    baseForm->addRow(QStringLiteral("换届日期："), date);
    // The secretaries are chosen from the branch's current members.
    auto chosen = [this, base, &line](const QString& field, bool deputy) {
        auto* row = new QHBoxLayout;
        row->addWidget(line(field, false), 1);
        auto* choose = new QToolButton(base);
        choose->setObjectName(field + QStringLiteral("Choose"));
        choose->setText(QStringLiteral("..."));
        connect(choose, &QToolButton::clicked, this, [this, deputy] { emit chooseSecretary(deputy); });
        row->addWidget(choose);
        return row;
    };
    baseForm->addRow(QStringLiteral("支部书记："), chosen(QStringLiteral("ZB_ShuJi"), false));
    baseForm->addRow(QStringLiteral("支部副书记："), chosen(QStringLiteral("ZB_FuShuJi"), true));
    baseForm->addRow(QStringLiteral("书记党员编号："), line(QStringLiteral("ZB_ShuJiID"), false));
    baseForm->addRow(QStringLiteral("副书记党员编号："), line(QStringLiteral("ZB_FuShuJiID"), false));

    auto* counts = new QGroupBox(QString::fromUtf8(population.countGroup), this);
    auto* countForm = new QFormLayout(counts);
    auto* numbers = new NumKeyFilter(this);
    const struct {
        const char* caption;
        const char* part;
        bool typed;
    } rows[] = {{population.headCountCaption, "RS_JiChu", true},
                {"积极分子人数：", "RS_JiJi", true},
                {"申请入党人数：", "RS_SenQing", true},
                {"现有党员人数：", "RS_XianYou", false},
                {"预审党员人数：", "RS_YuSen", false},
                {population.addedCaption, "RS_XinZen", false},
                {population.decreasedCaption, "RS_JianSao", false},
                {"现有党员比例：", "Per_XianYou", false},
                {"预审党员比例：", "Per_YuSen", false},
                {"积极分子比例：", "Per_JiJi", false},
                {"申请入党比例：", "Per_SenQing", false}};
    for (const auto& r : rows) {
        QLineEdit* edit = line(m_prefix + QString::fromLatin1(r.part), !r.typed);
        if (r.typed) edit->installEventFilter(numbers);
        if (qstrcmp(r.part, "RS_SenQing") == 0)
            edit->setToolTip(QStringLiteral("申请入党人数不包括现有党员人数"));
        countForm->addRow(QString::fromUtf8(r.caption), edit);
    }
    auto* groups = new QHBoxLayout;
    groups->addWidget(base, 1);
    groups->addWidget(counts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addLayout(groups);
    layout->addStretch(1);
    connect(&m_set, &RecordSet::stateChanged, this, &BranchPage::updateActions);
    updateActions();
}

QLineEdit* BranchPage::edit(const QString& field) const {
    return findChild<QLineEdit*>(field);
}

void BranchPage::showBranch(const QString& branchId) {
    if (m_set.isEditing()) m_set.cancel();
    m_set.locate(u"ZB_ID", Value::fromText(branchId));
    m_name = m_set.value(u"ZB_Name").text();
    m_binder->refresh();
    updateActions();
}

void BranchPage::updateActions() {
    actSave->setEnabled(m_set.isEditing());
    actCancel->setEnabled(m_set.isEditing());
}

int BranchPage::count(const char* part) const {
    return int(m_set.value(m_prefix + QString::fromLatin1(part)).toInt());
}

QString BranchPage::checkCounts(int headCount, int applicants, int activists, int members) {
    if (headCount < activists || headCount < applicants)
        return QStringLiteral("支部人数不能少于积极分子人数或申请入党人数！");
    if (applicants < activists) return QStringLiteral("积极分子人数不能大于申请入党人数！");
    if (headCount < applicants + members)
        return QStringLiteral("支部人数不能小于现有党员人数与申请人数之和！");
    return {};
}

bool BranchPage::save() {
    const QString problem =
        checkCounts(count("RS_JiChu"), count("RS_SenQing"), count("RS_JiJi"), count("RS_XianYou"));
    if (!problem.isEmpty()) {
        ShowError(problem);
        return false;
    }
    TDM::applyOrRaise(m_set);
    const QString name = m_set.value(u"ZB_Name").text();
    if (name != m_name) {
        m_name = name;
        emit renamed(name);
    }
    updateActions();
    return true;
}

void BranchPage::setSecretary(bool deputy, const QString& id, const QString& name) {
    if (!m_set.isEditing()) m_set.edit();
    m_set.setValue(deputy ? u"ZB_FuShuJi" : u"ZB_ShuJi", Value::fromText(name));
    m_set.setValue(deputy ? u"ZB_FuShuJiID" : u"ZB_ShuJiID", Value::fromText(id));
    m_binder->refresh();
    updateActions();
}

void BranchPage::cancel() {
    if (m_set.isEditing()) m_set.cancel();
    m_binder->refresh();
    updateActions();
}

} // namespace corvexa::client
