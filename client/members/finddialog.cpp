#include "finddialog.h"

#include "data/datamodule.h"
#include "data/services.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {

namespace {
// The member tables of both populations, their branch tables, and the
// journal of each category in the order of the category numbers.
const char* const kInfoTables[] = {"Stud_DYInfo", "Staff_DYInfo"};
const char* const kBranchTables[] = {"DZB_XS", "DZB_ZG"};
const char* const kPrefixes[] = {"Stud_", "Staff_"};
const char* const kCategoryTables[] = {"XianYou", "YuSen", "XinZen", "JianSao"};
const char* const kPageCaptions[] = {"学生现有", "学生预审", "学生新增", "学生减少",
                                     "职工现有", "职工预审", "职工新增", "职工减少"};
const char* const kCheckLines[2][5] = {
    {"//学生党员", "学生现有党员", "学生预审党员", "学生新增党员", "学生减少党员"},
    {"//职工党员", "职工现有党员", "职工预审党员", "职工新增党员", "职工减少党员"}};
} // namespace

const FindDescriptor& findByName() {
    static const FindDescriptor d{
        "DlgFindDY",
        "查找党员",
        "姓名：",
        "全名匹配",
        "请输入要查找党员的姓名。",
        "Select A.DY_ID,A.Name,A.Sex,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from ",
        "A.Name",
        {{"党员ID", "DY_ID"},
         {"姓名", "Name"},
         {"性别", "Sex"},
         {"籍贯", "JiGuan"},
         {"二级党组织", "DZZ_Name"},
         {"党支部", "ZB_Name"},
         {"党组织ID", "DZZ_ID"},
         {"党支部ID", "DZB_ID"}},
        7};
    return d;
}

const FindDescriptor& findByFormNumber() {
    static const FindDescriptor d{
        "DlgFindZYS",
        "查找入党志愿书",
        "入党志愿书编号：",
        "完全匹配",
        "请输入要查找入党志愿书编号。",
        "Select A.DY_ID,A.Name,A.Sex,A.ZYS_No,A.JiGuan,B.DZZ_ID,B.DZB_ID,C.DZZ_Name,D.ZB_Name  from ",
        "A.ZYS_No",
        {{"党员ID", "DY_ID"},
         {"姓名", "Name"},
         {"性别", "Sex"},
         {"籍贯", "JiGuan"},
         {"入党志愿书编号", "ZYS_No"},
         {"二级党组织", "DZZ_Name"},
         {"党支部", "ZB_Name"},
         {"党组织ID", "DZZ_ID"},
         {"党支部ID", "DZB_ID"}},
        8};
    return d;
}

CategoryCheckList::CategoryCheckList(const QStringList& lines, QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::NoSelection);
    for (const QString& line : lines) {
        auto* item = new QListWidgetItem(this);
        if (line.startsWith(QStringLiteral("//"))) {
            item->setText(line.mid(2));
            item->setFlags(Qt::ItemIsEnabled);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            continue;
        }
        item->setText(line);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        m_items.push_back(item);
    }
    // As tall as its lines.
    setFixedHeight(sizeHintForRow(0) * count() + 2 * frameWidth() + 4);
}

bool CategoryCheckList::isTicked(int item) const {
    return m_items[size_t(item)]->checkState() == Qt::Checked;
}

void CategoryCheckList::setTicked(int item, bool ticked) {
    m_items[size_t(item)]->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

int CategoryCheckList::tickedCount() const {
    int count = 0;
    for (int i = 0; i < itemCount(); ++i)
        count += isTicked(i) ? 1 : 0;
    return count;
}

FindMemberDialog::FindMemberDialog(TDM& dm, const FindDescriptor& descriptor, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_descriptor(descriptor) {
    setObjectName(QString::fromLatin1(descriptor.objectName));
    setWindowTitle(QString::fromUtf8(descriptor.caption));
    setModal(false);

    auto* settings = new QGroupBox(QStringLiteral("查找设置"), this);
    auto* settingsLayout = new QGridLayout(settings);
    edtText = new QLineEdit(settings);
    rbExact = new QRadioButton(QString::fromUtf8(descriptor.exactChoice), settings);
    rbPart = new QRadioButton(QStringLiteral("部分匹配"), settings);
    rbExact->setChecked(true);
    settingsLayout->addWidget(new QLabel(QString::fromUtf8(descriptor.fieldLabel), settings), 0, 0);
    settingsLayout->addWidget(edtText, 0, 1, 1, 3);
    settingsLayout->addWidget(rbExact, 1, 1);
    settingsLayout->addWidget(rbPart, 1, 2);
    settingsLayout->setColumnStretch(3, 1);

    auto* range = new QGroupBox(QStringLiteral("查找范围"), this);
    auto* rangeLayout = new QHBoxLayout(range);
    for (int p = 0; p < 2; ++p) {
        QStringList lines;
        for (const char* line : kCheckLines[p])
            lines << QString::fromUtf8(line);
        m_checkLists[size_t(p)] = new CategoryCheckList(lines, range);
        m_checkLists[size_t(p)]->setObjectName(QString::fromLatin1(p ? "chkStaff" : "chkStud"));
        rangeLayout->addWidget(m_checkLists[size_t(p)]);
    }

    auto* results = new QGroupBox(QStringLiteral("查找结果"), this);
    auto* resultsLayout = new QVBoxLayout(results);
    pages = new QTabWidget(results);
    QStringList headers;
    for (const FindColumn& column : descriptor.columns)
        headers << QString::fromUtf8(column.caption);
    for (int p = 0; p < 2; ++p) {
        for (int category = 0; category < 4; ++category) {
            auto* list = new QTreeWidget(pages);
            list->setObjectName(QStringLiteral("ListResult%1").arg(index(p, category)));
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setAllColumnsShowFocus(true);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list->setHeaderLabels(headers);
            const bool staff = p == 1;
            connect(list, &QTreeWidget::itemDoubleClicked, this,
                    [this, staff, category] { showHit(staff, category); });
            pages->addTab(list, QString::fromUtf8(kPageCaptions[index(p, category)]));
            m_results[index(p, category)] = list;
        }
    }
    resultsLayout->addWidget(pages);

    btnFind = new QPushButton(QStringLiteral("查找"), this);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnFind->setDefault(true);
    connect(btnFind, &QPushButton::clicked, this, &FindMemberDialog::find);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnFind);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settings);
    layout->addWidget(range);
    layout->addWidget(results, 1);
    layout->addLayout(buttons);
    resize(720, 560);

    // A population the account may not manage cannot be searched: its list is
    // disabled and unticked, its result pages hidden.
    const bool rights[] = {dm.login.GL_XueSheng, dm.login.GL_ZhiGong};
    for (int p = 0; p < 2; ++p) {
        CategoryCheckList* list = m_checkLists[size_t(p)];
        list->setEnabled(rights[p]);
        for (int category = 0; category < 4; ++category) {
            if (!rights[p]) list->setTicked(category, false);
            pages->setTabVisible(pageOf(p, category), rights[p]);
        }
    }
    openFirstVisiblePage();
}

QString FindMemberDialog::queryText(bool staff, int category, const QString& text) const {
    const int p = staff ? 1 : 0;
    const QString column = QString::fromLatin1(m_descriptor.conditionColumn);
    const QString condition =
        rbExact->isChecked() ? u' ' + column + u'=' + TDM::quoted(text)
                             : u' ' + column + QStringLiteral(" Like ") + TDM::quoted(u'%' + text + u'%');
    return QString::fromLatin1(m_descriptor.selectHead) + QString::fromLatin1(kInfoTables[p]) +
           QStringLiteral(" A, ") + QString::fromLatin1(kPrefixes[p]) +
           QString::fromLatin1(kCategoryTables[category]) + QStringLiteral(" B, DZZ_List C, ") +
           QString::fromLatin1(kBranchTables[p]) +
           QStringLiteral(" D  where A.DY_ID=B.DY_ID and B.DZZ_ID=C.DZZ_ID and B.DZB_ID=D.ZB_ID and  "
                          "B.DZZ_ID=") +
           TDM::quoted(m_dm.login.DZZ_ID) + QStringLiteral(" and ") + condition;
}

void FindMemberDialog::find() {
    const QString text = edtText->text().trimmed();
    if (text.isEmpty()) {
        ShowError(QString::fromUtf8(m_descriptor.emptyMessage));
        return;
    }
    if (m_checkLists[0]->tickedCount() + m_checkLists[1]->tickedCount() == 0) {
        ShowError(QStringLiteral("请指定查找范围！"));
        return;
    }
    for (int p = 0; p < 2; ++p) {
        const CategoryCheckList* list = m_checkLists[size_t(p)];
        if (!list->isEnabled()) continue;
        for (int category = 0; category < 4; ++category) {
            const bool ticked = list->isTicked(category);
            pages->setTabVisible(pageOf(p, category), ticked);
            if (!ticked) continue;
            m_dm.OpenSQL(m_dm.CDS_Temp(), queryText(p, category, text));
            fill(m_results[index(p, category)]);
        }
    }
    openFirstVisiblePage();
    ShowInfo(QStringLiteral("查找完成！"));
}

// One row per answer row, in the order the server gave them.
void FindMemberDialog::fill(QTreeWidget* list) {
    RecordSet& answer = m_dm.CDS_Temp();
    std::vector<int> fields;
    for (const FindColumn& column : m_descriptor.columns)
        fields.push_back(answer.requireField(QString::fromLatin1(column.field)));
    list->clear();
    QList<QTreeWidgetItem*> rows;
    for (int r = 0; r < answer.rowCount(); ++r) {
        QStringList texts;
        for (int f : fields)
            texts << answer.displayText(r, f);
        rows << new QTreeWidgetItem(texts);
    }
    list->addTopLevelItems(rows);
    answer.close();
}

void FindMemberDialog::openFirstVisiblePage() {
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->isTabVisible(i)) {
            pages->setCurrentIndex(i);
            return;
        }
    }
}

void FindMemberDialog::showHit(bool staff, int category) {
    const QTreeWidget* list = resultList(staff, category);
    const QTreeWidgetItem* row = list->currentItem();
    if (!row || !row->isSelected()) return;
    emit showMember(staff, row->text(m_descriptor.branchColumn), row->text(0), category);
}

} // namespace corvexa::client
