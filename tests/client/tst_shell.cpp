// The program's shell with real widgets against a real server: the login
// dialog's answers and settings, the main window's rights, group toggles and
// frame switching. CORVEXA_SCREENSHOTS=DIR saves the main window as a picture.
#include "app/dlglogin.h"
#include "app/dlgmodify.h"
#include "app/formmain.h"
#include "app/splash.h"
#include "data/services.h"
#include "frames/formcode.h"
#include "frames/groupbar.h"
#include "frames/placeholderframe.h"
#include "loggedinmodule.h"
#include "members/memberframe.h"
#include "org/branchtree.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

using testing::NoShell;

class TestShell : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_dir;
    int m_settingsFiles = 0;

    QString settingsFile() { return m_dir.filePath(QStringLiteral("velmor%1.ini").arg(++m_settingsFiles)); }
    std::unique_ptr<TDM> module() { return testing::dataModule(settingsFile()); }
    std::unique_ptr<TDM> startedModule(const QString& user) {
        return testing::startedModule(m_server, settingsFile(), user);
    }
    static void type(TDlgLogin& dialog, const QString& user, const QString& password, const QString& host) {
        dialog.edtUser->setText(user);
        dialog.edtPSWD->setText(password);
        dialog.EditIP->setText(host);
    }

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        QVERIFY2(m_server.start({}, &error, 0), qPrintable(error));
    }
    void init() { m_messages.clear(); }

    // Each answer of the server gives its message; only a good login closes.
    void loginAnswers_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::newRow("ok, password in other case with a blank") << "admin"
                                                                 << "DEMO " << true << "";
        QTest::newRow("unknown user") << "nobody"
                                      << "demo" << false << "该用户名不存在！";
        QTest::newRow("wrong password") << "admin"
                                        << "nope" << false << "用户名密码不正确！";
        QTest::newRow("disabled") << "tingyong"
                                  << "demo" << false
                                  << "登录信息正确，但目前该帐号被禁用，不能登录到系统。\n\n请与管理员联系";
    }
    void loginAnswers() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        auto dm = module();
        TDlgLogin dialog(*dm);
        dialog.show();
        type(dialog, user, password, m_server.address());
        dialog.BitBtn1->click();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (accepted) {
            QVERIFY(m_messages.shown().isEmpty());
            QCOMPARE(dm->login.LoginName, user);
            QCOMPARE(dm->login.LoginPSWD, QStringLiteral("DEMO"));
        } else {
            QCOMPARE(m_messages.shown().size(), 1);
            QCOMPARE(m_messages.shown().at(0).text, message);
        }
    }

    // The fourth failed attempt closes the dialog; an unreachable server counts too.
    void fourthFailureEnds() {
        auto dm = module();
        TDlgLogin dialog(*dm);
        dialog.show();
        type(dialog, QStringLiteral("admin"), QStringLiteral("wrong"), m_server.address());
        for (int attempt = 1; attempt <= 4; ++attempt) {
            if (attempt == 2) dialog.EditIP->setText(QStringLiteral("127.0.0.1:1"));
            if (attempt == 3) dialog.EditIP->setText(m_server.address());
            dialog.BitBtn1->click();
            QCOMPARE(dialog.isVisible(), attempt < 4);
        }
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(m_messages.shown().at(1).text.startsWith(QStringLiteral("连接数据库服务器时出现错误")));
    }

    // The login values are written only with "记住登录信息", in their names.
    void settingsOnlyWhenRemembered() {
        for (bool remember : {false, true}) {
            auto dm = module();
            {
                TDlgLogin dialog(*dm);
                QCOMPARE(dialog.EditIP->text(), QStringLiteral("127.0.0.1"));
                QCOMPARE(dialog.SpinYear->value(), 2026);
                type(dialog, QStringLiteral(" admin"), QStringLiteral(" demo "), m_server.address() + u' ');
                dialog.SpinYear->setValue(2025);
                dialog.chkSave->setChecked(remember);
                dialog.BitBtn1->click();
                QCOMPARE(dialog.result(), int(QDialog::Accepted));
            }
            SettingsStore& store = dm->settings();
            QCOMPARE(store.contains(QStringLiteral("SaveInfo")), remember);
            if (!remember) continue;
            QCOMPARE(store.value(QStringLiteral("UserName")).toString(), QStringLiteral(" admin"));
            QCOMPARE(store.value(QStringLiteral("UserPSWD")).toString(), QStringLiteral("demo"));
            QCOMPARE(store.value(QStringLiteral("workyear")).toInt(), 2025);
            QCOMPARE(store.value(QStringLiteral("SrvIP")).toString(), m_server.address());
            TDlgLogin again(*dm);
            QVERIFY(again.chkSave->isChecked());
            QCOMPARE(again.edtUser->text(), QStringLiteral(" admin"));
            QCOMPARE(again.SpinYear->value(), 2025);
        }
    }

    // A user with only the staff right sees no student entries.
    void rightsDecideWhatIsShown_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("students");
        QTest::addColumn<bool>("staff");
        QTest::newRow("both") << "admin" << true << true;
        QTest::newRow("staff only") << "zhigong" << false << true;
        QTest::newRow("students only") << "xuesheng" << true << false;
    }
    void rightsDecideWhatIsShown() {
        QFETCH(QString, user);
        QFETCH(bool, students);
        QFETCH(bool, staff);
        auto dm = startedModule(user);
        QVERIFY(dm);
        TFormMain window(*dm);
        GroupBar* bar = window.GroupBar1();
        QCOMPARE(bar->isGroupVisible(TFormMain::RzGroupStud), students);
        QCOMPARE(bar->isGroupVisible(TFormMain::RzGroupBYS), students);
        QCOMPARE(bar->isGroupVisible(TFormMain::RzGroupStaff), staff);
        QVERIFY(bar->isGroupVisible(TFormMain::RzGroupSQL));
        QVERIFY(bar->isGroupVisible(TFormMain::RzGroupTJ));
        QCOMPARE(window.action("actSQL_XS")->isVisible(), students);
        QCOMPARE(window.action("actTJ_XS")->isVisible(), students);
        QCOMPARE(window.action("actSQL_ZG")->isVisible(), staff);
        QCOMPARE(window.action("actTool_Code")->isVisible(), students);
        QVERIFY(window.action("actSQL_DZB")->isVisible());
        QVERIFY(window.action("actView_SQL")->isEnabled());
        QCOMPARE(window.TreeViewStud()->topLevelItemCount(), students ? 1 : 0);
        QCOMPARE(window.TreeViewStaff()->topLevelItemCount(), staff ? 1 : 0);
        if (students) QVERIFY(window.TreeViewStud()->topLevelItem(0)->childCount() > 0);
        QCOMPARE(window.StatusUser()->text(), QStringLiteral("登录用户：") + user);
    }

    // Twice hides the side panel, a third time shows it with the same group.
    void viewActionsToggleTheSidePanel() {
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.show();
        QAction* stud = window.action("actView_Stud");
        QVERIFY(!window.PanelGroup()->isVisible());
        stud->trigger();
        QVERIFY(window.PanelGroup()->isVisible());
        QVERIFY(window.GroupBar1()->isOpen(TFormMain::RzGroupStud));
        stud->trigger();
        QVERIFY(!window.PanelGroup()->isVisible());
        stud->trigger();
        QVERIFY(window.PanelGroup()->isVisible());
        QVERIFY(window.GroupBar1()->isOpen(TFormMain::RzGroupStud));
        window.action("actView_SQL")->trigger();
        QVERIFY(window.PanelGroup()->isVisible());
        QVERIFY(window.GroupBar1()->isOpen(TFormMain::RzGroupSQL));
        QVERIFY(!window.GroupBar1()->isOpen(TFormMain::RzGroupStud));
    }

    // One instance per frame class; the operations in their order; closing a
    // group hides the work panel whatever frame is current.
    void frameSwitching() {
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.show();
        window.action("actView_SQL")->trigger();
        window.action("actSQL_XS")->trigger();
        auto* query = qobject_cast<TFramePlaceholder*>(window.currentFrame());
        QVERIFY(query);
        QCOMPARE(query->tag(), 31);
        QCOMPARE(query->FrameKind, QStringLiteral("XS"));
        QVERIFY(window.PanelWork()->isVisible());
        window.action("actSQL_XSYS")->trigger();
        QCOMPARE(window.currentFrame(), query);
        QCOMPARE(query->FrameKind, QStringLiteral("XSYS"));
        QCOMPARE(query->calls, QStringList({"FrameInit", "FrameShow", "FrameShow"}));

        window.action("actView_Stud")->trigger();
        QVERIFY(!window.PanelWork()->isVisible()); // the query group closed
        QTreeWidget* tree = window.TreeViewStud();
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        TFrameBasic* member = window.currentFrame();
        QCOMPARE(member->tag(), 11);
        QCOMPARE(query->calls.last(), QStringLiteral("FrameLeave"));
        QVERIFY(window.action("actStud_DelZB")->isEnabled());
        tree->setCurrentItem(tree->topLevelItem(0));
        QCOMPARE(window.currentFrame()->tag(), 10);
        QVERIFY(!window.action("actStud_DelZB")->isEnabled());

        window.action("actView_SQL")->trigger();
        window.action("actSQL_DZB")->trigger();
        QCOMPARE(window.currentFrame(), query);
        QCOMPARE(query->calls.last(), QStringLiteral("FrameShow"));
        QCOMPARE(window.frameInstance(11), member);

        const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS");
        if (!shots.isEmpty()) {
            window.resize(1280, 800);
            window.action("actView_Stud")->trigger();
            tree->setCurrentItem(tree->topLevelItem(0)->child(1));
            QTest::qWait(50);
            window.grab().save(shots + QStringLiteral("/mainwindow.png"));
        }
    }

    // Each check of the account dialog keeps it open with its message.
    void accountChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password1");
        QTest::addColumn<QString>("password2");
        QTest::addColumn<QString>("message");
        QTest::newRow("name taken") << "xuesheng "
                                    << "new"
                                    << "new"
                                    << "用户名: xuesheng  已经存在，请更改新的用户名！";
        QTest::newRow("repetition differs") << "admin"
                                            << "new"
                                            << "neu"
                                            << "新口令与重复口令不一致，请重新输入口令！";
        QTest::newRow("empty") << "ADMIN"
                               << ""
                               << " "
                               << "口令不能为空，请重新输入口令！";
        QTest::newRow("fine, case of the name only") << "ADMIN"
                                                     << "New "
                                                     << "new"
                                                     << "";
    }
    void accountChecks() {
        QFETCH(QString, name);
        QFETCH(QString, password1);
        QFETCH(QString, password2);
        QFETCH(QString, message);
        auto dm = startedModule(QStringLiteral("admin"));
        TDlgModify dialog(*dm);
        QCOMPARE(dialog.edtOldName->text(), QStringLiteral("admin"));
        QCOMPARE(dialog.edtNewPSWD1->text(), QStringLiteral("DEMO"));
        dialog.show();
        dialog.edtNewName->setText(name);
        dialog.edtNewPSWD1->setText(password1);
        dialog.edtNewPSWD2->setText(password2);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, message.isEmpty());
        if (!message.isEmpty()) QCOMPARE(m_messages.shown().last().text, message);
    }

    // A changed account: both values stored together, the settings and the
    // login values follow, and the next login uses the new password.
    void accountChange() {
        QVERIFY(m_server.exec(QStringLiteral(
            "Insert into DZZ_Users (UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable) "
            "VALUES (90,'zhanghu','old','01',1,0,1)")));
        auto dm = module();
        DirectLogin login(m_server.address(), QStringLiteral("zhanghu"), QStringLiteral("old"), 2026);
        NoShell shell;
        QVERIFY(dm->startUp(login, shell));
        const bool changed = changeAccount(*dm, nullptr, [](TDlgModify& dialog) {
            dialog.edtNewName->setText(QStringLiteral(" zhanghu2 "));
            dialog.edtNewPSWD1->setText(QStringLiteral("Secret7"));
            dialog.edtNewPSWD2->setText(QStringLiteral("secret7"));
            dialog.accept();
            return dialog.result();
        });
        QVERIFY(changed);
        QCOMPARE(dm->login.LoginName, QStringLiteral("zhanghu2"));
        QCOMPARE(dm->settings().value(QStringLiteral("UserName")).toString(), QStringLiteral("zhanghu2"));
        QCOMPARE(dm->settings().value(QStringLiteral("UserPSWD")).toString(), QStringLiteral("Secret7"));
        QCOMPARE(m_server.scalar(QStringLiteral("Select LoginName from DZZ_Users where UserID=90")),
                 QStringLiteral("zhanghu2"));
        auto again = module();
        DirectLogin next(m_server.address(), QStringLiteral("zhanghu2"), QStringLiteral("SECRET7"), 2026);
        QVERIFY(again->startUp(next, shell));
    }

    // Pictures of the smaller windows, to look at (CORVEXA_SCREENSHOTS=DIR).
    void screenshots() {
        const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS");
        if (shots.isEmpty()) QSKIP("CORVEXA_SCREENSHOTS not set");
        auto dm = startedModule(QStringLiteral("admin"));
        TDlgLogin login(*dm);
        login.show();
        QVERIFY(login.grab().save(shots + QStringLiteral("/login.png")));
        TFormSplash about(true);
        about.show();
        QVERIFY(about.grab().save(shots + QStringLiteral("/about.png")));
        TFormCode codes(*dm);
        codes.show();
        QVERIFY(codes.grab().save(shots + QStringLiteral("/codes.png")));
    }

    // A found member is shown in his branch, page and row; an unknown branch changes nothing.
    void showMember() {
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.show();
        QTreeWidgetItem* branch = window.TreeViewStaff()->topLevelItem(0)->child(0);
        const QString id = nodeOf(branch).NodeID;
        QVERIFY(
            !window.ShowMemberXS(id, QStringLiteral("张三"), 1)); // a staff branch is not in the student tree
        QVERIFY(window.currentFrame() == nullptr);
        QVERIFY(window.ShowMemberZG(id, QStringLiteral("张三"), 2));
        auto* frame = qobject_cast<TFrameDY*>(window.currentFrame());
        QVERIFY(frame);
        QCOMPARE(frame->tag(), 21);
        QCOMPARE(frame->branchId(), id);
        QCOMPARE(frame->currentPage(), 1 + Added);
        QCOMPARE(window.TreeViewStaff()->currentItem(), branch);
        QVERIFY(window.GroupBar1()->isOpen(TFormMain::RzGroupStaff));
        QVERIFY(window.PanelWork()->isVisible());
    }

    // The close question: anything but Yes keeps the window.
    void closeAsksFirst() {
        auto dm = startedModule(QStringLiteral("admin"));
        TFormMain window(*dm);
        window.show();
        m_messages.script({MessageAnswer::No});
        QVERIFY(!window.close());
        QCOMPARE(m_messages.shown().last().title, QStringLiteral("退出系统"));
        QCOMPARE(m_messages.shown().last().text, QStringLiteral("确定要退出本系统吗？"));
        m_messages.script({MessageAnswer::Yes});
        QVERIFY(window.close());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
