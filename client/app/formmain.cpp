#include "formmain.h"

#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "dlgmodify.h"
#include "frames/appicons.h"
#include "frames/formcode.h"
#include "frames/framebasic.h"
#include "frames/groupbar.h"
#include "frames/placeholderframe.h"
#include "members/finddialog.h"
#include "members/memberframe.h"
#include "org/branchtree.h"
#include "splash.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvexa::client {

// The area right of the group bar: the background picture while no frame is
// shown, else the work panel that fills it.
class WorkArea : public QWidget {
public:
    explicit WorkArea(QWidget* parent) : QWidget(parent), m_background(appPicture("background")) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        panel = new QWidget(this);
        panel->setObjectName(QStringLiteral("PanelWork"));
        panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(panel);
        panel->hide();
    }
    QWidget* panel;
    QVBoxLayout* panelLayout;

protected:
    void paintEvent(QPaintEvent*) override {
        if (panel->isVisible()) return;
        QPainter p(this);
        if (m_background.isNull())
            p.fillRect(rect(), QColor(0xf7, 0xf4, 0xef));
        else
            p.drawPixmap(rect(), m_background);
    }
    void resizeEvent(QResizeEvent*) override { update(); }

private:
    QPixmap m_background;
};

namespace {
struct ActionDef {
    const char* name;
    const char* caption;
    const char* hint;
    const char* icon;
};

// The frames the entries of the main window show, by tag.
struct FrameDef {
    int tag;
    const char* title;
};
const FrameDef kFrames[] = {
    {10, "学生党员管理：二级党组织"},
    {11, "学生党员管理：党支部"},
    {20, "职工党员管理：二级党组织"},
    {21, "职工党员管理：党支部"},
    {31, "数据查询"},
    {41, "数据统计"},
    {50, "毕业生组织关系转移"},
    {51, "毕业生组织关系转移：党支部"},
    {61, "学生流动党员"},
    {62, "职工流动党员"},
};

const char* const kSqlKinds[] = {"XS", "XSYS", "XSXZ", "XSJS", "ZG", "ZGYS", "ZGXZ", "ZGJS", "DZB"};
const char* const kSqlCaptions[] = {"学生党员查询",     "学生预审党员查询", "学生新增党员查询",
                                    "学生减少党员查询", "职工党员查询",     "职工预审党员查询",
                                    "职工新增党员查询", "职工减少党员查询", "党支部书记查询"};
const char* const kTjCaptions[] = {"学生党员统计",     "学生预审党员统计", "学生新增党员统计",
                                   "学生减少党员统计", "职工党员统计",     "职工预审党员统计",
                                   "职工新增党员统计", "职工减少党员统计", "党支部书记统计"};
const char* const kSqlNames[] = {"actSQL_XS",   "actSQL_XSYS", "actSQL_XSXZ", "actSQL_XSJS", "actSQL_ZG",
                                 "actSQL_ZGYS", "actSQL_ZGXZ", "actSQL_ZGJS", "actSQL_DZB"};
const char* const kTjNames[] = {"actTJ_XS",   "actTJ_XSYS", "actTJ_XSXZ", "actTJ_XSJS", "actTJ_ZG",
                                "actTJ_ZGYS", "actTJ_ZGXZ", "actTJ_ZGJS", "actTJ_DZB"};
const char* const kViewNames[] = {"actView_Stud",   "actView_Staff", "actView_SQL",
                                  "actView_TongJi", "actView_BYS",   "actView_LiuDong"};

// A find window is made on first use and kept for the run, so it shows again
// with what it showed; its hits open in the member frame.
template <class Dialog> void showFindWindow(TFormMain* window, TDM& dm) {
    auto* dialog = window->findChild<Dialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new Dialog(dm, window);
        QObject::connect(dialog, &FindMemberDialog::showMember, window,
                         [window](bool staff, const QString& branch, const QString& member, int category) {
                             if (staff)
                                 window->ShowMemberZG(branch, member, category);
                             else
                                 window->ShowMemberXS(branch, member, category);
                         });
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
} // namespace

TFormMain::TFormMain(TDM& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("QuarnwellLundrel（二级党组织版）"));
    setWindowIcon(appIcon("app"));
    createActions();
    createMenusAndToolBar();
    createPanels();
    applyRights();
    buildTrees();

    m_statusUser->setText(QStringLiteral("登录用户：") + m_dm.login.LoginName);
    m_statusDZZ->setText(QStringLiteral("二级党组织：") + m_dm.login.DZZ_Name);
    m_statusWorkYear->setText(QStringLiteral("工作年度：") + QString::number(m_dm.login.WorkYear));
    setRecordCountSink([this](const QString& text) { m_statusRecCount->setText(text); });

    registerFrame(
        11, [this](QWidget* parent) { return new TFrameDY(m_dm, studentMembers(), m_treeStud, parent); });
    registerFrame(
        21, [this](QWidget* parent) { return new TFrameDY(m_dm, staffMembers(), m_treeStaff, parent); });

    m_keepAlive = new QTimer(this);
    m_keepAlive->setInterval(60000);
    connect(m_keepAlive, &QTimer::timeout, this, &TFormMain::keepAlive);
    m_keepAlive->start();
    m_groupBar->setOpen(RzGroupLD, true);
}

TFormMain::~TFormMain() {
    setRecordCountSink({});
    for (QTreeWidget* tree : {m_treeStud, m_treeStaff, m_treeBYS})
        tree->disconnect(this);
}

QAction* TFormMain::action(const char* name) const {
    return m_actions.value(QString::fromLatin1(name));
}

void TFormMain::createActions() {
    const ActionDef defs[] = {
        {"actSec_Account", "修改帐号信息...", "修改当前用户帐号信息", "account"},
        {"actQuit", "退出...", "退出本系统", "quit"},
        {"actView_Stud", "学生党员管理", "学生党员管理", "branch_student"},
        {"actView_Staff", "职工党员管理", "职工党员管理", "branch_staff"},
        {"actView_SQL", "数据查询", "数据查询", "query"},
        {"actView_TongJi", "数据统计", "数据统计", "statistics"},
        {"actView_BYS", "毕业生组织关系", "毕业生组织关系转移", "transfer"},
        {"actView_LiuDong", "流动党员管理", "流动党员管理", "mobile_member"},
        {"actStud_NewZB", "新建党支部...", "新建学生党支部", "new"},
        {"actZGZB_New", "新建党支部...", "新建职工党支部", "new"},
        {"actStud_DelZB", "删除党支部...", "删除学生党支部", "delete"},
        {"actZGZB_Del", "删除党支部...", "删除职工党支部", "delete"},
        {"actTool_Code", "代码表管理", "管理班级和专业代码表", "code_table"},
        {"actTool_FindDY", "查找党员...", "按姓名查找党员", "find"},
        {"actTool_FindZYS", "查找志愿书...", "入党志愿书编号查找党员", "template"},
        {"actTool_CheckXS", "学生党员数据检查...", "学生党员数据检查...", "check_data"},
        {"actTool_CheckZG", "职工党员数据检查...", "职工党员数据检查...", "check_data"},
        {"actQT_LDXS", "学生流动党员", "学生流动党员", "mobile_member"},
        {"actQT_LDZG", "职工流动党员", "", "mobile_member"},
        {"actAbout", "关于...", "关于本系统", "about"},
        {"actHelp_Version", "检查新版本", "检查是否有新版本软件", "version"},
    };
    auto add = [this](const char* name, const QString& caption, const QString& hint, const char* icon) {
        auto* a = new QAction(appIcon(icon), caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(hint);
        a->setToolTip(hint.isEmpty() ? caption : hint);
        m_actions.insert(a->objectName(), a);
        return a;
    };
    for (const auto& d : defs)
        add(d.name, QString::fromUtf8(d.caption), QString::fromUtf8(d.hint), d.icon);
    for (int i = 0; i < 9; ++i) {
        QAction* q = add(kSqlNames[i], QString::fromUtf8(kSqlCaptions[i]), {}, "query");
        connect(q, &QAction::triggered, this,
                [this, i] { showFrame(31, QString::fromLatin1(kSqlKinds[i])); });
        QAction* t = add(kTjNames[i], QString::fromUtf8(kTjCaptions[i]), {}, "statistics");
        connect(t, &QAction::triggered, this,
                [this, i] { showFrame(41, QStringLiteral("TJ") + QString::fromLatin1(kSqlKinds[i])); });
    }
    action("actQuit")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(action("actQuit"), &QAction::triggered, this, &QWidget::close);
    for (int g = 0; g < 6; ++g)
        connect(action(kViewNames[g]), &QAction::triggered, this, [this, g] { toggleGroup(Group(g)); });
    connect(action("actQT_LDXS"), &QAction::triggered, this, [this] { showFrame(61); });
    connect(action("actQT_LDZG"), &QAction::triggered, this, [this] { showFrame(62); });
    connect(action("actHelp_Version"), &QAction::triggered, this, [this] {
        if (m_dm.CheckVersion()) ShowInfo(QStringLiteral("您所使用的软件版本是最新版本，不需要下载更新！"));
    });
    for (const char* name : {"actStud_DelZB", "actZGZB_Del"})
        action(name)->setEnabled(false);
    connect(action("actSec_Account"), &QAction::triggered, this, [this] {
        if (!changeAccount(m_dm, this, [](TDlgModify& dialog) { return dialog.exec(); })) return;
        m_statusUser->setText(QStringLiteral("登录用户：") + m_dm.login.LoginName);
        ShowInfo(QStringLiteral("用户信息已经成功修改！"));
    });
    connect(action("actAbout"), &QAction::triggered, this, [this] {
        TFormSplash about(true, this);
        about.exec();
    });
    connect(action("actTool_Code"), &QAction::triggered, this, [this] {
        TFormCode codes(m_dm, this);
        codes.exec();
    });
    connect(action("actTool_FindDY"), &QAction::triggered, this,
            [this] { showFindWindow<TDlgFindDY>(this, m_dm); });
    connect(action("actTool_FindZYS"), &QAction::triggered, this,
            [this] { showFindWindow<TDlgFindZYS>(this, m_dm); });
}

void TFormMain::createMenusAndToolBar() {
    QMenu* system = menuBar()->addMenu(QStringLiteral("系统(&Z)"));
    system->addAction(action("actSec_Account"));
    system->addSeparator();
    system->addAction(action("actQuit"));

    // The standard editing commands on the focused text field.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&Y)"));
    struct EditDef {
        const char* caption;
        QKeySequence::StandardKey key;
        const char* slot;
    };
    const EditDef edits[] = {{"剪切(&Z)", QKeySequence::Cut, "cut"},
                             {"拷贝(&Y)", QKeySequence::Copy, "copy"},
                             {"粘贴(&X)", QKeySequence::Paste, "paste"},
                             {nullptr, QKeySequence::UnknownKey, nullptr},
                             {"全选(&W)", QKeySequence::SelectAll, "selectAll"}};
    for (const auto& e : edits) {
        if (!e.caption) {
            edit->addSeparator();
            continue;
        }
        QAction* a = edit->addAction(QString::fromUtf8(e.caption));
        a->setShortcut(e.key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        const QByteArray slot = e.slot;
        connect(a, &QAction::triggered, this, [slot] {
            if (QWidget* w = QApplication::focusWidget()) QMetaObject::invokeMethod(w, slot.constData());
        });
    }

    QMenu* tools = menuBar()->addMenu(QStringLiteral("工具(&W)"));
    const struct {
        const char* name;
        const char* caption;
    } toolItems[] = {{"actTool_Code", "代码表管理(&Z)"},
                     {"actTool_FindDY", "查找党员(&Y)..."},
                     {"actTool_FindZYS", "查找志愿书(&V)..."},
                     {nullptr, nullptr},
                     {"actTool_CheckXS", "学生党员数据检查(&X)..."},
                     {"actTool_CheckZG", "职工党员数据检查(&W)..."}};
    for (const auto& t : toolItems) {
        if (!t.name) {
            tools->addSeparator();
            continue;
        }
        tools->addAction(action(t.name));
        action(t.name)->setIconText(action(t.name)->text());
        action(t.name)->setText(QString::fromUtf8(t.caption));
    }
    action("actSec_Account")->setText(QStringLiteral("修改帐号信息(&Y)..."));
    action("actQuit")->setText(QStringLiteral("退出(&Z)..."));

    QMenu* view = menuBar()->addMenu(QStringLiteral("视图(&X)"));
    const char* viewCaptions[] = {"学生党员管理(&Z)", "职工党员管理(&Y)",   "数据查询(&W)",
                                  "数据统计(&X)",     "毕业生组织关系(&V)", "流动党员管理"};
    for (int g = 0; g < 6; ++g) {
        QAction* a = action(kViewNames[g]);
        a->setIconText(a->text());
        a->setText(QString::fromUtf8(viewCaptions[g]));
        view->addAction(a);
    }
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&V)"));
    help->addAction(action("actAbout"));
    action("actAbout")->setText(QStringLiteral("关于(&Z)..."));
    help->addAction(action("actHelp_Version"));
    action("actHelp_Version")->setText(QStringLiteral("检查新版本(&Y)"));

    QToolBar* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(24, 24));
    for (const char* name : kViewNames)
        bar->addAction(action(name));
    bar->addSeparator();
    bar->addAction(action("actTool_FindDY"));
    bar->addAction(action("actTool_FindZYS"));
    bar->addAction(action("actSec_Account"));
    bar->addSeparator();
    bar->addAction(action("actQuit"));
    // The tool bar shows short captions without accelerators.
    const QHash<QString, QString> shortCaptions = {
        {QStringLiteral("actTool_FindDY"), QStringLiteral("查找党员")},
        {QStringLiteral("actTool_FindZYS"), QStringLiteral("查找志愿书")},
        {QStringLiteral("actSec_Account"), QStringLiteral("修改帐号")},
        {QStringLiteral("actQuit"), QStringLiteral("退出")}};
    for (auto it = shortCaptions.begin(); it != shortCaptions.end(); ++it)
        m_actions.value(it.key())->setIconText(it.value());
}

QTreeWidget* TFormMain::createTree(const char* name, int dragTag) {
    auto* tree = new BranchTreeWidget(dragTag);
    tree->setObjectName(QString::fromLatin1(name));
    return tree;
}

void TFormMain::createPanels() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_panelGroup = new QWidget;
    m_panelGroup->setObjectName(QStringLiteral("PanelGroup"));
    auto* groupLayout = new QVBoxLayout(m_panelGroup);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    m_groupBar = new GroupBar(m_panelGroup);
    m_groupBar->setObjectName(QStringLiteral("GroupBar1"));
    groupLayout->addWidget(m_groupBar);

    m_treeStud = createTree("TreeViewStud", 0);
    m_treeStaff = createTree("TreeViewStaff", 1);
    m_treeBYS = createTree("TreeViewBYS", -1);
    m_studBranches = new TBranchTree(m_dm, m_treeStud, kStudentBranches, this);
    m_staffBranches = new TBranchTree(m_dm, m_treeStaff, kStaffBranches, this);
    connect(action("actStud_NewZB"), &QAction::triggered, m_studBranches, &TBranchTree::newBranch);
    connect(action("actZGZB_New"), &QAction::triggered, m_staffBranches, &TBranchTree::newBranch);
    connect(action("actStud_DelZB"), &QAction::triggered, m_studBranches, &TBranchTree::deleteBranch);
    connect(action("actZGZB_Del"), &QAction::triggered, m_staffBranches, &TBranchTree::deleteBranch);
    for (auto [tree, newName, delName] : {std::tuple{m_treeStud, "actStud_NewZB", "actStud_DelZB"},
                                          std::tuple{m_treeStaff, "actZGZB_New", "actZGZB_Del"}}) {
        tree->setContextMenuPolicy(Qt::ActionsContextMenu);
        tree->addAction(action(newName));
        tree->addAction(action(delName));
    }
    auto actionList = [this](const char* const* names) {
        auto* list = new QWidget;
        auto* layout = new QVBoxLayout(list);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->setSpacing(2);
        for (int i = 0; i < 9; ++i) {
            auto* button = new QToolButton(list);
            button->setDefaultAction(action(names[i]));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setAutoRaise(true);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            layout->addWidget(button);
        }
        layout->addStretch(1);
        return list;
    };
    auto* mobile = new QWidget;
    {
        auto* layout = new QVBoxLayout(mobile);
        layout->setContentsMargins(4, 4, 4, 4);
        for (const char* name : {"actQT_LDXS", "actQT_LDZG"}) {
            auto* button = new QToolButton(mobile);
            button->setDefaultAction(action(name));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setAutoRaise(true);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            layout->addWidget(button);
        }
        layout->addStretch(1);
    }
    m_groupBar->addGroup(QStringLiteral("学生党员管理"), appIcon("branch_student"), m_treeStud);
    m_groupBar->addGroup(QStringLiteral("职工党员管理"), appIcon("branch_staff"), m_treeStaff);
    m_groupBar->addGroup(QStringLiteral("数据查询"), appIcon("query"), actionList(kSqlNames));
    m_groupBar->addGroup(QStringLiteral("数据统计"), appIcon("statistics"), actionList(kTjNames));
    m_groupBar->addGroup(QStringLiteral("毕业生组织关系转移"), appIcon("transfer"), m_treeBYS);
    m_groupBar->addGroup(QStringLiteral("流动党员管理"), appIcon("mobile_member"), mobile);
    connect(m_groupBar, &GroupBar::groupOpened, this, &TFormMain::onGroupOpened);
    connect(m_groupBar, &GroupBar::groupClosed, this, &TFormMain::onGroupClosed);

    m_workArea = new WorkArea(m_splitter);
    m_panelWork = m_workArea->panel;
    m_splitter->addWidget(m_panelGroup);
    m_splitter->addWidget(m_workArea);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({230, 1000});
    m_panelGroup->hide();
    setCentralWidget(m_splitter);

    connect(m_treeStud, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onTreeSelection(m_treeStud, item, 10, 11); });
    connect(m_treeStaff, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onTreeSelection(m_treeStaff, item, 20, 21); });
    connect(m_treeBYS, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onTreeSelection(m_treeBYS, item, 50, 51); });

    auto pane = [this](const char* name, int stretch) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setContentsMargins(6, 0, 6, 0);
        statusBar()->addWidget(label, stretch);
        return label;
    };
    m_statusUser = pane("StatusUser", 0);
    m_statusDZZ = pane("StatusDZZ", 0);
    m_statusWorkYear = pane("StatusWorkYear", 0);
    m_statusRecCount = pane("StatusRecCount", 0);
    m_statusRecCount->setMinimumWidth(160);
    m_statusHint = pane("StatusHint", 1);
}

void TFormMain::applyRights() {
    const bool xs = m_dm.login.GL_XueSheng;
    const bool zg = m_dm.login.GL_ZhiGong;
    m_groupBar->setGroupVisible(RzGroupStud, xs);
    m_groupBar->setGroupVisible(RzGroupStaff, zg);
    m_groupBar->setGroupVisible(RzGroupSQL, xs || zg);
    m_groupBar->setGroupVisible(RzGroupBYS, xs);
    for (int i = 0; i < 4; ++i) {
        action(kSqlNames[i])->setVisible(xs);
        action(kTjNames[i])->setVisible(xs);
        action(kSqlNames[i + 4])->setVisible(zg);
        action(kTjNames[i + 4])->setVisible(zg);
    }
    action("actSQL_DZB")->setVisible(xs || zg);
    action("actView_Stud")->setVisible(xs);
    action("actView_BYS")->setVisible(xs);
    action("actTool_Code")->setVisible(xs);
    action("actView_Staff")->setVisible(zg);
    for (const char* name : {"actView_SQL", "actView_TongJi", "actTool_FindDY"})
        action(name)->setEnabled(xs || zg);
}

void TFormMain::buildTrees() {
    if (m_dm.login.GL_XueSheng) {
        m_studBranches->build();
        buildGraduatesTree(m_dm, m_treeBYS);
    }
    if (m_dm.login.GL_ZhiGong) m_staffBranches->build();
}

void TFormMain::registerFrame(int tag, FrameFactory factory) {
    m_factories.insert(tag, std::move(factory));
}

TFrameBasic* TFormMain::createFrame(int tag) {
    TFrameBasic* frame = nullptr;
    if (auto it = m_factories.constFind(tag); it != m_factories.constEnd()) frame = (*it)(m_panelWork);
    if (!frame) {
        QString title = QStringLiteral("窗口 %1").arg(tag);
        for (const auto& f : kFrames)
            if (f.tag == tag) title = QString::fromUtf8(f.title);
        frame = new TFramePlaceholder(tag, title, m_panelWork);
    }
    m_frames.insert(tag, frame);
    return frame;
}

void TFormMain::showFrame(int tag, const QString& kind) {
    TFrameBasic* target = m_frames.value(tag);
    if (!m_current) {
        m_current = createFrame(tag);
        if (!kind.isEmpty()) m_current->FrameKind = kind;
        m_workArea->panelLayout->addWidget(m_current);
        m_current->show();
        m_current->FrameInit();
    } else if (m_current->tag() == tag) {
        if (!kind.isEmpty()) m_current->FrameKind = kind;
        m_current->FrameShow();
    } else {
        m_current->FrameLeave();
        m_workArea->panelLayout->removeWidget(m_current);
        m_current->hide();
        if (target) {
            m_current = target;
            if (!kind.isEmpty()) m_current->FrameKind = kind;
            m_workArea->panelLayout->addWidget(m_current);
            m_current->show();
            m_current->FrameShow();
        } else {
            m_current = createFrame(tag);
            if (!kind.isEmpty()) m_current->FrameKind = kind;
            m_workArea->panelLayout->addWidget(m_current);
            m_current->show();
            m_current->FrameInit();
        }
    }
    m_panelWork->show();
    m_workArea->update();
}

void TFormMain::toggleGroup(Group group) {
    if (!m_panelGroup->isVisible()) {
        m_panelGroup->show();
        m_groupBar->setOpen(group, true);
    } else if (!m_groupBar->isOpen(group)) {
        m_groupBar->setOpen(group, true);
    } else {
        m_panelGroup->hide();
        return;
    }
    // A collapsed side panel is expanded again.
    QList<int> sizes = m_splitter->sizes();
    if (sizes.value(0) == 0) m_splitter->setSizes({230, qMax(1, sizes.value(1) - 230)});
}

void TFormMain::onGroupOpened(int group) {
    QTreeWidget* tree = group == RzGroupStud    ? m_treeStud
                        : group == RzGroupStaff ? m_treeStaff
                        : group == RzGroupBYS   ? m_treeBYS
                                                : nullptr;
    if (!tree || !tree->currentItem()) return;
    const int rootTag = tree == m_treeStud ? 10 : tree == m_treeStaff ? 20 : 50;
    showFrame(tree->currentItem()->parent() ? rootTag + 1 : rootTag);
}

void TFormMain::onGroupClosed(int group) {
    if (group != RzGroupLD) {
        m_panelWork->hide();
        m_workArea->update();
    }
}

void TFormMain::onTreeSelection(QTreeWidget* tree, QTreeWidgetItem* item, int rootTag, int branchTag) {
    const bool branch = item && item->parent();
    if (tree == m_treeStud) action("actStud_DelZB")->setEnabled(branch);
    if (tree == m_treeStaff) action("actZGZB_Del")->setEnabled(branch);
    if (!item || m_closing) return;
    showFrame(branch ? branchTag : rootTag);
}

bool TFormMain::showMember(QTreeWidget* tree, int group, int nodeType, const QString& branchId,
                           const QString& caption, int category) {
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* item = root->child(i);
        const TDZZNode node = nodeOf(item);
        if (node.NodeType != nodeType || node.NodeID != branchId) continue;
        // The group first: opening it shows its tree's frame, which must not
        // reload the lists after the row has been selected.
        if (!m_panelGroup->isVisible()) m_panelGroup->show();
        if (!m_groupBar->isOpen(group)) m_groupBar->setOpen(group, true);
        tree->setCurrentItem(item);
        if (m_current) m_current->showCategoryItem(category, caption);
        return true;
    }
    return false;
}

bool TFormMain::ShowMemberXS(const QString& branchId, const QString& caption, int category) {
    return showMember(m_treeStud, RzGroupStud, TDZZNode::StudentBranch, branchId, caption, category);
}

bool TFormMain::ShowMemberZG(const QString& branchId, const QString& caption, int category) {
    return showMember(m_treeStaff, RzGroupStaff, TDZZNode::StaffBranch, branchId, caption, category);
}

void TFormMain::keepAlive() {
    m_dm.ExecSQL(m_dm.set(u"CDS_KeepConnection"),
                 QStringLiteral("Update DZZ_Users Set UserOnline=1 where LoginName=%1 and LoginPSWD=%2")
                     .arg(TDM::quoted(m_dm.login.LoginName), TDM::quoted(m_dm.login.LoginPSWD)));
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip && m_statusHint) {
        m_statusHint->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (m_askBeforeClose &&
        messages().show(MessageKind::Quit, QStringLiteral("确定要退出本系统吗？")) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    // Freeing the trees must show no frame.
    m_closing = true;
    for (QTreeWidget* tree : {m_treeStud, m_treeStaff, m_treeBYS})
        tree->disconnect(this);
    m_keepAlive->stop();
    event->accept();
}

} // namespace corvexa::client
