// The real server on a free port with a temporary database, spoken to through
// the wire as the desktop program does.
#include "common/blockingclient.h"
#include "common/wire.h"
#include "core/providers.h"
#include "db/database.h"
#include "demo/demodata.h"
#include "scratchdatabase.h"
#include "sql/schema.h"

#include <QCborArray>
#include <QProcess>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/prctl.h>

using namespace corvexa;

namespace {

class Client : public wire::BlockingClient {
public:
    Client() : BlockingClient(5000) {}
    bool connectTo(quint16 port) { return BlockingClient::connectTo(QStringLiteral("127.0.0.1"), port); }
    bool greetAndLogin(const QString& user, const QString& password) {
        return hello() && login(user, password) == u"ok";
    }
};

QCborMap params(std::initializer_list<std::pair<const char*, QCborValue>> list) {
    QCborMap m;
    for (const auto& [k, v] : list)
        m.insert(QString::fromLatin1(k), v);
    return m;
}

QCborMap fields(std::initializer_list<std::pair<const char*, Value>> list) {
    QCborMap m;
    for (const auto& [k, v] : list)
        m.insert(QString::fromLatin1(k), wire::encodeValue(v));
    return m;
}

QCborMap change(const char* kind, QCborMap values, QCborMap original) {
    QCborMap m;
    m.insert(QStringLiteral("kind"), QString::fromLatin1(kind));
    m.insert(QStringLiteral("values"), values);
    m.insert(QStringLiteral("original"), original);
    return m;
}

QStringList column(const wire::Message& rows, const QString& name) {
    auto set = wire::decodeRowSet(rows.body.value(QStringLiteral("rows")));
    QStringList out;
    if (!set)
        return {QStringLiteral("<no rows: %1>").arg(rows.body.value(QStringLiteral("message")).toString())};
    int index = -1;
    for (int i = 0; i < set->columns.size(); ++i) {
        if (set->columns[i].name == name) index = i;
    }
    if (index < 0) return {QStringLiteral("<no column %1>").arg(name)};
    for (const auto& row : set->rows)
        out << row[index].toVariant().toString();
    return out;
}

} // namespace

// Starts corvexa-server on a free loopback port; false when it does not listen.
bool startServer(QProcess& server, const QString& url, quint16& port) {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return false;
    port = probe.serverPort();
    probe.close();
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that crashes takes its server with it, so nothing keeps ctest waiting.
    server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/corvexa-server"),
                 {QStringLiteral("--db"), url, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                  QStringLiteral("--port"), QString::number(port)});
    if (!server.waitForStarted()) return false;
    for (int i = 0; i < 100; ++i) {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (s.waitForConnected(100)) return true;
        QTest::qWait(50);
    }
    return false;
}

class TestServer : public QObject {
    Q_OBJECT
    test::ScratchDatabase m_scratch;
    QProcess m_server;
    quint16 m_port = 0;

    static QString text(const wire::Message& m) { return m.body.value(QStringLiteral("message")).toString(); }

private slots:
    void initTestCase() {
        QVERIFY2(m_scratch.isValid(), qPrintable(m_scratch.error()));
        {
            auto d = m_scratch.open();
            QVERIFY(d);
            sql::Translator tr(sql::Schema::standard(), test::backend());
            const char* rows[] = {
                "Insert into DZZ_Users (UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable) "
                "VALUES "
                "(1,'admin','secret','05',1,1,1)",
                "Insert into DZZ_Users (UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable) "
                "VALUES "
                "(2,'tingyong','demo','05',1,1,0)",
                "Insert into DZZ_Users (UserID,LoginName,LoginPSWD,DZZ_ID,GL_XueSheng,GL_ZhiGong,Usable) "
                "VALUES "
                "(3,'other','demo','06',1,1,1)",
                "Insert into DZZ_List (DZZ_ID,DZZ_Name) VALUES ('05','经济学院党委')",
                "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S05-0002','05',3,'第二支部')",
                "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S05-0001','05',2,'第一支部')",
                "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S06-0001','06',2,'别人的支部')",
            };
            for (const char* r : rows) {
                auto res = d->run(*tr.translate(QString::fromUtf8(r)));
                QVERIFY2(res.ok, qPrintable(res.error));
            }
        }
        QVERIFY2(startServer(m_server, m_scratch.url(), m_port), "server did not start listening");
    }

    void cleanupTestCase() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    void loginAnswers_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("result");
        QTest::newRow("unknown user") << "nobody"
                                      << "secret"
                                      << "unknown-user";
        QTest::newRow("wrong password") << "admin"
                                        << "wrong"
                                        << "wrong-password";
        QTest::newRow("upper case with a trailing blank") << " ADMIN "
                                                          << "SECRET "
                                                          << "ok";
        QTest::newRow("disabled") << "tingyong"
                                  << "DEMO"
                                  << "disabled";
        QTest::newRow("disabled but wrong password") << "tingyong"
                                                     << "x"
                                                     << "wrong-password";
    }
    void loginAnswers() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, result);
        Client c;
        QVERIFY(c.connectTo(m_port));
        QVERIFY(c.hello());
        QCOMPARE(c.login(user, password), result);
        // Nothing else is served until a login succeeds.
        if (result != u"ok")
            QCOMPARE(c.open(QStringLiteral("DSP_XS_DZB"), params({{"ADZZ_ID", "05"}})).kind,
                     QStringLiteral("error"));
    }

    void providersServeOwnOrganization() {
        Client c;
        QVERIFY(c.connectTo(m_port));
        QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        auto branches = c.open(QStringLiteral("dsp_xs_dzb"), params({{"ADZZ_ID", "05"}}));
        QCOMPARE(column(branches, QStringLiteral("ZB_ID")), QStringList({"S05-0001", "S05-0002"}));
        QCOMPARE(branches.body.value(QStringLiteral("table")).toString(), QStringLiteral("DZB_XS"));
        auto other = c.open(QStringLiteral("DSP_XS_DZB"), params({{"ADZZ_ID", "06"}}));
        QCOMPARE(other.kind, QStringLiteral("error"));
        auto me = c.open(QStringLiteral("DSP_DZZUser"), params({{"AName", "admin"}}));
        QCOMPARE(column(me, QStringLiteral("UserID")), QStringList({"1"}));
        QVERIFY(column(me, QStringLiteral("LoginPSWD")).value(0).startsWith(QStringLiteral("<no column")));
        QCOMPARE(c.open(QStringLiteral("DSP_DZZUser"), params({{"AName", "other"}})).kind,
                 QStringLiteral("error"));
        auto peek = c.open(QStringLiteral("DSP_Temp"), {}, QStringLiteral("Select LoginPSWD from DZZ_Users"));
        QCOMPARE(peek.kind, QStringLiteral("error"));
        auto bad = c.open(QStringLiteral("DSP_Temp"), {}, QStringLiteral("Select Nam from Stud_DYInfo"));
        QCOMPARE(bad.kind, QStringLiteral("error"));
        QVERIFY2(text(bad).contains(QStringLiteral("Nam")), qPrintable(text(bad)));
        auto year =
            c.open(QStringLiteral("DSP_Temp"), {}, QStringLiteral("Select Count(*) AS 数量 from DZB_XS"));
        QCOMPARE(column(year, QStringLiteral("数量")), QStringList({"3"}));
    }

    // Columns of the table the changes go to carry their type, width and
    // required flag, so the client can check edits before sending them.
    void rowsDescribeTableFields() {
        Client c;
        QVERIFY(c.connectTo(m_port));
        QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        auto describe = [](const wire::Message& answer, int index) {
            const QCborMap f = answer.body.value(QStringLiteral("fields")).toArray().at(index).toMap();
            return QStringLiteral("%1 %2 %3")
                .arg(f.value(QStringLiteral("type")).toString())
                .arg(f.value(QStringLiteral("width")).toInteger())
                .arg(f.value(QStringLiteral("required")).toBool());
        };
        auto branches = c.open(QStringLiteral("DSP_XS_DZB"), params({{"ADZZ_ID", "05"}}));
        QCOMPARE(describe(branches, 1), QStringLiteral("text 8 1"));   // ZB_ID
        QCOMPARE(describe(branches, 0), QStringLiteral("serial 0 0")); // SN
        auto empty =
            c.open(QStringLiteral("DSP_Temp"), {},
                   QStringLiteral("Select DY_ID, Name, ChuShengRQ from Stud_DYInfo where DY_ID='-1'"));
        QCOMPARE(describe(empty, 1), QStringLiteral("text 10 1"));
        QCOMPARE(describe(empty, 2), QStringLiteral("datetime 0 0"));
        // A computed column is no column of the table.
        auto count =
            c.open(QStringLiteral("DSP_Temp"), {}, QStringLiteral("Select Count(*) AS N from DZB_XS"));
        QCOMPARE(describe(count, 0), QStringLiteral(" 0 0"));
    }

    // Two sessions read the same branch; the second one's stale change fails.
    void conflictingUpdateFails() {
        Client a, b;
        QVERIFY(a.connectTo(m_port) && b.connectTo(m_port));
        QVERIFY(a.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        QVERIFY(b.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        auto original = fields({{"ZB_ID", Value::fromText(QStringLiteral("S05-0002"))},
                                {"ZB_Name", Value::fromText(QStringLiteral("第二支部"))}});
        auto first = a.apply(
            QStringLiteral("DSP_XS_DZB"),
            {change("update", fields({{"ZB_Name", Value::fromText(QStringLiteral("甲支部"))}}), original)},
            params({{"ADZZ_ID", "05"}}));
        QCOMPARE(first.body.value(QStringLiteral("failed")).toInteger(), 0);
        auto second = b.apply(
            QStringLiteral("DSP_XS_DZB"),
            {change("update", fields({{"ZB_Name", Value::fromText(QStringLiteral("乙支部"))}}), original)},
            params({{"ADZZ_ID", "05"}}));
        QCOMPARE(second.body.value(QStringLiteral("failed")).toInteger(), 1);
        QCOMPARE(column(b.open(QStringLiteral("DSP_Temp"), {},
                               QStringLiteral("Select ZB_Name from DZB_XS where ZB_ID='S05-0002'")),
                        QStringLiteral("ZB_Name")),
                 QStringList({"甲支部"}));
        // Another organization's rows are never written.
        auto foreign = a.apply(QStringLiteral("DSP_XS_DZB"),
                               {change("insert",
                                       fields({{"ZB_ID", Value::fromText(QStringLiteral("S06-0009"))},
                                               {"DZZ_ID", Value::fromText(QStringLiteral("06"))},
                                               {"ZB_Name", Value::fromText(QStringLiteral("x"))}}),
                                       {})},
                               params({{"ADZZ_ID", "05"}}));
        QCOMPARE(foreign.kind, QStringLiteral("error"));
    }

    // An empty single-table query serves to insert rows into its table; a
    // query over two tables has no table to store changes in.
    void applyThroughCommandText() {
        Client c;
        QVERIFY(c.connectTo(m_port));
        QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        auto apply = [&](const QString& command, QCborArray changes) {
            QCborMap body;
            body.insert(QStringLiteral("provider"), QStringLiteral("DSP_Temp"));
            body.insert(QStringLiteral("command"), command);
            body.insert(QStringLiteral("changes"), changes);
            return c.request(QStringLiteral("apply"), body);
        };
        auto member =
            fields({{"DY_ID", Value::fromText(QStringLiteral("X05-000001"))},
                    {"Name", Value::fromText(QStringLiteral("张三"))},
                    {"ChuShengRQ", Value::fromDateTime(QDateTime(QDate(2004, 5, 6), QTime(0, 0), Qt::UTC))}});
        auto stored = apply(QStringLiteral("Select * from Stud_DYInfo where DY_ID='-1'"),
                            {change("insert", member, {})});
        QCOMPARE(stored.body.value(QStringLiteral("failed")).toInteger(), 0);
        auto back =
            c.open(QStringLiteral("DSP_Temp"), {},
                   QStringLiteral("Select Name, ChuShengRQ from Stud_DYInfo where DY_ID='X05-000001'"));
        QCOMPARE(column(back, QStringLiteral("ChuShengRQ")), QStringList({"2004-05-06T00:00:00.000Z"}));
        auto joined =
            apply(QStringLiteral("Select A.DY_ID from Stud_DYInfo A, Stud_XianYou B where A.DY_ID=B.DY_ID"),
                  {change("insert", member, {})});
        QCOMPARE(joined.kind, QStringLiteral("error"));
        auto removed =
            apply(QStringLiteral("Select * from Stud_DYInfo where DY_ID='-1'"),
                  {change("delete", {}, fields({{"DY_ID", Value::fromText(QStringLiteral("X05-000001"))}}))});
        QCOMPARE(removed.body.value(QStringLiteral("failed")).toInteger(), 0);
    }

    // A transaction rolled back by the client, and one left open by a client
    // that goes away, leave no trace.
    void transactionsLeaveNoTrace() {
        for (bool disconnect : {false, true}) {
            Client c;
            QVERIFY(c.connectTo(m_port));
            QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
            QCOMPARE(c.call(QStringLiteral("CommitTrans")).kind, QStringLiteral("error")); // unbalanced
            QCOMPARE(c.call(QStringLiteral("BeginTrans")).kind, QStringLiteral("done"));
            QCOMPARE(c.call(QStringLiteral("BeginTrans")).kind, QStringLiteral("error"));
            auto ins = c.apply(QStringLiteral("DSP_XS_DZB"),
                               {change("insert",
                                       fields({{"ZB_ID", Value::fromText(QStringLiteral("S05-0009"))},
                                               {"DZZ_ID", Value::fromText(QStringLiteral("05"))},
                                               {"ZB_Name", Value::fromText(QStringLiteral("临时支部"))}}),
                                       {})},
                               params({{"ADZZ_ID", "05"}}));
            QCOMPARE(ins.body.value(QStringLiteral("failed")).toInteger(), 0);
            if (disconnect) {
                c.socket().disconnectFromHost();
                QTest::qWait(300);
            } else {
                QCOMPARE(c.call(QStringLiteral("RollbackTrans")).kind, QStringLiteral("done"));
            }
            Client check;
            QVERIFY(check.connectTo(m_port));
            QVERIFY(check.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
            QCOMPARE(
                column(check.open(QStringLiteral("DSP_Temp"), {},
                                  QStringLiteral("Select Count(*) AS N from DZB_XS where ZB_ID='S05-0009'")),
                       QStringLiteral("N")),
                QStringList({"0"}));
        }
    }

    // A server killed in the middle of an open transaction leaves none of its
    // writes behind, and no lock: the same row can be written at once.
    void killedServerLeavesNoWrites() {
        QProcess doomed;
        quint16 port = 0;
        QVERIFY(startServer(doomed, m_scratch.url(), port));
        Client c;
        QVERIFY(c.connectTo(port));
        QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        QCOMPARE(c.call(QStringLiteral("BeginTrans")).kind, QStringLiteral("done"));
        const QCborMap branch = fields({{"ZB_ID", Value::fromText(QStringLiteral("S05-0010"))},
                                        {"DZZ_ID", Value::fromText(QStringLiteral("05"))},
                                        {"ZB_Name", Value::fromText(QStringLiteral("将被撤销的支部"))}});
        auto ins = c.apply(QStringLiteral("DSP_XS_DZB"), {change("insert", branch, {})},
                           params({{"ADZZ_ID", "05"}}));
        QCOMPARE(ins.body.value(QStringLiteral("failed")).toInteger(), 0);
        doomed.kill(); // SIGKILL: no rollback from the server itself
        QVERIFY(doomed.waitForFinished(5000));

        Client check;
        QVERIFY(check.connectTo(m_port));
        QVERIFY(check.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        const QString count = QStringLiteral("Select Count(*) AS N from DZB_XS where ZB_ID='S05-0010'");
        QCOMPARE(column(check.open(QStringLiteral("DSP_Temp"), {}, count), QStringLiteral("N")),
                 QStringList({"0"}));
        auto again = check.apply(QStringLiteral("DSP_XS_DZB"), {change("insert", branch, {})},
                                 params({{"ADZZ_ID", "05"}}));
        QCOMPARE(again.body.value(QStringLiteral("failed")).toInteger(), 0);
        auto removed = check.apply(
            QStringLiteral("DSP_XS_DZB"),
            {change("delete", {}, fields({{"ZB_ID", Value::fromText(QStringLiteral("S05-0010"))}}))},
            params({{"ADZZ_ID", "05"}}));
        QCOMPARE(removed.body.value(QStringLiteral("failed")).toInteger(), 0);
    }

    // A connection the database refuses is answered with the reason, not just closed.
    void databaseRefusalIsTold() {
        if (!test::onPostgres()) QSKIP("SQLite opens its file for every connection");
        const QString name = m_scratch.url().section(u'/', -1);
        db::PgDatabase admin;
        QVERIFY(admin.open(test::clusterUrl()));
        QVERIFY(admin.exec(QStringLiteral("ALTER DATABASE \"%1\" ALLOW_CONNECTIONS false").arg(name)));
        Client c;
        QVERIFY(c.connectTo(m_port));
        const wire::Message answer = c.request(QStringLiteral("hello"), {});
        QVERIFY(admin.exec(QStringLiteral("ALTER DATABASE \"%1\" ALLOW_CONNECTIONS true").arg(name)));
        QCOMPARE(answer.kind, QStringLiteral("error"));
        QVERIFY2(text(answer).startsWith(QStringLiteral("服务器无法连接数据库")), qPrintable(text(answer)));
    }

    // Every named provider answers over the wire on the demo records, with
    // values of the types its columns announce.
    void everyProviderOverTheWire() {
        test::ScratchDatabase scratch;
        {
            auto d = scratch.open();
            QVERIFY2(d, qPrintable(scratch.error()));
            QString error;
            QVERIFY2(demo::populate(*d, {0, QDate(2026, 7, 10)}, &error), qPrintable(error));
        }
        QProcess server;
        quint16 port = 0;
        QVERIFY(startServer(server, scratch.url(), port));
        Client c;
        QVERIFY(c.connectTo(port));
        QVERIFY(c.greetAndLogin(QStringLiteral("admin"), QStringLiteral("demo")));
        const auto p = params({{"ADZZ_ID", "01"},
                               {"ADZB_ID", "S01-0001"},
                               {"AYear", 2026},
                               {"AName", "admin"},
                               {"AUserID", 1},
                               {"ATempType", "XS"},
                               {"ATabID", 1}});
        int withRows = 0;
        for (const auto& provider : server::ProviderCatalogue::standard().all()) {
            auto answer = c.open(provider.name, p);
            QVERIFY2(answer.kind == u"rows", qPrintable(provider.name + QStringLiteral(": ") + text(answer)));
            QString error;
            auto set = wire::decodeRowSet(answer.body.value(QStringLiteral("rows")), &error);
            QVERIFY2(set, qPrintable(provider.name + QStringLiteral(": ") + error));
            QVERIFY2(!set->columns.isEmpty(), qPrintable(provider.name));
            withRows += set->rows.isEmpty() ? 0 : 1;
        }
        QVERIFY2(withRows > 40, qPrintable(QString::number(withRows)));
        // The year parameter arrives as a number or as its text.
        auto asText = c.open(QStringLiteral("DSP_XSXZ_LIst"),
                             params({{"ADZZ_ID", "01"}, {"ADZB_ID", "S01-0001"}, {"AYear", "2026"}}));
        auto asNumber = c.open(QStringLiteral("DSP_XSXZ_List"),
                               params({{"ADZZ_ID", "01"}, {"ADZB_ID", "S01-0001"}, {"AYear", 2026}}));
        QCOMPARE(column(asText, QStringLiteral("DY_ID")), column(asNumber, QStringLiteral("DY_ID")));
        QVERIFY(!column(asText, QStringLiteral("DY_ID")).isEmpty());
        server.terminate();
        server.waitForFinished(5000);
    }

    // The command-line client: a header line and tab-separated rows, or the
    // error on stderr with a non-zero exit.
    void commandLineClient_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("out");
        QTest::addColumn<bool>("ok");
        QTest::newRow("rows")
            << "Select ZB_ID, ZB_Name AS 名称, ZB_HuanJieRQ from DZB_XS where ZB_ID='S05-0001'"
            << "ZB_ID\t名称\tZB_HuanJieRQ\nS05-0001\t第一支部\t\n"
            << true;
        QTest::newRow("date") << "Select Max(ZB_ID) AS M, Year(GetDate())-Year(GetDate()) AS Z from DZB_XS"
                              << "M\tZ\nS06-0001\t0\n"
                              << true;
        QTest::newRow("error") << "Select Nothing from DZB_XS"
                               << "" << false;
    }
    void commandLineClient() {
        QFETCH(QString, statement);
        QFETCH(QString, out);
        QFETCH(bool, ok);
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/corvexa-sql"),
                {QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                 QString::number(m_port), QStringLiteral("--user"), QStringLiteral("admin"),
                 QStringLiteral("--password"), QStringLiteral("SECRET"), QStringLiteral("-e"), statement});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode() == 0, ok);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), out);
        if (!ok) QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("Nothing")));
    }

    // A malformed frame closes its own connection; everyone else is served.
    void malformedFrameClosesOnlyItsConnection_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not cbor") << QByteArray::fromHex("00000003ffffff");
        QTest::newRow("too large") << QByteArray::fromHex("7fffffff00");
        QTest::newRow("not a map") << QByteArray::fromHex("0000000101");
        QTest::newRow("unknown kind") << wire::encodeFrame({QStringLiteral("bogus"), 1, {}});
    }
    void malformedFrameClosesOnlyItsConnection() {
        QFETCH(QByteArray, bytes);
        Client good, bad;
        QVERIFY(good.connectTo(m_port) && bad.connectTo(m_port));
        QVERIFY(good.greetAndLogin(QStringLiteral("admin"), QStringLiteral("secret")));
        bad.socket().write(bytes);
        bad.socket().flush();
        QVERIFY(bad.socket().state() == QAbstractSocket::UnconnectedState ||
                bad.socket().waitForDisconnected(5000));
        QCOMPARE(column(good.open(QStringLiteral("DSP_XS_DZB"), params({{"ADZZ_ID", "05"}})),
                        QStringLiteral("ZB_ID"))
                     .size(),
                 2);
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"
