// Applies: inserted, changed and deleted rows of a record set reach their table
// atomically, and a row changed by someone else in between is not overwritten.
#include "common/dates.h"
#include "core/apply.h"
#include "db/sqlitedatabase.h"
#include "scratchdatabase.h"
#include "sql/schema.h"

#include <QtTest>

using namespace corvexa;
using Kind = server::RowChange::Kind;

class TestApply : public QObject {
    Q_OBJECT
    sql::Translator m_tr{sql::Schema::standard(), test::backend()};
    std::unique_ptr<test::ScratchDatabase> m_scratch;
    std::unique_ptr<db::Database> m_db;

    QString query(const QString& text) {
        auto r = m_db->run(*m_tr.translate(text));
        if (!r.ok) return QStringLiteral("ERROR ") + r.error;
        QStringList rows;
        for (const auto& row : r.rows) {
            QStringList cells;
            for (const auto& v : row)
                cells << (v.isNull() ? QStringLiteral("NULL")
                          : v.typeId() == QMetaType::QDateTime
                              ? v.toDateTime().toString(QStringLiteral("yyyy-MM-dd"))
                              : v.toString());
            rows << cells.join(u',');
        }
        return rows.join(u'|');
    }
    static server::RowChange insert(QHash<QString, QVariant> values) {
        return {Kind::Insert, std::move(values), {}};
    }

private slots:
    void init() {
        m_db.reset();
        m_scratch = std::make_unique<test::ScratchDatabase>();
        m_db = m_scratch->open();
        QVERIFY2(m_db, qPrintable(m_scratch->error()));
        server::ApplyEngine engine(*m_db, m_tr);
        auto r = engine.apply(
            QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
            {insert({{"ZB_ID", "S05-0001"}, {"DZZ_ID", "05"}, {"ZB_Index", 2}, {"ZB_Name", "第一支部"}}),
             insert({{"ZB_ID", "S05-0002"},
                     {"DZZ_ID", "05"},
                     {"ZB_Index", 3},
                     {"ZB_Name", "第二支部"},
                     {"ZB_HuanJieRQ", dates::makeDateTime(2025, 9, 1)}})});
        QCOMPARE(r.failed, 0);
    }

    void insertUpdateDelete() {
        server::ApplyEngine engine(*m_db, m_tr);
        auto r = engine.apply(
            QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
            {insert({{"ZB_ID", "S05-0003"}, {"DZZ_ID", "05"}, {"ZB_Index", 4}, {"ZB_Name", "第三支部"}}),
             {Kind::Update, {{"ZB_Name", "一支部"}}, {{"ZB_ID", "S05-0001"}, {"ZB_Name", "第一支部"}}},
             {Kind::Delete, {}, {{"ZB_ID", "S05-0002"}}}});
        QCOMPARE(r.failed, 0);
        QCOMPARE(r.insertedSerials.size(), size_t(1));
        QCOMPARE(r.insertedSerials[0], 3); // serials are the server's
        QCOMPARE(query(QStringLiteral("Select SN,ZB_ID,ZB_Name from DZB_XS order by ZB_ID")),
                 QStringLiteral("1,S05-0001,一支部|3,S05-0003,第三支部"));
    }

    // A second session changed the row after this one read it: the stale
    // update fails and the other session's value stays.
    void conflictLosesNothing() {
        server::ApplyEngine engine(*m_db, m_tr);
        QCOMPARE(
            engine
                .apply(
                    QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
                    {{Kind::Update, {{"ZB_Name", "甲"}}, {{"ZB_ID", "S05-0001"}, {"ZB_Name", "第一支部"}}}})
                .failed,
            0);
        auto stale = engine.apply(
            QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
            {{Kind::Update, {{"ZB_Name", "乙"}}, {{"ZB_ID", "S05-0001"}, {"ZB_Name", "第一支部"}}}});
        QCOMPARE(stale.failed, 1);
        QVERIFY(stale.messages.at(0).contains(QStringLiteral("其他用户")));
        auto staleDelete = engine.apply(QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
                                        {{Kind::Delete, {}, {{"ZB_ID", "S05-0009"}}}});
        QCOMPARE(staleDelete.failed, 1);
        QCOMPARE(query(QStringLiteral("Select ZB_Name from DZB_XS where ZB_ID='S05-0001'")),
                 QStringLiteral("甲"));
    }

    // Any failed row leaves the table as it was, and each failure says why.
    void failuresStoreNothing_data() {
        QTest::addColumn<QVariant>("name");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("too wide") << QVariant(QStringLiteral("一二三四五六七八九十一二三四五六")) << "ZB_Name"
                                  << "超出宽度";
        QTest::newRow("required") << QVariant() << "ZB_Name"
                                  << "不能为空";
        QTest::newRow("unknown field") << QVariant(QStringLiteral("x")) << "ZB_Nam"
                                       << "没有字段";
        QTest::newRow("duplicate key") << QVariant(QStringLiteral("S05-0001")) << "ZB_ID"
                                       << "表 DZB_XS 中已有 ZB_ID 相同的记录";
    }
    void failuresStoreNothing() {
        QFETCH(QVariant, name);
        QFETCH(QString, field);
        QFETCH(QString, message);
        server::ApplyEngine engine(*m_db, m_tr);
        QHash<QString, QVariant> bad = {{"ZB_ID", "S05-0004"}, {"DZZ_ID", "05"}, {"ZB_Name", "好"}};
        bad.insert(field, name);
        auto r = engine.apply(QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
                              {insert({{"ZB_ID", "S05-0003"}, {"DZZ_ID", "05"}, {"ZB_Name", "第三支部"}}),
                               {Kind::Update, {{"ZB_Index", 9}}, {{"ZB_ID", "S05-0001"}}},
                               insert(bad)});
        QCOMPARE(r.failed, 1);
        QVERIFY2(r.messages.at(0).startsWith(QStringLiteral("第3行")), qPrintable(r.messages.join(u';')));
        QVERIFY2(r.messages.at(0).contains(message), qPrintable(r.messages.join(u';')));
        QCOMPARE(query(QStringLiteral("Select ZB_ID,ZB_Index from DZB_XS order by ZB_ID")),
                 QStringLiteral("S05-0001,2|S05-0002,3"));
    }

    // Dates and NULL originals take part in matching.
    void datesAndNullsMatch() {
        server::ApplyEngine engine(*m_db, m_tr);
        auto r = engine.apply(QStringLiteral("DZB_XS"), {QStringLiteral("ZB_ID")},
                              {{Kind::Update,
                                {{"ZB_HuanJieRQ", dates::makeDateTime(2026, 9, 1)}, {"ZB_ShuJi", "张三"}},
                                {{"ZB_ID", "S05-0002"},
                                 {"ZB_HuanJieRQ", dates::makeDateTime(2025, 9, 1)},
                                 {"ZB_ShuJi", QVariant()}}}});
        QVERIFY2(r.failed == 0, qPrintable(r.messages.join(u';')));
        QCOMPARE(query(QStringLiteral("Select ZB_HuanJieRQ,ZB_ShuJi from DZB_XS where ZB_ID='S05-0002'")),
                 QStringLiteral("2026-09-01,张三"));
    }
};

QTEST_GUILESS_MAIN(TestApply)
#include "tst_apply.moc"
