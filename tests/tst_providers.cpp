// The named providers: every one translates, runs with its parameters and
// names a table and key that exist, so applies have somewhere to go.
#include "core/providers.h"
#include "db/sqlitedatabase.h"
#include "scratchdatabase.h"
#include "sql/schema.h"

#include <QtTest>

using namespace corvexa;

class TestProviders : public QObject {
    Q_OBJECT
    sql::Translator m_tr{sql::Schema::standard(), test::backend()};
    test::ScratchDatabase m_scratch;
    std::unique_ptr<db::Database> m_db;

    db::QueryResult run(const QString& text, const std::vector<QVariant>& params = {}) {
        auto t = m_tr.translate(text, {true});
        return m_db->run(*t, params);
    }

private slots:
    void initTestCase() {
        m_db = m_scratch.open();
        QVERIFY2(m_db, qPrintable(m_scratch.error()));
        const char* rows[] = {
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S05-0002','05',3,'第二支部')",
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S05-0001','05',2,'第一支部')",
            "Insert into DZB_XS (ZB_ID,DZZ_ID,ZB_Index,ZB_Name) VALUES ('S06-0001','06',2,'别的组织')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X05-000001','张三')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X05-000002','李四')",
            "Insert into Stud_DYInfo (DY_ID,Name) VALUES ('X05-000003','王五')",
            "Insert into Stud_XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES ('X05-000003','05','S05-0001',1)",
            "Insert into Stud_XianYou (DY_ID,DZZ_ID,DZB_ID,DY_Index) VALUES ('X05-000001','05','S05-0001',2)",
            "Insert into Stud_XianYou (DY_ID,DZZ_ID,DZB_ID) VALUES ('X05-000002','05','S05-0001')",
            "Insert into Stud_XinZen (DY_ID,DZZ_ID,DZB_ID,XinZenRQ,XinZenLX) VALUES "
            "('X05-000001','05','S05-0001','2026-03-01','新发展')",
            "Insert into Stud_XinZen (DY_ID,DZZ_ID,DZB_ID,XinZenRQ,XinZenLX) VALUES "
            "('X05-000002','05','S05-0001','2025-03-01','新发展')",
        };
        for (const char* r : rows) {
            auto res = run(QString::fromUtf8(r));
            QVERIFY2(res.ok, qPrintable(res.error));
        }
    }

    void everyProviderRuns() {
        const auto& catalogue = server::ProviderCatalogue::standard();
        QCOMPARE(catalogue.all().size(), size_t(51));
        for (const auto& p : catalogue.all()) {
            auto t = m_tr.translate(p.statement, {true});
            QVERIFY2(t->ok, qPrintable(p.name + QStringLiteral(": ") + t->error.describe(p.statement)));
            QVERIFY2(t->isQuery, qPrintable(p.name));
            const sql::TableDef* table = sql::Schema::standard().table(p.table);
            QVERIFY2(table, qPrintable(p.name));
            for (const auto& k : p.key)
                QVERIFY2(table->column(k), qPrintable(p.name + QStringLiteral(": key ") + k));
            std::vector<QVariant> params;
            for (const auto& name : t->parameters) {
                QVERIFY2(
                    QStringList({"ADZZ_ID", "ADZB_ID", "AYear", "AName", "AUserID", "ATempType", "ATabID"})
                        .contains(name),
                    qPrintable(p.name + QStringLiteral(": ") + name));
                params.push_back(server::ProviderCatalogue::parameterType(name) == sql::SqlType::Integer
                                     ? QVariant(qint64(2026))
                                     : QVariant(QStringLiteral("05")));
            }
            auto r = m_db->run(*t, params);
            QVERIFY2(r.ok, qPrintable(p.name + QStringLiteral(": ") + r.error));
            for (const auto& c : t->columns)
                QVERIFY2(!c.name.isEmpty(), qPrintable(p.name));
            QVERIFY2(!table->column(QStringLiteral("LoginPSWD")) ||
                         std::none_of(t->columns.begin(), t->columns.end(),
                                      [](const sql::ResultColumn& c) { return c.name == u"LoginPSWD"; }),
                     "the password never leaves the server");
        }
    }

    void namesIgnoreCase() {
        const auto& catalogue = server::ProviderCatalogue::standard();
        QVERIFY(catalogue.find(QStringLiteral("DSP_XSXZ_LIst")));
        QCOMPARE(catalogue.find(QStringLiteral("dsp_xsxz_list")),
                 catalogue.find(QStringLiteral("DSP_XSXZ_List")));
        QVERIFY(!catalogue.find(QStringLiteral("DSP_Nothing")));
        QVERIFY(server::ProviderCatalogue::isCommandProvider(QStringLiteral("dsp_temp2")));
    }

    // Branches in tree order; the roster by position, unplaced members first
    // (an empty position sorts first), then by identifier; journals of one year.
    void orders_data() {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("expected");
        QTest::newRow("branches by index") << "DSP_XS_DZB"
                                           << "S05-0001,S05-0002";
        QTest::newRow("roster by index") << "DSP_XSXY_List"
                                         << "X05-000002,X05-000003,X05-000001";
        QTest::newRow("roster records") << "DSP_XSXY_Info"
                                        << "X05-000002,X05-000003,X05-000001";
        QTest::newRow("added this year") << "DSP_XSXZ_Info"
                                         << "X05-000001";
        QTest::newRow("added list this year") << "DSP_XSXZ_LIst"
                                              << "X05-000001";
    }
    void orders() {
        QFETCH(QString, provider);
        QFETCH(QString, expected);
        const auto* p = server::ProviderCatalogue::standard().find(provider);
        QVERIFY(p);
        auto t = m_tr.translate(p->statement, {true});
        std::vector<QVariant> params;
        for (const auto& name : t->parameters) {
            if (name == u"AYear")
                params.push_back(qint64(2026));
            else if (name == u"ADZB_ID")
                params.push_back(QStringLiteral("S05-0001"));
            else
                params.push_back(QStringLiteral("05"));
        }
        auto r = m_db->run(*t, params);
        QVERIFY2(r.ok, qPrintable(r.error));
        int idColumn = -1;
        for (size_t i = 0; i < r.columns.size(); ++i) {
            if (r.columns[i].name == u"DY_ID" || (idColumn < 0 && r.columns[i].name == u"ZB_ID"))
                idColumn = int(i);
        }
        QVERIFY(idColumn >= 0);
        QStringList ids;
        for (const auto& row : r.rows)
            ids << row[size_t(idColumn)].toString();
        QCOMPARE(ids.join(u','), expected);
    }
};

QTEST_GUILESS_MAIN(TestProviders)
#include "tst_providers.moc"
