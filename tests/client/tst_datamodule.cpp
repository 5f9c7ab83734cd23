// The data module against a real server over a temporary database: the
// start-up sequence, the generators, the version check, the settings, the
// edit cycle through the server, failed applies and the transaction bracket.
#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "serverfixture.h"

#include <QComboBox>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {

class RecordingShell : public ShellStep {
public:
    QStringList calls;
    void createMainWindow(TDM&) override { calls << QStringLiteral("createMainWindow"); }
    void setStatus(const QString& user, const QString& organization, const QString& workYear) override {
        calls << user << organization << workYear;
    }
};

const QString kVersionMessage = QStringLiteral(
    "有新版本软件可以下载，请到网站上下载新版软件并重新安装！\n\n您当前使用的软件版本是：2008-06-22\n\n"
    "可下载的新版本软件版本是：2009-01-01\n可下载的新版本软件简单描述：修正了打印");

} // namespace

class TestDataModule : public QObject {
    Q_OBJECT
    testing::ServerFixture m_server;
    FixedClock m_clock{QDate(2026, 7, 10)};
    ScriptedMessageService m_messages;
    QTemporaryDir m_settingsDir;

    QString settingsPath() const { return m_settingsDir.filePath(QStringLiteral("velmor.ini")); }

    std::unique_ptr<TDM> startedModule(RecordingShell* shell = nullptr) {
        auto dm = std::make_unique<TDM>(std::make_unique<SettingsStore>(settingsPath()));
        DirectLogin login(m_server.address(), QStringLiteral(" Admin "), QStringLiteral("demo"), 2026);
        RecordingShell own;
        if (!dm->startUp(login, shell ? *shell : own)) {
            qWarning() << "start-up failed:" << login.error();
            return nullptr;
        }
        return dm;
    }

    void exec(const QString& statement) {
        QString error;
        QVERIFY2(m_server.exec(statement, &error), qPrintable(error));
    }

private slots:
    void initTestCase() {
        installClock(&m_clock);
        installMessageService(&m_messages);
        QString error;
        const QStringList rows = {
            "Insert into DZZ_List (DZZ_ID,DZZ_Name) VALUES ('01','计算机学院党委')",
            "Insert into DZZ_List (DZZ_ID,DZZ_Name) VALUES ('02','图书馆党总支')",
            "Insert into DZZ_Users "
            "(UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,GL_BiYeSh,Usable,"
            "UserOnline,GL_JieShaoXin) VALUES (7,'admin','DEMO','01',1,0,1,1,0,0)",
            "Insert into DZZ_Users (UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable) VALUES "
            "(8,'other','demo','02',1,1,1)",
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S02-0005','02',1,'别家的支部')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X01-000123','张三')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X01-000045','李四')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X02-000999','王五')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('Z01-000500','职工号')",
            "Insert into Staff_DYInfo (DY_ID,Name) VALUES ('Z01-000007','赵六')",
            "Insert into Sys_Tables (TabID,TabName) VALUES (3,'Stud_DYInfo')",
            "Insert into Sys_Tables (TabID,TabName) VALUES (4,'Staff_DYInfo ')",
            "Insert into Sys_Tables (TabID,TabName) VALUES (5,'Staff_DYInfo')",
            "Insert into Code_MinZhu (MinZhu_ID,MinZhu) VALUES ('02','蒙古族')",
            "Insert into Code_MinZhu (MinZhu_ID,MinZhu) VALUES ('01','汉族')",
        };
        QVERIFY2(m_server.start(rows, &error), qPrintable(error));
    }

    void cleanupTestCase() { m_server.stop(); }
    void init() { m_messages.clear(); }

    // The start-up runs its steps in order, sets every parameter it owns and
    // opens only the organization, branch and figure sets.
    void startUpSequence() {
        RecordingShell shell;
        auto dm = std::make_unique<TDM>(std::make_unique<SettingsStore>(settingsPath()));
        QStringList steps;
        connect(dm.get(), &TDM::startUpStep, this, [&](const QString& s) { steps << s; });
        QStringList opened;
        for (RecordSet* set : dm->catalogue().all()) {
            if (set->name() != u"CDS_Temp") // the ad-hoc statements of the start-up
                connect(set, &RecordSet::opened, this, [&opened, set] { opened << set->name(); });
        }
        DirectLogin login(m_server.address(), QStringLiteral(" Admin "), QStringLiteral(" demo "), 2026);
        QVERIFY2(dm->startUp(login, shell), qPrintable(login.error()));
        QCOMPARE(steps, QStringList({"DoLogin", "seedGenerators", "LoadTableIDs", "CheckVersion",
                                     "createMainWindow", "SetCurUser", "MarkOnline", "LoadSettings"}));
        QCOMPARE(opened,
                 QStringList({"CDS_DZZUser", "CDS_DZZ", "CDS_XS_DZB", "CDS_ZG_DZB", "CDS_XSTJ_NianJi"}));
        const LoginValues& v = dm->login;
        QCOMPARE(v.UserID, 7);
        QCOMPARE(v.LoginName, QStringLiteral("Admin"));
        QCOMPARE(v.LoginPSWD, QStringLiteral("DEMO"));
        QCOMPARE(v.DZZ_ID, QStringLiteral("01"));
        QCOMPARE(v.DZZ_Name, QStringLiteral("计算机学院党委"));
        QCOMPARE(v.XueYuan, QStringLiteral("计算机学院"));
        QCOMPARE(v.WorkYear, 2026);
        QVERIFY(v.GL_XueSheng && !v.GL_ZhiGong && v.GL_BiYeSh && !v.GL_JieShaoXin);
        QCOMPARE(v.StudTabID, 3);
        QCOMPARE(v.StaffTabID, 5); // exactly "Staff_DYInfo"
        QVERIFY(v.ReportDir.endsWith(QStringLiteral("/FixedReport/")));
        QCOMPARE(shell.calls, QStringList({"createMainWindow", "登录用户：Admin",
                                           "二级党组织：计算机学院党委", "工作年度：2026"}));
        // Parameters of the sets that are opened later.
        auto param = [&](const char* set, const char* name) {
            return dm->set(QString::fromLatin1(set)).param(QString::fromLatin1(name)).toVariant();
        };
        for (const char* set : {"CDS_ZuanYe", "CDS_BanJi", "CDS_XSLD_Info", "CDS_ZGLD_Info"})
            QCOMPARE(param(set, "ADZZ_ID"), QVariant(QStringLiteral("01")));
        QCOMPARE(param("CDS_SQL", "AUserID"), QVariant(qint64(7)));
        for (const char* set :
             {"CDS_XSXZ_Info", "CDS_XSXZ_List", "CDS_XSJS_Info", "CDS_XSJS_BiYe", "CDS_XSJS_List",
              "CDS_ZGXZ_Info", "CDS_ZGXZ_List", "CDS_ZGJS_Info", "CDS_ZGJS_List", "CDS_ZGXZ_ALL",
              "CDS_ZGJS_ALL", "CDS_XSXZ_ALL", "CDS_XSJS_ALL"}) {
            QCOMPARE(param(set, "AYear"), QVariant(qint64(2026)));
            QCOMPARE(param(set, "ADZZ_ID"), QVariant(QStringLiteral("01")));
            QVERIFY(!dm->set(QString::fromLatin1(set)).isOpen());
        }
        // The year-bound sets open with what the start-up gave them.
        RecordSet& added = dm->set(u"CDS_XSXZ_List");
        added.setParam(QStringLiteral("ADZB_ID"), QStringLiteral("S01-0001"));
        added.open();
        QCOMPARE(added.rowCount(), 0);
        // The user is on line with this client's version; no version message.
        QCOMPARE(m_server.scalar(QStringLiteral("Select UserOnline from DZZ_Users where UserID=7")),
                 QStringLiteral("true"));
        QCOMPARE(m_server.scalar(QStringLiteral("Select Cur_Version from DZZ_Users where UserID=7")),
                 QStringLiteral("2008-06-22"));
        QVERIFY(m_messages.shown().isEmpty());
        // Settings defaults, then written back at the end with the user off line.
        QCOMPARE(dm->letters.DangFei, 6);
        QCOMPARE(dm->letters.YouXiaoQi, 90);
        QCOMPARE(dm->letters.UseCurDate, true);
        QCOMPARE(dm->letters.DWFrom, QStringLiteral("计算机学院"));
        QCOMPARE(dm->letters.DZZFrom, QStringLiteral("计算机学院党委"));
        dm->letters.DangFei = 9;
        dm.reset();
        QCOMPARE(m_server.scalar(QStringLiteral("Select UserOnline from DZZ_Users where UserID=7")),
                 QStringLiteral("false"));
        SettingsStore store(settingsPath());
        QCOMPARE(store.value(QStringLiteral("dangfei")).toInt(), 9);
        QFile::remove(settingsPath());
    }

    void failedLoginPreparesNothing() {
        RecordingShell shell;
        TDM dm(std::make_unique<SettingsStore>(settingsPath()));
        DirectLogin login(m_server.address(), QStringLiteral("admin"), QStringLiteral("wrong"), 2026);
        QVERIFY(!dm.startUp(login, shell));
        for (RecordSet* set : dm.catalogue().all())
            QVERIFY2(!set->isOpen(), qPrintable(set->name()));
        QVERIFY(shell.calls.isEmpty());
        DirectLogin nowhere(QStringLiteral("127.0.0.1:1"), QStringLiteral("admin"), QStringLiteral("demo"),
                            2026);
        TDM other(std::make_unique<SettingsStore>(settingsPath()));
        QVERIFY(!other.startUp(nowhere, shell));
        QVERIFY(!nowhere.error().isEmpty());
    }

    // Branch generators count from every branch of the organization, member
    // generators only from identifiers with their prefix.
    void generatorsSeedFromTheDatabase() {
        auto dm = startedModule();
        QVERIFY(dm);
        QCOMPARE(dm->XSZBPrefix + dm->XSZBNo.NextNo(4), QStringLiteral("S01-0001"));
        QCOMPARE(dm->ZGZBPrefix + dm->ZGZBNo.NextNo(4), QStringLiteral("G01-0001"));
        QCOMPARE(dm->XSDYPrefix + dm->XSDYNo.NextNo(6), QStringLiteral("X01-000124"));
        dm->XSDYNo.UndoNo();
        QCOMPARE(dm->XSDYPrefix + dm->XSDYNo.NextNo(6), QStringLiteral("X01-000124"));
        QCOMPARE(dm->ZGDYPrefix + dm->ZGDYNo.NextNo(6), QStringLiteral("Z01-000008"));
        exec(QStringLiteral(
            "Insert into DZB_ZG (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('G01-0041','01',1,'甲')"));
        dm->seedGenerators();
        QCOMPARE(dm->ZGZBNo.NextNo(4), QStringLiteral("0042"));
        exec(QStringLiteral("Delete from DZB_ZG where ZB_ID='G01-0041'"));
    }

    void versionCheck_data() {
        QTest::addColumn<QString>("stored"); // empty: no row at all
        QTest::addColumn<bool>("current");
        QTest::newRow("no version row") << QString() << true;
        QTest::newRow("same apart from a trailing blank") << "2008-06-22 " << true;
        QTest::newRow("older") << "2008-01-01" << true;
        QTest::newRow("newer") << "2009-01-01" << false;
    }
    void versionCheck() {
        QFETCH(QString, stored);
        QFETCH(bool, current);
        auto dm = startedModule();
        QVERIFY(dm);
        m_messages.clear();
        exec(QStringLiteral("Delete from DZZ_Ver"));
        if (!stored.isEmpty())
            exec(QStringLiteral("Insert into DZZ_Ver (DZZ_Version,memo) VALUES ('%1','修正了打印')")
                     .arg(stored));
        QCOMPARE(dm->CheckVersion(), current);
        if (current) {
            QVERIFY(m_messages.shown().isEmpty());
        } else {
            QCOMPARE(m_messages.shown().size(), 1);
            QCOMPARE(m_messages.shown().first().title, QStringLiteral("系统提示"));
            QCOMPARE(m_messages.shown().first().text, kVersionMessage);
        }
        exec(QStringLiteral("Delete from DZZ_Ver"));
    }

    // Append, post, apply; edit and apply; delete and apply: the database
    // follows, and a speciality gets the login's organization by itself.
    void editCycleThroughTheServer() {
        auto dm = startedModule();
        QVERIFY(dm);
        RecordSet& branches = dm->set(u"CDS_XS_DZB");
        branches.append();
        branches.setValue(u"ZB_ID", Value::fromText(dm->XSZBPrefix + dm->XSZBNo.NextNo(4)));
        branches.setValue(u"DZZ_ID", Value::fromText(dm->login.DZZ_ID));
        branches.setText(u"ZB_Name", QStringLiteral("第一支部"));
        branches.setText(u"ZB_HuanJieRQ", QStringLiteral("2025-09-01"));
        branches.post();
        QCOMPARE(branches.applyUpdates(), 0);
        QVERIFY(!branches.value(u"SN").isNull()); // the server's serial came back
        QCOMPARE(m_server.scalar(QStringLiteral("Select ZB_Name from DZB_XS where ZB_ID='S01-0001'")),
                 QStringLiteral("第一支部"));
        QVERIFY(branches.locate(u"ZB_ID", Value::fromText(QStringLiteral("S01-0001"))));
        branches.edit();
        branches.setText(u"ZB_Name", QStringLiteral("软件支部"));
        branches.post();
        QCOMPARE(branches.applyUpdates(), 0);
        QCOMPARE(m_server.scalar(QStringLiteral("Select ZB_Name from DZB_XS where ZB_ID='S01-0001'")),
                 QStringLiteral("软件支部"));
        // A change cancelled before applying never reaches the server.
        branches.edit();
        branches.setText(u"ZB_Name", QStringLiteral("不要的名字"));
        branches.post();
        branches.cancelUpdates();
        QCOMPARE(branches.applyUpdates(), 0);
        QCOMPARE(branches.value(u"ZB_Name").text(), QStringLiteral("软件支部"));
        branches.remove();
        QCOMPARE(branches.applyUpdates(), 0);
        QCOMPARE(m_server.scalar(QStringLiteral("Select Count(*) from DZB_XS where DZZ_ID='01'")),
                 QStringLiteral("0"));

        RecordSet& specialities = dm->set(u"CDS_ZuanYe");
        specialities.open();
        specialities.append();
        QCOMPARE(specialities.value(u"DZZ_ID").text(), QStringLiteral("01"));
        specialities.setText(u"ZuanYe", QStringLiteral("软件工程"));
        TDM::applyOrRaise(specialities);
        QCOMPARE(m_server.scalar(QStringLiteral("Select DZZ_ID from Code_ZuanYe where ZuanYe='软件工程'")),
                 QStringLiteral("01"));
    }

    void adHocStatements() {
        auto dm = startedModule();
        QVERIFY(dm);
        dm->ExecSQL(dm->CDS_Temp(), QStringLiteral("Update DZZ_List set DZZ_Type=") +
                                        TDM::quoted(QStringLiteral("党委")) +
                                        QStringLiteral(" where DZZ_ID='01'"));
        QCOMPARE(m_server.scalar(QStringLiteral("Select DZZ_Type from DZZ_List where DZZ_ID='01'")),
                 QStringLiteral("党委"));
        // A quote typed by the user stays inside the literal.
        dm->OpenSQL(dm->CDS_Temp2(), QStringLiteral("Select Count(*) AS N from Stud_DYInfo where Name=") +
                                         TDM::quoted(QStringLiteral("O'Brien' or '1'='1")));
        QCOMPARE(dm->CDS_Temp2().value(u"N"), Value::fromInt(0));
        // Rows are inserted through an empty single-table query.
        RecordSet& temp = dm->CDS_Temp();
        dm->OpenSQL(temp, QStringLiteral("Select * from Stud_DYInfo where DY_ID='-1'"));
        temp.append();
        temp.setText(u"DY_ID", QStringLiteral("X01-000200"));
        temp.setText(u"Name", QStringLiteral("新生"));
        temp.setText(u"ChuShengRQ", QStringLiteral("2005-03-04"));
        QVERIFY_THROWS_EXCEPTION(DataError, temp.setText(u"Sex", QStringLiteral("男女"))); // 4 bytes in 2
        TDM::applyOrRaise(temp);
        QCOMPARE(m_server.scalar(QStringLiteral("Select Name from Stud_DYInfo where DY_ID='X01-000200'")),
                 QStringLiteral("新生"));
        // The code-table fillers walk the set in the server's order.
        QComboBox combo;
        dm->fillCodeCombo(&combo, QStringLiteral("MinZhu"));
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemText(0), QStringLiteral("汉族"));
        QVERIFY(dm->set(u"CDS_MinZhu").eof());
        dm->fillCodeCombo(&combo, QStringLiteral("DangYuanLX"), true);
        QCOMPARE(combo.itemText(0), QStringLiteral("预审"));
        QCOMPARE(combo.count(), 1);
    }

    // A row changed by someone else since it was read: the apply fails, the
    // apply error's text is raised, the bracket shows it and rolls back what was
    // already stored.
    void failedApplyRollsTheBracketBack() {
        auto dm = startedModule();
        QVERIFY(dm);
        exec(QStringLiteral(
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S01-0007','01',1,'旧名')"));
        RecordSet& branches = dm->set(u"CDS_XS_DZB");
        branches.close();
        branches.open();
        QVERIFY(branches.locate(u"ZB_ID", Value::fromText(QStringLiteral("S01-0007"))));
        exec(QStringLiteral("Update DZB_XS set ZB_Name='别人改的' where ZB_ID='S01-0007'"));
        branches.edit();
        branches.setText(u"ZB_Name", QStringLiteral("我改的"));
        try {
            TDM::applyOrRaise(branches);
            QFAIL("a stale row was stored");
        } catch (const EApplyError& e) {
            QCOMPARE(e.message(), QStringLiteral("数据保存时出现错误,数据未能正确保存\n\n请重复操作一次。"));
        }
        QCOMPARE(branches.changeCount(), 1); // still pending

        RecordSet& temp = dm->CDS_Temp();
        const bool ok = dm->inTransaction([&] {
            dm->OpenSQL(temp, QStringLiteral("Select * from Stud_DYInfo where DY_ID='-1'"));
            temp.append();
            temp.setText(u"DY_ID", QStringLiteral("X01-000300"));
            temp.setText(u"Name", QStringLiteral("事务里的人"));
            TDM::applyOrRaise(temp);
            TDM::applyOrRaise(branches); // fails: the bracket ends here
        });
        QVERIFY(!ok);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().first().title, QStringLiteral("事务处理错误"));
        QCOMPARE(m_messages.shown().first().text, applyErrorText());
        QCOMPARE(m_server.scalar(QStringLiteral("Select Count(*) from Stud_DYInfo where DY_ID='X01-000300'")),
                 QStringLiteral("0"));
        // The connection is usable again, outside any transaction.
        QVERIFY(dm->inTransaction(
            [&] { dm->ExecSQL(temp, QStringLiteral("Delete from DZB_XS where ZB_ID='S01-0007'")); }));
        QCOMPARE(m_server.scalar(QStringLiteral("Select Count(*) from DZB_XS where ZB_ID='S01-0007'")),
                 QStringLiteral("0"));
    }

    // Every set of the catalogue opens on the demo records with the
    // parameters the screens give it; the organization-wide sets show the
    // branch's name and the age.
    void everySetOpensOnTheDemoRecords() {
        testing::ServerFixture demo;
        QString error;
        QVERIFY2(demo.start({}, &error, 0), qPrintable(error));
        TDM dm(std::make_unique<SettingsStore>(m_settingsDir.filePath(QStringLiteral("demo.ini"))));
        DirectLogin login(demo.address(), QStringLiteral("admin"), QStringLiteral("demo"), 2026);
        RecordingShell shell;
        QVERIFY2(dm.startUp(login, shell), qPrintable(login.error()));
        const QStringList commandSets = {"CDS_Temp", "CDS_Temp2", "CDS_SQLResult", "CDS_KeepConnection"};
        const std::pair<const char*, QCborValue> given[] = {{"ADZZ_ID", QStringLiteral("01")},
                                                            {"ADZB_ID", QStringLiteral("S01-0001")},
                                                            {"AYear", 2026},
                                                            {"AName", QStringLiteral("admin")},
                                                            {"AUserID", dm.login.UserID},
                                                            {"ATempType", QStringLiteral("XS")},
                                                            {"ATabID", dm.login.StudTabID}};
        int withRows = 0;
        for (RecordSet* set : dm.catalogue().all()) {
            if (commandSets.contains(set->name())) continue;
            for (const auto& [name, value] : given) {
                if (set->param(QString::fromLatin1(name)).isUndefined())
                    set->setParam(QString::fromLatin1(name), value);
            }
            try {
                set->close();
                set->open();
            } catch (const DataError& e) {
                QFAIL(qPrintable(set->name() + QStringLiteral(": ") + e.message()));
            }
            withRows += set->isEmpty() ? 0 : 1;
        }
        QVERIFY2(withRows > 30, qPrintable(QString::number(withRows)));
        for (const char* name : {"CDS_XSXY_ALL", "CDS_ZGXY_ALL"}) {
            RecordSet& all = dm.set(QString::fromLatin1(name));
            QVERIFY(!all.isEmpty());
            const int zb = all.requireField(u"ZB_Name");
            const int age = all.requireField(u"Age");
            for (int r = 0; r < all.rowCount(); ++r) {
                QVERIFY2(!all.displayText(r, zb).isEmpty(), name);
                QVERIFY2(all.value(r, age).isNull() || all.value(r, age).toInt() > 10, name);
            }
        }
        dm.shutDown();
        demo.stop();
    }

    // Last: the server goes away under a logged-in module.
    void lostConnectionIsReported() {
        auto dm = startedModule();
        QVERIFY(dm);
        m_server.stop();
        try {
            dm->OpenSQL(dm->CDS_Temp(), QStringLiteral("Select Count(*) AS N from DZB_XS"));
            QFAIL("no error without a server");
        } catch (const ConnectionError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("连接已断开")), qPrintable(e.message()));
        }
        // Later requests fail at once with the same kind of error.
        QVERIFY_THROWS_EXCEPTION(ConnectionError, dm->CDS_Temp2().open());
        QVERIFY(!dm->connection().isConnected());
    }
};

QTEST_MAIN(TestDataModule)
#include "tst_datamodule.moc"
